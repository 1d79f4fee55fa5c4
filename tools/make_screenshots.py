#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Render Talmo's windows and pages to docs/*.png, for the README.

Runs the built program on a private X server (Xvfb) with the accessibility
bus, finds its controls through AT-SPI and clicks them with xdotool, then
captures each window with ImageMagick's import. The Drills window is shown
playing into a private sound server's null sink (the tests' own, silent), so
that its drills score, over a generated month of a learner's answers; the
learner's own files are never read: HOME and the XDG folders point into a
folder of the run's own. Needs Debian's xvfb, xdotool, imagemagick, dbus,
at-spi2-core, python3-pyatspi and pulseaudio; run with the system python3:

    tools/make_screenshots.py [--talmo build/app/talmo] [--out docs]
"""
import argparse
import os
import random
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOUND_SERVER = os.path.join(ROOT, "tests", "support", "sound-server.sh")
# The main window: (file, tab caption or None for the start screen, a button
# to press there).
SHOTS = [
    ("start-screen.png", None, None),
    ("enter-and-listen.png", "Enter and Listen", None),
    ("listen-and-enter.png", "Listen and Enter", None),
    ("numbers.png", "Numbers", None),
    ("ordinals.png", "Ordinals", None),
    ("math.png", "Math", None),
    ("help.png", "Numbers", "Help"),
]
# The Drills window: (file, tab caption, what to do there first).
DRILL_SHOTS = [
    ("drills-pairs.png", "Pairs", "miss a pair"),
    ("drills-dictation.png", "Dictation", "miss a number"),
    ("drills-review.png", "Review", "start review"),
    ("drills-progress.png", "Progress", None),
    ("drills-settings.png", "Settings", None),
]
DAY_MS = 24 * 3600 * 1000


def need(*programs):
    missing = [p for p in programs if shutil.which(p) is None]
    if missing:
        sys.exit("make_screenshots: missing " + ", ".join(missing) +
                 " (Debian: xvfb xdotool imagemagick dbus at-spi2-core pulseaudio)")


def month_of_answers(file, now_ms, seed=7):
    """Adds a learner's month to a history the program has made: a session on
    most days, Pairs, Dictation and the drills of daily life, missing fewer
    as the weeks go by. Nothing today, so that Review has its due items."""
    rng = random.Random(seed)
    teens_tens = [(13, 30), (14, 40), (15, 50), (16, 60), (17, 70), (18, 80), (19, 90)]
    sex_sju = [(6, 7), (16, 17), (60, 70), (66, 77), (600, 700)]
    times = ["07:15", "08:30", "12:20", "14:45", "15:25", "17:40", "19:05", "21:35"]
    prices = ["12,50", "49,90", "99", "129", "7,95", "1 299"]
    years = ["1984", "1999", "2005", "2018", "2024", "1789"]
    rows = []

    def answer(at, session, drill, played, given, right):
        rows.append((at, session, drill, played, rng.choice(["male", "female"]),
                     rng.choice(["clear", "everyday"]), given, int(right),
                     rng.randint(700, 3200)))

    for day in range(30, 0, -1):
        if rng.random() < 0.25:
            continue  # a day without practice
        session = now_ms - day * DAY_MS + rng.randint(17, 21) * 3600 * 1000
        skill = 0.55 + 0.4 * (30 - day) / 30
        at = session
        for _ in range(20):
            at += rng.randint(3000, 6000)
            first, second = rng.choice(teens_tens if day > 12 else teens_tens + sex_sju)
            heard = rng.choice([first, second])
            right = rng.random() < skill
            answer(at, session, "pairs", f"{first}/{second}",
                   str(heard if right else first + second - heard), right)
        for _ in range(rng.randint(6, 12)):
            at += rng.randint(4000, 9000)
            number = rng.choice([rng.randint(0, 100), rng.randint(100, 1000),
                                 rng.randint(1000, 99999)])
            right = rng.random() < skill + 0.05
            answer(at, session, "dictation", str(number), str(number if right else number + 10),
                   right)
        if day <= 20:
            for drill, values, way in [("clock", times, "12-hour"), ("prices", prices, "short"),
                                       ("years", years, "tjugohundra")]:
                for _ in range(rng.randint(2, 5)):
                    at += rng.randint(5000, 10000)
                    value = rng.choice(values)
                    said = way if drill != "years" or value.startswith("20") else "nittonhundra"
                    if drill == "prices" and "," not in value:
                        said = "kronor"
                    right = rng.random() < skill
                    answer(at, session, drill, f"{value}|{said}", value if right else "?", right)
    with sqlite3.connect(file) as db:
        db.executemany("INSERT INTO answers (at_ms, session_ms, drill, played, voice, style, "
                       "answer, is_right, answer_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", rows)
    return len(rows)


def inner(args):
    """Runs inside the private X server and D-Bus session."""
    import pyatspi

    # A home the window's history line reads plainly, if it is free.
    try:
        home = "/tmp/learner"
        os.mkdir(home, 0o700)
    except OSError:
        home = tempfile.mkdtemp(prefix="talmo-shots-")
    sound = os.path.join(home, "sound")
    os.mkdir(sound)
    server = subprocess.Popen([SOUND_SERVER, "pulseaudio", "8000", "1", sound])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=home,
               XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"),
               XDG_RUNTIME_DIR=os.path.join(sound, "runtime"),
               PULSE_SERVER="unix:" + os.path.join(sound, "runtime", "pulse", "native"))
    subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    end = time.time() + 20
    while not os.path.exists(os.path.join(sound, "ready")):
        if time.time() > end or server.poll() is not None:
            sys.exit("make_screenshots: the private sound server did not start")
        time.sleep(0.1)
    time.sleep(1)

    def find(match, role=None, timeout=20):
        if isinstance(match, str):
            name = match
            match = lambda text: text == name  # noqa: E731
        end = time.time() + timeout
        while time.time() < end:
            for a in pyatspi.Registry.getDesktop(0):
                if a is not None and a.name == "Talmo":
                    hit = pyatspi.findDescendant(
                        a, lambda x: match(x.name or "")
                        and x.getState().contains(pyatspi.STATE_SHOWING)
                        and (role is None or x.getRoleName() == role))
                    if hit is not None:
                        return hit
            time.sleep(0.2)
        return None

    def need_control(name, role=None):
        hit = find(name, role)
        if hit is None:
            name = getattr(name, "__name__", name)
            apps = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
            sys.exit(f"make_screenshots: no control '{name}' (applications: {apps})")
        return hit

    def click(acc, settle=0.7):
        x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                       check=True)
        time.sleep(settle)

    def keys(*names, settle=0.5):
        subprocess.run(["xdotool", "key", *names], check=True)
        time.sleep(settle)

    def capture(title, name):
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                             capture_output=True, text=True).stdout.split()
        path = os.path.join(args.out, name)
        subprocess.run(["import", "-window", ids[-1], path], check=True)
        print("wrote", path)

    def miss_a_pair(name):
        keys("space", settle=3)  # the block's first trial
        for _ in range(40):
            keys("1", settle=1.5)
            if find(lambda text: "That was" in text, timeout=1) is not None:
                time.sleep(4)  # both numbers played, each on its button
                return
            time.sleep(1.5)  # the next trial's number
        capture("^Talmo Drills$", "failed-" + name)
        sys.exit("make_screenshots: 40 answers in Pairs and not one missed")

    def miss_a_number():
        click(need_control("Play a number", "push button"), settle=3)
        subprocess.run(["xdotool", "type", "--delay", "80", "101"], check=True)
        keys("Return", settle=6)  # what was written, then what was said

    app = None
    try:
        app = subprocess.Popen([args.talmo], env=env)
        for name, tab, action in SHOTS:
            if tab is None:
                need_control("Continue", "push button")
                time.sleep(0.5)
                capture("^Talmo$", name)
                click(need_control("Continue", "push button"))
                continue
            click(need_control(tab, "page tab"))
            if action:
                click(need_control(action, "push button"))
                capture("^Talmo Help", name)
            else:
                capture("^Talmo$", name)
        app.kill()
        app.wait()

        # The Drills window makes the history when it opens; the month goes in
        # once it is closed, and the next start reads it.
        app = subprocess.Popen([args.talmo, "--drills"], env=env)
        need_control("Pairs", "page tab")
        app.terminate()
        app.wait()
        history = os.path.join(home, ".local", "share", "talmo", "history.sqlite3")
        print("history:", month_of_answers(history, int(time.time() * 1000)), "answers")
        app = subprocess.Popen([args.talmo, "--drills"], env=env)
        for name, tab, action in DRILL_SHOTS:
            # A tab's caption may carry a count: "Review (12)".
            click(need_control(lambda text, tab=tab: text.split(" (")[0] == tab, "page tab"))
            if action == "miss a pair":
                miss_a_pair(name)
            elif action == "miss a number":
                miss_a_number()
            elif action == "start review":
                click(need_control("Start review", "push button"), settle=4)
            capture("^Talmo Drills$", name)
    finally:
        if app is not None:
            app.kill()
        server.terminate()
        server.wait()
        shutil.rmtree(home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--talmo", default=os.path.join(ROOT, "build", "app", "talmo"))
    parser.add_argument("--out", default=os.path.join(ROOT, "docs"))
    parser.add_argument("--inner", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    args.talmo = os.path.abspath(args.talmo)
    args.out = os.path.abspath(args.out)
    if args.inner:
        return inner(args)
    need("xvfb-run", "xdotool", "import", "dbus-run-session", "pulseaudio", "pactl")
    os.makedirs(args.out, exist_ok=True)
    subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "dbus-run-session", "--",
                    sys.executable, os.path.abspath(__file__), "--inner",
                    "--talmo", args.talmo, "--out", args.out], check=True)


if __name__ == "__main__":
    main()
