#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Render every window and page of Talmo to docs/*.png, for the README.

Runs the built program on a private X server (Xvfb) with the accessibility
bus, finds its controls through AT-SPI and clicks them with xdotool, then
captures each window with ImageMagick's import. Needs Debian's xvfb, xdotool,
imagemagick, dbus, at-spi2-core and python3-pyatspi; run with the system
python3:

    tools/make_screenshots.py [--talmo build/app/talmo] [--out docs]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHOTS = [  # (file, tab caption or None for the start screen, extra action)
    ("start-screen.png", None, None),
    ("enter-and-listen.png", "Enter and Listen", None),
    ("listen-and-enter.png", "Listen and Enter", None),
    ("numbers.png", "Numbers", None),
    ("ordinals.png", "Ordinals", None),
    ("math.png", "Math", None),
    ("help.png", "Numbers", "Help"),
]


def need(*programs):
    missing = [p for p in programs if shutil.which(p) is None]
    if missing:
        sys.exit("make_screenshots: missing " + ", ".join(missing) +
                 " (Debian: xvfb xdotool imagemagick dbus at-spi2-core)")


def inner(args):
    """Runs inside the private X server and D-Bus session."""
    import pyatspi

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               PULSE_SERVER="unix:/nonexistent")  # silent: no sound server
    subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(1)
    app = subprocess.Popen([args.talmo], env=env)

    def find(name, role=None, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            for a in pyatspi.Registry.getDesktop(0):
                if a is not None and a.name == "Talmo":
                    hit = pyatspi.findDescendant(
                        a, lambda x: x.name == name and x.getState().contains(pyatspi.STATE_SHOWING)
                        and (role is None or x.getRoleName() == role))
                    if hit is not None:
                        return hit
            time.sleep(0.2)
        apps = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
        sys.exit(f"make_screenshots: no control '{name}' (applications: {apps})")

    def click(acc):
        x, y, w, h = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", "1"],
                       check=True)
        time.sleep(0.7)

    def capture(title, path):
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                             capture_output=True, text=True).stdout.split()
        subprocess.run(["import", "-window", ids[-1], path], check=True)

    try:
        for name, tab, action in SHOTS:
            if tab is None:
                find("Continue", "push button")
                time.sleep(0.5)
                capture("^Talmo$", os.path.join(args.out, name))
                click(find("Continue", "push button"))
                continue
            click(find(tab, "page tab"))
            if action:
                click(find(action, "push button"))
                capture("^Talmo Help", os.path.join(args.out, name))
            else:
                capture("^Talmo$", os.path.join(args.out, name))
            print("wrote", os.path.join(args.out, name))
    finally:
        app.kill()


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
    need("xvfb-run", "xdotool", "import", "dbus-run-session")
    os.makedirs(args.out, exist_ok=True)
    subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", "dbus-run-session", "--",
                    sys.executable, os.path.abspath(__file__), "--inner",
                    "--talmo", args.talmo, "--out", args.out], check=True)


if __name__ == "__main__":
    main()
