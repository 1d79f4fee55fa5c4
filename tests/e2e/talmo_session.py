# SPDX-License-Identifier: MIT
"""A private desktop for the installed Talmo: Xvfb, a D-Bus session with the
accessibility bus, a sound server with an 8 kHz mono null sink whose monitor is
recorded (PulseAudio, or PipeWire with its pulse service), and the program
itself, all torn down again however the test ends."""

import ctypes
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time

LIBC = ctypes.CDLL(None, use_errno=True)
RATE = 8000
MAX_GAP = {
    "pulseaudio": RATE // 100,  # 10 ms between two clips of one number
    # What is left of the block a clip ended in (the test graph's floor at
    # 8 kHz is 256 samples), and 2 ms.
    "pipewire": 256 + RATE // 500,
}


class Failure(AssertionError):
    pass


def expect(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: got {actual!r}, expected {expected!r}")


def wait_for(condition, what, timeout=10.0, step=0.05):
    give_up = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > give_up:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(step)


def _die_with_parent():
    LIBC.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def _rows(path):
    """The tab-separated rows of a table, without its comments."""
    with open(path, encoding="utf-8") as table:
        return [line.rstrip("\n").split("\t") for line in table
                if line.strip() and not line.startswith("#")]


def _samples(path):
    """The sample bytes of a clip, PATH.wav."""
    with open(path + ".wav", "rb") as wav:
        data = wav.read()
    return data[44:44 + struct.unpack_from("<I", data, 40)[0]]


class Clips:
    """The recorded clips of the catalogue in every voice, to be found in a recording
    by exact samples."""

    VOICES = ("male", "female")

    def __init__(self, source):
        root = os.path.join(source, "resources", "clips")
        self.text, self.samples, self.category = {}, {}, {}
        for category, name, text in _rows(os.path.join(root, "catalogue.tsv")):
            self.text[name], self.category[name] = text, category
            for voice in self.VOICES:
                self.samples[voice, name] = _samples(os.path.join(root, voice, category, name))
        # The everyday style's recordings, as NAME/FORM (NAME/inner, NAME/last, ...).
        for name, forms in _rows(os.path.join(root, "everyday.tsv")):
            for voice in self.VOICES:
                for form in forms.split():
                    self.samples[voice, name + "/" + form] = _samples(
                        os.path.join(root, voice, "everyday", form, name))

    def heard(self, recording, max_gap):
        """The clips in a recording, in order, as (voice, name); fails on anything else
        heard (samples outside every clip) or on a gap over 10 ms inside a run. The
        silence before each clip, in samples, is left in self.gaps."""
        found = []
        for key, clip in self.samples.items():
            at = recording.find(clip)
            while at >= 0:
                if at % 2 == 0:
                    found.append((at // 2, (at + len(clip)) // 2, key))
                at = recording.find(clip, at + 1)
        found.sort()
        keys, covered, self.gaps = [], 0, []
        for begin, end, key in found:
            if begin < covered:
                raise Failure(f"clips overlap in the recording at sample {begin}")
            if keys and begin - covered > max_gap:
                raise Failure(f"{(begin - covered) * 1000 / RATE:.1f} ms of silence before "
                              f"{key} (after {keys[-1]})")
            stray = recording[2 * covered:2 * begin].strip(b"\0")
            if stray:
                raise Failure(f"{len(stray) // 2} samples heard that belong to no clip")
            keys.append(key)
            self.gaps.append(begin - covered)
            covered = end
        if recording[2 * covered:].strip(b"\0"):
            raise Failure("samples heard that belong to no clip")
        return keys


class Session:
    """One run of the installed program on its own X server, buses and sound server."""

    def __init__(self, build, source, cmake="cmake", sound_server="pulseaudio", args=(),
                 preferences=None, desktop_font=None):
        self.build, self.source, self.cmake, self.args = build, source, cmake, list(args)
        self.preferences = preferences  # the text of the learner's preferences file, if any
        self.desktop_font = desktop_font  # the desktop's font size in points, if set
        self.sound_server = sound_server
        self.procs = []
        # Orphans of the run (the accessibility bus's daemons) come to this
        # process, to be reaped here.
        LIBC.prctl(36, 1)  # PR_SET_CHILD_SUBREAPER
        self.dir = tempfile.mkdtemp(prefix="talmo-e2e-")
        self.app_proc = self.recorder = None

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close(report=False)
            raise
        return self

    def __exit__(self, kind, *exc):
        self.close(report=kind is None)  # a survivor must not hide the first failure

    # --- processes -------------------------------------------------------

    def _spawn(self, name, argv, **kw):
        log = open(os.path.join(self.dir, name + ".log"), "wb")
        proc = subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL,
                                stdout=kw.pop("stdout", log), stderr=log,
                                start_new_session=True, preexec_fn=_die_with_parent, **kw)
        log.close()
        self.procs.append(proc)
        return proc

    def _read_line(self, fd, what):
        """The first line a starting server writes to the pipe it was given."""
        data = b""
        give_up = time.monotonic() + 20
        while not data.endswith(b"\n"):
            ready = select.select([fd], [], [], max(0, give_up - time.monotonic()))[0]
            chunk = os.read(fd, 256) if ready else b""
            if not chunk:
                os.close(fd)
                raise Failure(f"{what} did not start: {self.log(what)}")
            data += chunk
        os.close(fd)
        return data.decode().strip()

    def log(self, name):
        try:
            with open(os.path.join(self.dir, name + ".log"), errors="replace") as f:
                return f.read()[-2000:]
        except OSError:
            return ""

    def _start(self):
        prefix = os.path.join(self.dir, "prefix")
        subprocess.run([self.cmake, "--install", self.build, "--prefix", prefix],
                       check=True, stdout=subprocess.DEVNULL)
        home, runtime = os.path.join(self.dir, "home"), os.path.join(self.dir, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        if self.preferences is not None:
            os.makedirs(os.path.join(home, ".config", "talmo"))
            with open(os.path.join(home, ".config", "talmo", "talmo.conf"), "w") as f:
                f.write(self.preferences)
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("PULSE_", "AT_SPI", "DBUS_", "QT_", "XDG_", "WAYLAND"))
                    and k not in ("DISPLAY", "XAUTHORITY")}
        self.env.update(HOME=home, XDG_RUNTIME_DIR=runtime, LC_ALL="C.UTF-8",
                        TALMO_E2E_RUN=self.dir)
        if self.desktop_font:
            # A KDE desktop's font, which Qt's own KDE platform theme reads.
            os.makedirs(os.path.join(home, ".config"), exist_ok=True)
            with open(os.path.join(home, ".config", "kdeglobals"), "w") as f:
                f.write(f"[General]\nfont=DejaVu Sans,{self.desktop_font},-1,5,50,0,0,0,0,0\n")
            self.env.update(XDG_CURRENT_DESKTOP="KDE", KDE_SESSION_VERSION="5",
                            KDE_FULL_SESSION="true")

        read, write = os.pipe()
        self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write), "-screen", "0", "800x600x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write])
        os.close(write)
        self.env["DISPLAY"] = ":" + self._read_line(read, "Xvfb")

        read, write = os.pipe()
        self._spawn("dbus", ["dbus-daemon", "--session", "--nofork",
                             f"--print-address={write}"], pass_fds=[write])
        os.close(write)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._read_line(read, "dbus")

        self._spawn("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        # Asked without starting it: D-Bus would start a second one.
        wait_for(lambda: "true" in subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
            env=self.env, capture_output=True, text=True).stdout, "the accessibility bus")

        # The sound server is the one the C++ tests start, with buses of its own.
        sound = os.path.join(self.dir, "sound")
        os.makedirs(sound)
        self._spawn("sound", [
            os.path.join(self.source, "tests", "support", "sound-server.sh"),
            self.sound_server, str(RATE), "1", sound])
        ready = os.path.join(sound, "ready")
        wait_for(lambda: os.path.exists(ready), self.sound_server, timeout=20)
        with open(ready) as f:
            self.env["PULSE_SERVER"] = f.read().strip()

        # This process talks to the same display and buses from here on.
        os.environ.update(DISPLAY=self.env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"])
        global pyatspi
        import pyatspi

        self.clips = Clips(self.source)
        self.talmo_say = os.path.join(prefix, "bin", "talmo-say")
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.app_proc = self._spawn("talmo", [os.path.join(prefix, "bin", "talmo"), *self.args])
        self.app = wait_for(self._find_app, "Talmo on the accessibility bus", timeout=20)
        if "--drills" in self.args:
            wait_for(lambda: "Talmo Drills" in self.windows(), "the Drills window")
        else:
            wait_for(lambda: self.find("Continue", "push button"), "the start screen")

    def _find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Talmo" and app.childCount > 0:
                return app
        return None

    def close(self, report=True):
        self.stop_recording()
        for proc in reversed(self.procs):
            try:
                os.killpg(proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                pass
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            proc.wait()
        give_up = time.monotonic() + 2
        while (survivors := self._survivors()) and time.monotonic() < give_up:
            self._reap()
            time.sleep(0.05)
        for pid in survivors:
            os.kill(pid, signal.SIGKILL)
        self._reap()
        shutil.rmtree(self.dir, ignore_errors=True)
        if survivors and report:
            raise Failure(f"processes of the run outlived it: {survivors}")

    @staticmethod
    def _reap():
        try:
            while os.waitpid(-1, os.WNOHANG)[0] > 0:
                pass
        except ChildProcessError:
            pass

    def _survivors(self):
        """Processes (not zombies) started by this run, found by its mark in their environment."""
        mark = f"TALMO_E2E_RUN={self.dir}".encode()
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    environ = f.read().split(b"\0")
                with open(f"/proc/{pid}/stat") as f:
                    state = f.read().rsplit(")", 1)[1].split()[0]
            except OSError:
                continue
            if mark in environ and state != "Z" and int(pid) != os.getpid():
                found.append(int(pid))
        return found

    def exited(self, timeout=1.0):
        """Whether the program's process ends within the timeout."""
        try:
            self.app_proc.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    # --- the accessibility tree ------------------------------------------

    def find(self, name, role=None, showing=True):
        """The control with this accessible name (and role), showing on screen."""
        def match(acc):
            return (acc is not None and acc.name == name
                    and (role is None or acc.getRoleName() == role)
                    and (not showing or acc.getState().contains(pyatspi.STATE_SHOWING)))
        return pyatspi.findDescendant(self.app, match)

    def names(self, role):
        """The names of the controls of a role that show."""
        return [acc.name for acc in pyatspi.findAllDescendants(self.app, lambda acc: (
            acc.getRoleName() == role and acc.getState().contains(pyatspi.STATE_SHOWING)))]

    def has(self, acc, state):
        """Whether the control is in the state ("selected", "focused", ...)."""
        return acc.getState().contains(getattr(pyatspi, "STATE_" + state.upper()))

    def get(self, name, role=None):
        acc = self.find(name, role)
        if acc is None:
            raise Failure(f"no {role or 'control'} named {name!r} is showing")
        return acc

    def text(self, name):
        text = self.get(name, "text").queryText()
        return text.getText(0, text.characterCount)

    def shown(self, name, role):
        acc = self.find(name, role, showing=False)
        if acc is None:
            raise Failure(f"no {role} named {name!r}")
        return acc.getState().contains(pyatspi.STATE_SHOWING)

    def windows(self):
        """The titles of the program's windows that show."""
        return sorted(w.name for w in self.app
                      if w.getState().contains(pyatspi.STATE_SHOWING))

    def extents(self, acc):
        return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)

    def click(self, acc):
        """A mouse click in the middle of the control, as a learner's."""
        ext = self.extents(acc)
        if ext.width <= 0 or ext.height <= 0:
            raise Failure(f"{acc.name!r} has no place on the screen")
        self.xdotool("mousemove", str(ext.x + ext.width // 2),
                     str(ext.y + ext.height // 2), "click", "1")

    def press(self, name, role="push button"):
        self.click(self.get(name, role))

    def tab(self, name):
        self.press(name, "page tab")
        wait_for(lambda: self.find(name, "page tab list"), f"the tab {name!r} chosen")

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def responsive(self, timeout=15.0):
        """Waits until the program answers again (it does not while it speaks)."""
        def answers():
            try:
                self.app.getChildAtIndex(0).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                return True
            except Exception:
                return False
        wait_for(answers, "the program to answer", timeout)

    def window_id(self, title):
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                             env=self.env, capture_output=True, text=True).stdout.split()
        if len(ids) != 1:
            raise Failure(f"expected one window titled {title!r}, found {len(ids)}")
        return ids[0]

    def close_window(self, title):
        """Asks the window to close, as its close box does (WM_DELETE_WINDOW)."""
        window = int(self.window_id(title))
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.c_void_p]
        x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

        class Event(ctypes.Union):
            _fields_ = [("message", ClientMessage), ("pad", ctypes.c_long * 24)]

        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            raise Failure("cannot open the display")
        event = Event()
        m = event.message
        m.type, m.display, m.window, m.format = 33, display, window, 32  # ClientMessage
        m.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        m.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        x11.XFlush(display)
        x11.XCloseDisplay(display)

    # --- what is heard ----------------------------------------------------

    def start_recording(self):
        self.raw = os.path.join(self.dir, "monitor.raw")
        with open(self.raw, "wb") as out:
            self.recorder = self._spawn("parec", [
                "parec", "-d", "ns.monitor", "--raw", "--format=s16le", "--rate=8000",
                "--channels=1", "--latency-msec=10"], stdout=out)
        wait_for(lambda: os.path.getsize(self.raw) > 0, "the recording to start", 5)

    def stop_recording(self):
        if self.recorder is not None and self.recorder.poll() is None:
            self.recorder.send_signal(signal.SIGINT)
            try:
                self.recorder.wait(5)
            except subprocess.TimeoutExpired:
                self.recorder.kill()
                self.recorder.wait()
        self.recorder = None

    def _recorded(self, since):
        with open(self.raw, "rb") as f:
            f.seek(since)
            return f.read()

    def hear(self, action, sound=True):
        """Runs the action and returns the names of the clips played meanwhile,
        in order; fails on any other sound or a gap inside the run."""
        return [name for _, name in self.hear_voices(action, sound)]

    def hear_voices(self, action, sound=True, max_gap=None, quiet=None):
        """As hear, with each clip's voice: [(voice, name)]. max_gap (in samples)
        allows the silence between numbers played one after the other. quiet (in
        seconds): the sound has ended once that long has been silent, for a window
        that stays responsive while it plays."""
        if self.recorder is None:
            self.start_recording()
        mark = os.path.getsize(self.raw) & ~1
        action()
        if sound:
            wait_for(lambda: self._recorded(mark).strip(b"\0"), "sound", 5, 0.02)
        else:
            time.sleep(0.5)
        if quiet:
            tail = 2 * int(quiet * RATE)
            wait_for(lambda: not self._recorded(mark)[-tail:].strip(b"\0"), "silence", 10)
        self.responsive()
        time.sleep(0.3)  # the monitor's latency
        return self.clips.heard(self._recorded(mark), max_gap or MAX_GAP[self.sound_server])

    def sound_off(self):
        """Ends the sound server, as on a desktop whose sound has gone."""
        self.stop_recording()
        with open(os.path.join(self.dir, "sound", "pulse.pid")) as f:
            os.kill(int(f.read()), signal.SIGKILL)

    def history_rows(self):
        """How many answers the learner's history holds."""
        import sqlite3
        path = os.path.join(self.dir, "home", ".local", "share", "talmo", "history.sqlite3")
        with sqlite3.connect(f"file:{path}?mode=ro", uri=True) as db:
            return db.execute("SELECT COUNT(*) FROM answers").fetchone()[0]

    def watch(self, event):
        """Starts collecting the program's accessibility events of a kind; returns
        the list they are appended to, as (source's role, its description)."""
        seen = []

        def take(e):
            seen.append((e.source.getRoleName(), e.source.description))
        pyatspi.Registry.registerEventListener(take, event)
        return seen

    @staticmethod
    def pump(seconds):
        """Lets the accessibility events in for a while."""
        from gi.repository import GLib
        context, give_up = GLib.MainContext.default(), time.monotonic() + seconds
        while time.monotonic() < give_up:
            context.iteration(False) or time.sleep(0.01)

    def number_clips(self, n, everyday=False):
        """The clips (everyday: the NAME/FORM recordings) the number is said in, by talmo-say."""
        mode = ["--style", "everyday", "--recordings"] if everyday else ["--clips"]
        out = subprocess.run([self.talmo_say, *mode, str(n)], env=self.env, check=True,
                             capture_output=True, text=True).stdout
        return [name.strip() for name in out.split(",") if name.strip()]


def value_of(names):
    """The number a run of clips says: tens and units add, N100 multiplies the
    digit before it, N1000 all said before it."""
    total = group = 0
    for name in names:
        if name == "N1000":
            total, group = (total + group) * 1000, 0
        elif name == "N100":
            group *= 100
        else:
            group += int(re.match(r"N?(\d+)", name).group(1))
    return total + group
