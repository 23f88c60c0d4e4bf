"""ft817-sim and the program started from the Python tests in a scratch folder, and the waits on them."""
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
    """What `probe`, asked every 0.1 s, first answers that is true; None after `timeout`."""
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
    got = poll(probe, timeout)
    if got is None:
        raise Failure("timed out waiting for " + what)
    return got


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def stop(p, timeout=30):
    """Ends `p` with its process group: SIGTERM, then SIGKILL after `timeout`."""
    if p.poll() is None:
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
        self.procs.append(subprocess.Popen(args, start_new_session=True, **kw))
        return self.procs[-1]

    def sim(self, exe, name, *options):
        """ft817-sim on the pseudo-terminal `name`, its frame log read by the process's log()."""
        p = self.start([exe, *options, "--log", "--link", self.path(name)], stdout=open(self.path(name + ".log"), "w"),
                       stderr=subprocess.STDOUT)
        p.link = wait_for("the simulator's pseudo-terminal", lambda: os.path.exists(self.path(name)) and self.path(name))
        p.log = lambda: open(p.link + ".log").read()
        return p

    def data(self, link):
        """The program's data folder, its Serial Port 1 the pseudo-terminal `link`."""
        os.makedirs(self.path("data"), exist_ok=True)
        with open(self.path("data/serialports.txt"), "w") as f:
            f.write("1\t" + link + "\n")
        return self.path("data")
