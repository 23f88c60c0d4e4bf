#!/usr/bin/python3
"""The panel as a screen reader reaches it: the program under Xvfb with the desktop's
accessibility bus, walked from the desktop side with pyatspi. Starts the simulator on a
pseudo-terminal with its log, answers the first start's messages, picks the simulator's port
in the Settings menu, presses POWER, then finds every front-panel key by name, reads the
frequency display, presses the USB key (the simulator must log "set mode USB") and turns the
main knob one detent (the display must read one step higher). Prints the tree's size per window.

Usage: atspi_panel_test.py PROGRAM SIMULATOR [--dump]
Exit 77 (skipped) when the accessibility bus, pyatspi, Xvfb or dbus-run-session are missing.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(why):
    print("skipped: " + why)
    sys.exit(SKIP)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    for tool in ("Xvfb", "dbus-run-session"):
        if shutil.which(tool) is None:
            skip(tool + " is not installed")
    if not os.access(LAUNCHER, os.X_OK):
        skip("at-spi2-core is not installed")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("python3-pyatspi is not installed")
    if os.environ.get("KIVO_ATSPI_SESSION") != "1":
        # A session bus of our own, so nothing of the desktop (or another test) is in the way.
        env = dict(os.environ, KIVO_ATSPI_SESSION="1")
        return subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv, env=env)
    return Session(sys.argv[1], sys.argv[2], "--dump" in sys.argv).run()


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=20.0):
    """Polls `probe` until it returns something true; fails naming `what` after `timeout`."""
    end = time.monotonic() + timeout
    while True:
        try:
            got = probe()
        except Exception:  # an object that went away while looked at: look again
            got = None
        if got:
            return got
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)


class Session:
    def __init__(self, program, simulator, dump):
        self.program = program
        self.simulator = simulator
        self.dump = dump
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="kivo-atspi-")

    def start(self, args, **kw):
        p = subprocess.Popen(args, start_new_session=True, **kw)
        self.procs.append(p)
        return p

    def stop_all(self):
        for p in reversed(self.procs):
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for p in reversed(self.procs):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()

    def run(self):
        try:
            self.start_everything()
            return self.check()
        except Failure as f:
            print("FAILED: " + str(f))
            return 1
        finally:
            self.stop_all()
            shutil.rmtree(self.tmp, ignore_errors=True)

    def start_everything(self):
        # The accessibility bus, in its own process group: its own bus daemon goes with it.
        self.start([LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                   pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            display = f.readline().strip()
        if not display:
            raise Failure("Xvfb did not start")
        link = os.path.join(self.tmp, "radio")
        self.sim_log = open(os.path.join(self.tmp, "sim.log"), "w+")
        self.start([self.simulator, "--ideal", "--log", "--link", link], stdout=self.sim_log,
                   stderr=subprocess.STDOUT)
        wait_for("the simulator's pseudo-terminal", lambda: os.path.exists(link))
        data = os.path.join(self.tmp, "data")
        os.mkdir(data)
        # Serial Port 1 is the simulator.
        with open(os.path.join(data, "serialports.txt"), "w") as f:
            f.write("1\t" + link + "\n")
        env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   HOME=self.tmp)
        self.app_log = open(os.path.join(self.tmp, "app.log"), "w+")
        self.start([self.program, "--data-dir", data], env=env, stdout=self.app_log, stderr=subprocess.STDOUT)

    # The program's objects, as the desktop sees them.
    def app(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and a.name == "KIVO FT-817":
                return a
        return None

    def windows(self):
        a = self.app()
        return [a.getChildAtIndex(i) for i in range(a.childCount)] if a else []

    def find(self, root, pred):
        out = []

        def walk(o):
            if o is None:
                return
            if pred(o):
                out.append(o)
            for i in range(o.childCount):
                walk(o.getChildAtIndex(i))

        walk(root)
        return out

    def find_named(self, root, role, name):
        found = self.find(root, lambda o: o.getRoleName() == role and o.name == name)
        return found[0] if found else None

    def main_frame(self):
        for w in self.windows():
            if w.getRoleName() == "frame" and any(w.getChildAtIndex(i).getRoleName() == "menu bar"
                                                  for i in range(w.childCount)):
                return w
        return None

    def press(self, obj, action="Press"):
        act = obj.queryAction()
        names = [act.getName(i) for i in range(act.nActions)]
        if action not in names:
            raise Failure("%s %r has no %s action (it has %s)" % (obj.getRoleName(), obj.name, action, names))
        act.doAction(names.index(action))

    def press_opening_modal(self, obj):
        """A press that opens a modal window answers only when the window closes: the press goes
        out, and the wait for its answer is cut short."""
        from gi.repository import Atspi, GLib
        Atspi.set_timeout(1000, -1)
        try:
            self.press(obj)
        except GLib.GError:
            pass
        finally:
            Atspi.set_timeout(25000, -1)

    def showing(self, obj):
        import pyatspi
        return obj.getState().contains(pyatspi.STATE_SHOWING)

    def wait_window(self, what, probe, timeout=30):
        """Waits for `probe`, pressing OK in each message box a first use shows on the way."""
        def step():
            for w in self.windows():
                if w.getRoleName() == "alert" and self.showing(w):
                    ok = self.find_named(w, "push button", "OK")
                    if ok is not None:
                        print("answered the message %r" % w.name)
                        self.press(ok)
                        return None
            return probe()
        return wait_for(what, step, timeout)

    def answer_messages(self):
        def shown():
            frame = self.main_frame()
            return frame if frame is not None and self.showing(frame) else None
        return self.wait_window("the main window", shown)

    def menu_item(self, frame, *path):
        item = frame
        for name in path:
            found = self.find(item, lambda o: o.getRoleName() == "menu item" and (o.name == name or o.name.startswith(name + "\t")))
            if not found:
                names = [o.name for o in self.find(item, lambda o: o.getRoleName() == "menu item")]
                raise Failure("no menu entry " + " > ".join(path) + " among " + repr(names))
            item = found[0]
        return item

    def text_of(self, obj):
        t = obj.queryText()
        return t.getText(0, -1)

    def count_objects(self, root):
        return len(self.find(root, lambda o: True))

    def check(self):
        frame = self.answer_messages()
        self.press(self.menu_item(frame, "Settings", "Serial Port", "1"))
        self.press(wait_for("the Power key", lambda: self.find_named(frame, "push button", "Power")))
        usb = wait_for("the USB key to take a press",
                       lambda: next((k for k in self.find(frame, lambda o: o.getRoleName() == "push button"
                                                          and o.name == "Mode USB") if self.sensitive(k)), None))

        # Every key of the front panel, by a name in words that no other key has.
        keys = self.find(frame, lambda o: o.getRoleName() == "push button")
        names = [k.name for k in keys]
        if len(keys) != 51:
            raise Failure("%d keys on the panel, not 51: %s" % (len(keys), names))
        worded = re.compile(r"^[A-Z][A-Za-z0-9 .,]*$")
        odd = [n for n in names if not worded.match(n)]
        if odd:
            raise Failure("keys not named in words: %r" % odd)
        twice = sorted({n for n in names if names.count(n) > 1})
        if twice:
            raise Failure("keys sharing a name: %r" % twice)
        for name in ("Power", "VFO or memory", "A to B", "Swap A and B", "Band up", "Band down", "Mode USB",
                     "Band 144 megahertz", "Megahertz up", "Step down", "Decimal point"):
            if name not in names:
                raise Failure("no key named %r" % name)

        # The frequency display: its text as shown, its name in words.
        freq = self.display(frame, "Frequency")
        shown = self.text_of(freq)
        match = re.match(r"^(\d+)\.(\d{3})\.(\d{2})$", shown)
        if not match:
            raise Failure("the frequency display shows %r" % shown)
        if freq.name != self.words(shown):
            raise Failure("the frequency display %r is named %r, not %r" % (shown, freq.name, self.words(shown)))
        print("frequency display: %r, named %r" % (shown, freq.name))

        # The USB key pressed through its action: the radio is told.
        self.press(usb)
        wait_for("the simulator to receive the mode", lambda: "set mode USB" in self.log())
        print("USB pressed: the simulator logged \"set mode USB\"")

        # One detent of the main knob through its increase action: the display reads one step on.
        knob = self.find_named(frame, "dial", "Main tuning knob")
        before = self.mhz(shown)
        self.press(knob, "Increase")
        after = wait_for("the frequency to move", lambda: self.text_of(freq) if self.text_of(freq) != shown else None)
        if not self.mhz(after) > before:
            raise Failure("the knob turned up, the display went from %s to %s" % (shown, after))
        wait_for("the display's name to follow", lambda: freq.name == self.words(after))
        wait_for("the knob's value to follow", lambda: abs(knob.queryValue().currentValue - self.mhz(after)) < 1e-6)
        wait_for("the simulator to be tuned there", lambda: "set frequency %s MHz" % after in self.log())
        print("main knob up one detent: %s -> %s, the simulator tuned there" % (shown, after))

        sizes = [("main window, lit", self.count_objects(frame))]
        sizes += self.other_windows(frame)
        for what, n in sizes:
            print("accessible objects in the %s: %d" % (what, n))
        if self.dump:
            self.print_tree()
        return 0

    def other_windows(self, frame):
        """Opens the band scope, the help viewer and the memory manager, counts each, closes it."""
        sizes = []
        self.press(self.find_named(frame, "push button", "Band scope"))
        scope = self.wait_window("the band scope", lambda: self.window_named("Band Scope"))
        sizes.append(("band scope", self.count_objects(scope)))
        self.press(self.menu_item(scope, "File", "Exit"))
        wait_for("the band scope to close", lambda: not self.showing_window("Band Scope"))

        self.press(self.menu_item(frame, "Help", "Contents"))
        help_window = self.wait_window("the help viewer", lambda: self.window_named("KIVO FT-817 Help"))
        sizes.append(("help viewer", self.count_objects(help_window)))

        self.press_opening_modal(self.menu_item(frame, "Memory", "Manager..."))
        manager = self.wait_window("the memory manager", lambda: self.window_named("Memory Manager"))
        sizes.append(("memory manager", self.count_objects(manager)))
        self.press(self.find_named(manager, "push button", "CANCEL"))
        return sizes

    def window_named(self, start):
        for w in self.windows():
            if w.name.startswith(start) and self.showing(w):
                return w
        return None

    def showing_window(self, start):
        return self.window_named(start) is not None

    def sensitive(self, obj):
        import pyatspi
        return obj.getState().contains(pyatspi.STATE_SENSITIVE)

    def display(self, frame, what):
        found = self.find(frame, lambda o: o.getRoleName() == "label" and o.description == what)
        if not found:
            raise Failure("no display described as %r" % what)
        return found[0]

    @staticmethod
    def mhz(shown):
        whole, khz, hz = shown.split(".")
        return float(whole + "." + khz + hz)

    @staticmethod
    def words(shown):
        """How a reader is to say a shown frequency: "144.200.00" is "144.200 megahertz"."""
        whole, khz, hz = shown.split(".")
        decimals = (khz + hz).rstrip("0").ljust(3, "0")
        return "%s.%s megahertz" % (whole or "0", decimals)

    def log(self):
        self.sim_log.flush()
        with open(self.sim_log.name) as f:
            return f.read()

    def print_tree(self):
        def walk(o, depth):
            if o is None:
                return
            extra = ""
            try:
                extra += " text=%r" % self.text_of(o)
            except Exception:
                pass
            try:
                extra += " value=%r" % o.queryValue().currentValue
            except Exception:
                pass
            try:
                a = o.queryAction()
                extra += " actions=%s" % [a.getName(i) for i in range(a.nActions)]
            except Exception:
                pass
            import pyatspi
            st = o.getState()
            flags = ",".join(n for n, s in (("showing", pyatspi.STATE_SHOWING), ("checked", pyatspi.STATE_CHECKED),
                                            ("sensitive", pyatspi.STATE_SENSITIVE)) if st.contains(s))
            print("  " * depth + "%s %r desc=%r [%s]%s" % (o.getRoleName(), o.name, o.description, flags, extra))
            for i in range(o.childCount):
                walk(o.getChildAtIndex(i), depth + 1)
        walk(self.app(), 0)


if __name__ == "__main__":
    sys.exit(main())
