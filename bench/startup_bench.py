#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Start-up and resource figures of talmo, side by side with a minimal Qt
Widgets window (bench/minimal_window.cpp) built the same way.

For each program, over several runs on a private X server: the time from
starting the process to its first window being mapped, from a click on
Continue to the second window being mapped, the peak memory (VmHWM), and the
CPU time used while idle for 10 s with the second window open. For talmo,
then, the time from F2 to the Drills window being mapped (the peak memory is
read before it, as start-up's). Last, bench/drills_bench's figures, when it
is built (from an answer in Pairs to the next trial's sound), and
bench/history_bench's (the learner's history with 100 000 answers).

The two programs' runs alternate, so that whatever else loads the machine
weighs on both alike, and each starts with the pointer off its windows.

    xvfb-run -a dbus-run-session -- bench/startup_bench.py [--build build] [--runs 10] [--quick]

--quick leaves out the Drills window and the two other benchmarks.

(A session bus of its own keeps Qt from starting a dbus-daemon that outlives
the run.) Needs Debian's xvfb and dbus (and libXtst, which Xvfb brings); standard library
only.
"""
import argparse
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("rest", ctypes.c_char * 256)]


class MapWatcher:
    """Notes when top-level windows are mapped, as the X server tells it."""

    def __init__(self):
        self.x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("startup_bench: no X display (run it under xvfb-run)")
        self.display = ctypes.c_void_p(self.display)
        root = self.x.XDefaultRootWindow(self.display)
        self.x.XSelectInput(self.display, ctypes.c_ulong(root), SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.display)

    def next_map(self, timeout):
        """The (time, window) of the next top-level window mapped."""
        end = time.monotonic() + timeout
        event = XEvent()
        while time.monotonic() < end:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                    return time.monotonic(), event.xmap.window
            time.sleep(0.0005)
        raise SystemExit("startup_bench: no window was shown in time")

    def key(self, keysym):
        """Presses and releases a key; returns the time the press was sent."""
        xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst"))
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        code = self.x.XKeysymToKeycode(self.display,
                                       ctypes.c_ulong(self.x.XStringToKeysym(keysym.encode())))
        xtst.XTestFakeKeyEvent(self.display, code, True, 0)
        self.x.XFlush(self.display)
        pressed = time.monotonic()
        xtst.XTestFakeKeyEvent(self.display, code, False, 0)
        self.x.XFlush(self.display)
        return pressed

    def click(self, x, y):
        """Presses and releases the first mouse button at x, y; returns the
        time the release, which a button acts on, was sent."""
        xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst"))
        xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(self.display, 1, True, 0)
        self.x.XFlush(self.display)
        time.sleep(0.05)
        xtst.XTestFakeButtonEvent(self.display, 1, False, 0)
        self.x.XFlush(self.display)
        return time.monotonic()

    def park_pointer(self):
        """Moves the pointer to the screen's far corner, off any window: a
        window shown under it takes a hover, whose repainting costs the
        minimal window's large button 3 ms and 0.8 MiB."""
        xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst"))
        screen = self.x.XDefaultScreen(self.display)
        xtst.XTestFakeMotionEvent(self.display, -1, self.x.XDisplayWidth(self.display, screen) - 1,
                                  self.x.XDisplayHeight(self.display, screen) - 1, 0)
        self.x.XSync(self.display, False)

    def size(self, window):
        attributes = XWindowAttributes()
        self.x.XGetWindowAttributes(self.display, ctypes.c_ulong(window), ctypes.byref(attributes))
        return attributes.width, attributes.height


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def peak_kib(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmHWM:"):
            return int(line.split()[1])
    return 0


def run_once(program, continue_at, idle_seconds, drills=False):
    watcher = MapWatcher()
    # Each program starts with the pointer in one place, whatever the run before left.
    watcher.park_pointer()
    env = dict(os.environ, PULSE_SERVER="unix:/nonexistent")  # no sound is played here
    started = time.monotonic()
    process = subprocess.Popen([program], env=env)
    try:
        shown, window = watcher.next_map(30)
        time.sleep(0.5)  # let it settle before the click
        width, height = watcher.size(window)
        clicked = watcher.click(*continue_at(width, height))
        second, second_window = watcher.next_map(30)
        time.sleep(1)
        before = cpu_seconds(process.pid)
        time.sleep(idle_seconds)
        idle = cpu_seconds(process.pid) - before
        figures = {"start": (shown - started) * 1000, "continue": (second - clicked) * 1000,
                   "peak": peak_kib(process.pid) / 1024, "idle": idle * 1000}
        if drills:
            # A click on the tab strip's bare body (a page switch) gives it the keyboard.
            watcher.click(8, watcher.size(second_window)[1] - 8)
            time.sleep(0.3)
            pressed = watcher.key("F2")
            opened, _ = watcher.next_map(30)
            figures["drills"] = (opened - pressed) * 1000
        return figures
    finally:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--idle", type=float, default=10.0)
    parser.add_argument("--quick", action="store_true",
                        help="start-up alone: no Drills window, drills_bench or history_bench")
    args = parser.parse_args()
    programs = {
        # Continue sits at twips 3135, 4740 (975 x 375) of a 6240-twip-wide window.
        "talmo": (os.path.join(args.build, "app", "talmo"),
                  lambda w, h: (int(w * (3135 + 487) / 6240), int(h * (4740 + 187) / 5265))),
        "minimal window": (os.path.join(args.build, "bench", "minimal_window"),
                           lambda w, h: (w // 2, h * 3 // 4)),
    }
    # A build from before the Drills window is measured without it.
    drills = not args.quick and "--drills" in subprocess.run(
        [programs["talmo"][0], "--help"], capture_output=True, text=True).stdout
    results = {name: [] for name in programs}
    for i in range(args.runs):
        for name, (program, continue_at) in programs.items():
            results[name].append(run_once(program, continue_at, args.idle if i == 0 else 0,
                                          drills and name == "talmo"))
    print(f"{'program':16} {'to first window ms':>20} {'Continue to second ms':>22} "
          f"{'peak memory MiB':>16} {'CPU idle 10 s ms':>17}")
    for name, runs in results.items():
        med = lambda key: statistics.median(r[key] for r in runs)
        print(f"{name:16} {med('start'):20.1f} {med('continue'):22.1f} "
              f"{statistics.median(r['peak'] for r in runs):16.1f} {runs[0]['idle']:17.1f}")
    med = lambda name, key: statistics.median(r[key] for r in results[name])
    ratio = med("talmo", "start") / med("minimal window", "start")
    extra = med("talmo", "peak") - med("minimal window", "peak")
    print(f"median of {args.runs} runs each, alternating; CPU while idle from the first run, "
          f"{args.idle:.0f} s with the second window open.")
    print(f"start-up ratio talmo / minimal window: {ratio:.2f} (goal: 1.15 or less; "
          f"no CPU while nothing plays)")
    print(f"peak memory talmo - minimal window: {extra:+.1f} MiB (goal: within 1 MiB)")
    if not drills:
        return
    opened = [r["drills"] for r in results["talmo"]]
    print(f"talmo: F2 to the Drills window mapped: median {statistics.median(opened):.1f} ms, "
          f"longest {max(opened):.1f} ms (goal: 50 ms or less)")
    drills_bench = os.path.join(args.build, "bench", "drills_bench")
    if os.path.exists(drills_bench):
        subprocess.run([drills_bench], check=True)
    else:
        print("(bench/drills_bench is not built: it needs TALMO_BUILD_TESTS=ON)")
    subprocess.run([os.path.join(args.build, "bench", "history_bench")], check=True,
                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))


if __name__ == "__main__":
    main()
