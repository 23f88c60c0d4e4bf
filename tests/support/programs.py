"""ft817-sim and the program started from the Python tests, in a scratch folder, and the waits on them."""
import os
import shutil
import signal
import socket
import subprocess
import tempfile
import time


class Failure(Exception):
    pass


def poll(probe, timeout=20.0):
    """Asks `probe` every 0.1 s until it answers something true, which it returns; None after `timeout`."""
    end = time.monotonic() + timeout
    while True:
        try:
            got = probe()
        except Exception:  # an object that went away while looked at: look again
            got = None
        if got or time.monotonic() > end:
            return got or None
        time.sleep(0.1)


def wait_for(what, probe, timeout=20.0):
    """poll(), failing with the name of `what` waited for."""
    got = poll(probe, timeout)
    if got is None:
        raise Failure("timed out waiting for " + what)
    return got


def read(path):
    with open(path) as f:
        return f.read()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def stop(p, timeout=30):
    """Ends `p` with its process group: SIGTERM, then SIGKILL after `timeout`."""
    if p.poll() is not None:
        return
    os.killpg(p.pid, signal.SIGTERM)
    try:
        p.wait(timeout)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.wait()


class Run:
    """A scratch folder (the programs' HOME) and the programs started there, each in a process
    group of its own; all ended and the folder removed when the `with` is left."""

    def __init__(self, prefix):
        self.tmp = tempfile.mkdtemp(prefix=prefix)
        self.env = dict(os.environ, HOME=self.tmp)
        self.procs = []

    def __enter__(self):
        return self

    def __exit__(self, *_):
        for p in reversed(self.procs):
            stop(p, 10)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.tmp, name)

    def start(self, args, **kw):
        p = subprocess.Popen(args, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def sim(self, exe, name, *options):
        """ft817-sim on the pseudo-terminal `name` of the folder; its frame log in `name`.log,
        read by the process's log()."""
        link = self.path(name)
        with open(link + ".log", "w") as log:
            p = self.start([exe, *options, "--log", "--link", link], stdout=log, stderr=subprocess.STDOUT)
        wait_for("the simulator's pseudo-terminal", lambda: os.path.exists(link))
        p.link = link
        p.log = lambda: read(link + ".log")
        return p

    def data(self, link):
        """The program's data folder, its Serial Port 1 the pseudo-terminal `link`."""
        data = self.path("data")
        os.makedirs(data, exist_ok=True)
        with open(os.path.join(data, "serialports.txt"), "w") as f:
            f.write("1\t" + link + "\n")
        return data
