#!/usr/bin/python3
"""The panel as a screen reader reaches it: the program under Xvfb with the desktop's
accessibility bus, walked from the desktop side with pyatspi. Starts the simulator on a
pseudo-terminal with its log, answers the first start's messages, picks the simulator's port
in the Settings menu, presses POWER, then finds every front-panel key by name, reads the
frequency display, presses the USB key (the simulator must log "set mode USB") and turns the
main knob one detent (the display, its name and the knob must read one step higher). Opens the
band scope, the help viewer and the memory manager, and prints the tree's size per window.

Usage: atspi_panel_test.py PROGRAM SIMULATOR
Exit 77 (skipped) when the accessibility bus, pyatspi, Xvfb or dbus-run-session are missing.
"""

import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from programs import Failure, Run, wait_for  # noqa: E402

try:
    import pyatspi
except ImportError:
    pyatspi = None

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# Keys a reader finds by these words.
WORDED = ("Power", "VFO or memory", "A to B", "Swap A and B", "Band up", "Band down", "Mode USB",
          "Band 144 megahertz", "Megahertz up", "Step down", "Decimal point")


def main():
    missing = [tool for tool in ("Xvfb", "dbus-run-session") if shutil.which(tool) is None]
    missing += [] if os.access(LAUNCHER, os.X_OK) else ["at-spi2-core"]
    missing += [] if pyatspi else ["python3-pyatspi"]
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        return 77
    if os.environ.get("KIVO_ATSPI_SESSION") != "1":
        # A session bus of our own, so nothing of the desktop (or another test) is in the way.
        return subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv,
                               env=dict(os.environ, KIVO_ATSPI_SESSION="1"))
    with Run("kivo-atspi-") as run:
        try:
            check(start(run, sys.argv[1], sys.argv[2]))
        except Failure as f:
            print("FAILED: " + str(f))
            return 1
    return 0


