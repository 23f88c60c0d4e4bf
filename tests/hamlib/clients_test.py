#!/usr/bin/python3
"""Hamlib's own clients, run as black boxes against the program and against the simulator.

    clients_test.py KIVO_FT817 FT817_SIM

1. The digital-mode session (digital_session.py) through Hamlib's network client, once against
   the program sharing the radio, once against Hamlib's rigctld driving the simulator with the
   radio's own backend: every call that succeeds there succeeds here, with the same readings.
2. A one-shot `rigctl -m 2 T 1` leaves the radio keyed for the next client.
3. `rigctl -m 1020` straight on the simulator: the toggle and split read back, no frame dropped.

Exits 77 (skipped) when Hamlib's clients are not installed.
"""
import os
import shutil
import socket
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from programs import Run, free_port, poll, stop  # noqa: E402

PYTHON = "/usr/bin/python3"
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what, flush=True)
    if not ok:
        failures.append(what)


def serving(port):
    """True once a server takes a connection on `port` (which then says goodbye)."""
    with socket.socket() as s:
        if s.connect_ex(("127.0.0.1", port)) != 0:
            return False
        s.sendall(b"q\n")
        return True


def session(port):
    """The digital-mode session through the network client: (call, status, what it read) each."""
    out = subprocess.run([PYTHON, os.path.join(HERE, "digital_session.py"), f"127.0.0.1:{port}"],
                         capture_output=True, text=True, timeout=120).stdout
    return [(w[0], int(w[1]), w[2:]) for w in (line.split() for line in out.splitlines())]


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
    with Run("kivo-hamlib-") as run:
        # The reference: rigctld with the radio's own backend on the simulator.
        ref_sim, ref_port = run.sim(sim_exe, "ref-radio"), free_port()
        rigctld = run.start(["rigctld", "-m", "1020", "-r", ref_sim.link, "-s", "9600", "-t", str(ref_port)], **QUIET)
        check(poll(lambda: serving(ref_port)), "rigctld serves the simulator")
        time.sleep(1)
        ref = session(ref_port)
        stop(rigctld)
        stop(ref_sim)

        # The program on its own simulator, its first start's questions answered by a screenshot run.
        env, data = dict(run.env, QT_QPA_PLATFORM="offscreen"), run.path("data")
        subprocess.run([kivo, "--simulate", "--data-dir", data, "--screenshot", run.path("first.png")], env=env,
                       timeout=60, capture_output=True)
        sim, port = run.sim(sim_exe, "radio"), free_port()
        run.data(sim.link)
        program = run.start([kivo, "--power", f"--share-radio=127.0.0.1:{port}", "--data-dir", data], env=env, **QUIET)
        check(poll(lambda: serving(port)), "the program shares the radio")
        time.sleep(2)  # POWER on: the radio read and set up
        ours = session(port)

        check(len(ours) == len(ref) and len(ref) > 20, f"both sessions ran every call ({len(ref)}, {len(ours)})")
        for (name, ref_status, ref_values), (_, status, values) in zip(ref, ours):
            check(status == 0 or ref_status != 0, f"{name}: {status} here, {ref_status} on the reference")
            r = reading(name, ref_values)
            if r is not None and ref_status == 0:
                check(reading(name, values) == r, f"{name} reads {values}, the reference {ref_values}")

        # One-shot clients: a transmitter keyed by a client that said goodbye stays keyed.
        net = ["-m", "2", "-r", f"127.0.0.1:{port}"]
        check(rigctl(*net, "T", "1").returncode == 0, "a one-shot client keys")
        check(rigctl(*net, "t").stdout.strip() == "1", "the next client reads PTT on")
        check(rigctl(*net, "T", "0").returncode == 0, "and unkeys")
        stop(program)
        stop(sim)
        log = sim.log()
        check(log.rfind("PTT off") > log.rfind("PTT on"), "the radio's last PTT command is off")
        check("(dropped)" not in log, "the program dropped no frame")

        # Hamlib's own backend straight on the simulator; without its 0.5 s cache, so that every
        # read asks the radio.
        direct = run.sim(sim_exe, "direct")
        out = rigctl("-m", "1020", "-r", direct.link, "-s", "9600", "-C", "cache_timeout=0",
                     *"G TOGGLE v G TOGGLE v S 1 VFOB s S 0 VFOA s".split(), timeout=60)
        stop(direct)
        lines = out.stdout.split()
        check(lines == ["VFOB", "VFOA", "1", "VFOB", "0", "VFOA"], f"rigctl -m 1020 reads back {lines}")
        check(out.returncode == 0, f"rigctl -m 1020 succeeds ({out.stderr.strip()})")
        check("(dropped)" not in direct.log(), "no frame dropped on the simulator")
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
