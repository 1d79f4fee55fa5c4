#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""No folder includes from a folder above it, and the speech layer, the
history and the drills' models have no Qt.

speech, forms and history are at the bottom, practice, reference and drills
on them, app on top. Prints each include that breaks the order and exits 1 if any does.
"""
import pathlib
import re
import sys

TOP = pathlib.Path(__file__).resolve().parents[2]
BELOW = {
    "speech": {"speech"},
    "forms": {"forms"},
    "history": {"history"},
    "practice": {"practice", "speech", "forms"},
    "reference": {"reference", "speech", "forms"},
    "drills": {"drills", "speech", "forms", "history"},
    "app": {"app", "practice", "reference", "drills", "speech", "forms", "history"},
}


def main():
    home = {}
    for layer in BELOW:
        for header in (TOP / layer).glob("*.h"):
            home[header.name] = layer
    faults = []
    for layer, allowed in BELOW.items():
        for source in sorted((TOP / layer).glob("*.[ch]*")):
            for n, line in enumerate(source.read_text().splitlines(), 1):
                local = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                if local and home.get(local.group(1), layer) not in allowed:
                    faults.append(f"{source.relative_to(TOP)}:{n}: {layer} includes "
                                  f"{local.group(1)} from {home[local.group(1)]}")
                if re.match(r"\s*#\s*include\s+<Q", line) and (
                        layer in ("speech", "history")
                        or (layer == "drills" and not source.stem.endswith("_page"))):
                    faults.append(f"{source.relative_to(TOP)}:{n}: Qt in a standard C++ core")
    print("\n".join(faults) or "every include is from the same layer or one below")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