def start(run, program, simulator):
    """The accessibility bus (its own bus daemon in its process group), Xvfb, the simulator on
    Serial Port 1 and the program; returns the simulator."""
    run.start([LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    read, write = os.pipe()
    run.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        display = f.readline().strip()
    if not display:
        raise Failure("Xvfb did not start")
    sim = run.sim(simulator, "radio", "--ideal")
    env = dict(run.env, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    with open(run.path("app.log"), "w") as log:
        run.start([program, "--data-dir", run.data(sim.link)], env=env, stdout=log, stderr=subprocess.STDOUT)
    return sim


# The program's objects, as the desktop sees them.
def find(root, pred=lambda o: True):
    """`root` and every object under it that `pred` takes."""
    if root is None:
        return []
    return [root] * bool(pred(root)) + [o for i in range(root.childCount) for o in find(root.getChildAtIndex(i), pred)]


def named(root, role, name):
    return next(iter(find(root, lambda o: o.getRoleName() == role and o.name == name)), None)


def has(obj, state):
    return obj.getState().contains(state)


def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    app = next((a for a in map(desktop.getChildAtIndex, range(desktop.childCount)) if a and a.name == "KIVO FT-817"),
               None)
    return [app.getChildAtIndex(i) for i in range(app.childCount)] if app else []


def window(start):
    """The shown window whose name begins with `start`."""
    return next((w for w in windows() if w.name.startswith(start) and has(w, pyatspi.STATE_SHOWING)), None)


def main_frame():
    return next((w for w in windows() if w.getRoleName() == "frame" and has(w, pyatspi.STATE_SHOWING)
                 and any(w.getChildAtIndex(i).getRoleName() == "menu bar" for i in range(w.childCount))), None)


def press(obj, action="Press"):
    act = obj.queryAction()
    names = [act.getName(i) for i in range(act.nActions)]
    if action not in names:
        raise Failure("%s %r has no %s action (it has %s)" % (obj.getRoleName(), obj.name, action, names))
    act.doAction(names.index(action))


def press_opening_modal(obj):
    """A press that opens a modal window answers only when the window closes: the press goes
    out, and the wait for its answer is cut short."""
    from gi.repository import Atspi, GLib
    Atspi.set_timeout(1000, -1)
    try:
        press(obj)
    except GLib.GError:
        pass
    finally:
        Atspi.set_timeout(25000, -1)


def wait_window(what, probe, timeout=30):
    """Waits for `probe`, pressing OK in each message box a first use shows on the way."""
    def step():
        for w in windows():
            alert = w.getRoleName() == "alert" and has(w, pyatspi.STATE_SHOWING)
            ok = named(w, "push button", "OK") if alert else None
            if ok is not None:
                print("answered the message %r" % w.name)
                press(ok)
                return None
        return probe()
    return wait_for(what, step, timeout)


def menu_item(root, *path):
    for name in path:
        found = find(root, lambda o: o.getRoleName() == "menu item" and (o.name + "\t").startswith(name + "\t"))
        if not found:
            names = [o.name for o in find(root, lambda o: o.getRoleName() == "menu item")]
            raise Failure("no menu entry " + " > ".join(path) + " among " + repr(names))
        root = found[0]
    return root


def text_of(obj):
    return obj.queryText().getText(0, -1)


def mhz(shown):
    whole, khz, hz = shown.split(".")
    return float(whole + "." + khz + hz)


def said(name):
    """The frequency a display's name says in words ("144.200 megahertz"), or None."""
    return float(name.split()[0]) if re.match(r"^\d*\.\d+ megahertz$", name) else None


def check(sim):
    frame = wait_window("the main window", main_frame)
    press(menu_item(frame, "Settings", "Serial Port", "1"))
    press(wait_for("the Power key", lambda: named(frame, "push button", "Power")))
    usb = wait_for("the USB key to take a press", lambda: next(
        (k for k in find(frame, lambda o: o.getRoleName() == "push button" and o.name == "Mode USB")
         if has(k, pyatspi.STATE_SENSITIVE)), None))

    # Every key of the front panel, by a name in words that no other key has.
    names = [k.name for k in find(frame, lambda o: o.getRoleName() == "push button")]
    odd = [n for n in names if not re.match(r"^[A-Z][A-Za-z0-9 .,]*$", n)]
    twice = sorted({n for n in names if names.count(n) > 1})
    absent = [n for n in WORDED if n not in names]
    if len(names) != 51 or odd or twice or absent:
        raise Failure("%d keys on the panel (51 wanted): %s; not in words: %r; sharing a name: %r; missing: %r"
                      % (len(names), names, odd, twice, absent))

    # The frequency display: its text as shown, its name the same frequency in words.
    freq = next(iter(find(frame, lambda o: o.getRoleName() == "label" and o.description == "Frequency")), None)
    if freq is None:
        raise Failure("no display described as 'Frequency'")
    shown = text_of(freq)
    if not re.match(r"^\d+\.\d{3}\.\d{2}$", shown) or said(freq.name) != mhz(shown):
        raise Failure("the frequency display shows %r and is named %r" % (shown, freq.name))
    print("frequency display: %r, named %r" % (shown, freq.name))

    # The USB key pressed through its action: the radio is told.
    press(usb)
    wait_for("the simulator to receive the mode", lambda: "set mode USB" in sim.log())
    print("USB pressed: the simulator logged \"set mode USB\"")

    # One detent of the main knob through its increase action: the display reads one step on.
    knob = named(frame, "dial", "Main tuning knob")
    press(knob, "Increase")
    after = wait_for("the frequency to move", lambda: text_of(freq) if text_of(freq) != shown else None)
    if not mhz(after) > mhz(shown):
        raise Failure("the knob turned up, the display went from %s to %s" % (shown, after))
    wait_for("the display's name to follow", lambda: said(freq.name) == mhz(after))
    wait_for("the knob's value to follow", lambda: abs(knob.queryValue().currentValue - mhz(after)) < 1e-6)
    wait_for("the simulator to be tuned there", lambda: "set frequency %s MHz" % after in sim.log())
    print("main knob up one detent: %s -> %s, the simulator tuned there" % (shown, after))

    # The other windows on the bus: the band scope, the help viewer and the memory manager.
    sizes = [("main window, lit", len(find(frame)))]
    press(named(frame, "push button", "Band scope"))
    scope = wait_window("the band scope", lambda: window("Band Scope"))
    sizes.append(("band scope", len(find(scope))))
    press(menu_item(scope, "File", "Exit"))
    wait_for("the band scope to close", lambda: window("Band Scope") is None)
    press(menu_item(frame, "Help", "Contents"))
    sizes.append(("help viewer", len(find(wait_window("the help viewer", lambda: window("KIVO FT-817 Help"))))))
    press_opening_modal(menu_item(frame, "Memory", "Manager..."))
    manager = wait_window("the memory manager", lambda: window("Memory Manager"))
    sizes.append(("memory manager", len(find(manager))))
    press(named(manager, "push button", "CANCEL"))
    for what, n in sizes:
        print("accessible objects in the %s: %d" % (what, n))


if __name__ == "__main__":
    sys.exit(main())
