#!/usr/bin/python3
"""Hamlib's own clients, run as black boxes against the program and against the simulator.

    clients_test.py KIVO_FT817 FT817_SIM

1. The digital-mode session (digital_session.py) through Hamlib's network client, once against
   the program sharing the radio, once against Hamlib's rigctld driving the simulator with the
   radio's own backend: every call that succeeds there succeeds here, with the same readings.
2. A one-shot `rigctl -m 2 T 1` leaves the radio keyed for the next client; a client killed
   while keyed unkeys it.
3. `rigctl -m 1020` straight on the simulator: the toggle and split read back, no frame dropped.

Exits 77 (skipped) when Hamlib's clients are not installed.
"""
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION = os.path.join(HERE, "digital_session.py")
PYTHON = "/usr/bin/python3"
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_listening(port, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                s.sendall(b"q\n")
                return True
        time.sleep(0.2)
    return False


class Sim:
    """ft817-sim on a pseudo-terminal with its frame log."""

    def __init__(self, exe, tmp, name):
        self.link = os.path.join(tmp, name)
        self.log_path = self.link + ".log"
        self.proc = subprocess.Popen([exe, "--log", "--link", self.link], stdout=open(self.log_path, "w"))
        for _ in range(100):
            if os.path.exists(self.link):
                break
            time.sleep(0.05)

    def log(self):
        with open(self.log_path) as f:
            return f.read()

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


def session(path):
    out = subprocess.run([PYTHON, SESSION, "2", path], capture_output=True, text=True, timeout=120).stdout
    calls = []
    for line in out.splitlines():
        words = line.split()
        calls.append((words[0], int(words[1]), words[2:]))
    return calls


def rigctl(*args, timeout=30):
    return subprocess.run(["rigctl", *args], capture_output=True, text=True, timeout=timeout)


def reading(name, values):
    """What must agree between the two servers: mode names, frequencies, PTT, the meter."""
    if name in ("get_mode", "get_split_mode"):
        return values[:1]
    if name in ("get_freq", "get_split_freq", "get_ptt", "strength"):
        return values
    return None  # a set, or a reading after the toggles (the reference's own cache answers those)


def main():
    kivo, sim_exe = sys.argv[1], sys.argv[2]
    if not shutil.which("rigctld") or subprocess.run([PYTHON, "-c", "import Hamlib"]).returncode != 0:
        print("Hamlib's clients are not installed (libhamlib-utils, python3-hamlib)")
        return 77
    tmp = tempfile.mkdtemp(prefix="kivo-hamlib-")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=tmp)
    procs = []
    try:
        # The reference: rigctld with the radio's own backend on the simulator.
        ref_sim = Sim(sim_exe, tmp, "ref-radio")
        ref_port = free_port()
        rigctld = subprocess.Popen(["rigctld", "-m", "1020", "-r", ref_sim.link, "-s", "9600", "-t", str(ref_port)],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(rigctld)
        check(wait_listening(ref_port), "rigctld serves the simulator")
        time.sleep(1)
        ref = session(f"127.0.0.1:{ref_port}")
        rigctld.terminate()
        ref_sim.stop()

        # The program on its own simulator, its first start's questions answered by a screenshot run.
        data = os.path.join(tmp, "data")
        subprocess.run([kivo, "--simulate", "--data-dir", data, "--screenshot", os.path.join(tmp, "first.png")],
                       env=env, timeout=60, capture_output=True)
        sim = Sim(sim_exe, tmp, "radio")
        with open(os.path.join(data, "serialports.txt"), "w") as f:
            f.write(f"1\t{sim.link}\n")
        port = free_port()
        program = subprocess.Popen([kivo, "--power", f"--share-radio=127.0.0.1:{port}", "--data-dir", data], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        procs.append(program)
        check(wait_listening(port), "the program shares the radio")
        time.sleep(2)  # POWER on: the radio read and set up
        ours = session(f"127.0.0.1:{port}")

        check(len(ours) == len(ref) and len(ref) > 20, f"both sessions ran every call ({len(ref)}, {len(ours)})")
        for (name, ref_status, ref_values), (_, status, values) in zip(ref, ours):
            check(status == 0 or ref_status != 0, f"{name}: {status} here, {ref_status} on the reference")
            r = reading(name, ref_values)
            if r is not None and ref_status == 0:
                check(reading(name, values) == r, f"{name} reads {values}, the reference {ref_values}")

        # One-shot clients: a transmitter keyed by a client that said goodbye stays keyed.
        address = f"127.0.0.1:{port}"
        check(rigctl("-m", "2", "-r", address, "T", "1").returncode == 0, "a one-shot client keys")
        check(rigctl("-m", "2", "-r", address, "t").stdout.strip() == "1", "the next client reads PTT on")
        check(rigctl("-m", "2", "-r", address, "T", "0").returncode == 0, "and unkeys")
        # A client killed while it holds the transmitter: the program unkeys it.
        held = subprocess.Popen(["rigctl", "-m", "2", "-r", address], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                text=True)
        held.stdin.write("T 1\n")
        held.stdin.flush()
        keyed = False
        for _ in range(50):
            time.sleep(0.2)
            if rigctl("-m", "2", "-r", address, "t").stdout.strip() == "1":
                keyed = True
                break
        check(keyed, "an interactive client keys")
        held.send_signal(signal.SIGKILL)
        held.wait()
        time.sleep(1)
        check(rigctl("-m", "2", "-r", address, "t").stdout.strip() == "0", "killed while keyed, it is unkeyed")
        program.terminate()
        program.wait(30)
        sim.stop()
        log = sim.log()
        check(log.rfind("PTT off") > log.rfind("PTT on"), "the radio's last PTT command is off")
        check("(dropped)" not in log, "the program dropped no frame")

        # Hamlib's own backend straight on the simulator; without its 0.5 s cache, so that every
        # read asks the radio.
        direct = Sim(sim_exe, tmp, "direct")
        out = rigctl("-m", "1020", "-r", direct.link, "-s", "9600", "-C", "cache_timeout=0", "G", "TOGGLE", "v", "G",
                     "TOGGLE", "v", "S", "1", "VFOB", "s", "S", "0", "VFOA", "s", timeout=60)
        direct.stop()
        lines = out.stdout.split()
        check(lines == ["VFOB", "VFOA", "1", "VFOB", "0", "VFOA"], f"rigctl -m 1020 reads back {lines}")
        check(out.returncode == 0, f"rigctl -m 1020 succeeds ({out.stderr.strip()})")
        check("(dropped)" not in direct.log(), "no frame dropped on the simulator")
    finally:
        for p in procs:
            if p.poll() is None:
                p.kill()
        shutil.rmtree(tmp, ignore_errors=True)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
