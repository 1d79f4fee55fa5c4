#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""No folder includes from a folder above it, every include names its
folder, and the speech layer, the history and the drills' models have no Qt
(the drills' pages and their window have).

speech, forms and history are at the bottom; practice, reference and drills
on them; the help and talmo-say's command code beside those; app on top.
Prints each include that breaks the order and exits 1 if any does.
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
    "help": {"help", "speech", "forms"},
    "say": {"say", "speech", "history"},
    "app": {"app", "practice", "reference", "drills", "help", "say", "speech", "forms",
            "history"},
}


def main():
    faults = []
    for layer, allowed in BELOW.items():
        for source in sorted((TOP / layer).glob("*.[ch]*")):
            for n, line in enumerate(source.read_text().splitlines(), 1):
                where = f"{source.relative_to(TOP)}:{n}"
                local = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                if local:
                    header = pathlib.PurePosixPath(local.group(1))
                    if len(header.parts) != 2 or not (TOP / header).is_file():
                        faults.append(f"{where}: {header} is not a header by its folder")
                    elif header.parts[0] not in allowed:
                        faults.append(f"{where}: {layer} includes {header}")
                if re.match(r"\s*#\s*include\s+<Q", line) and (
                        layer in ("speech", "history", "say")
                        or (layer == "drills" and not source.stem.endswith(("_page", "_window")))):
                    faults.append(f"{where}: Qt in a standard C++ core")
    print("\n".join(faults) or "every include names its folder, the same layer or one below")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
