#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The documents' links and pictures resolve, the README shows every
screenshot, and each manual page names every option of its program's usage."""
import importlib.util
import os
import pathlib
import re
import subprocess
import sys

TOP = pathlib.Path(__file__).resolve().parents[2]


def main():
    faults = []
    for name in ["README.md", "docs/DEVELOPING.md", "tools/README.md"]:
        path = TOP / name
        text = path.read_text(encoding="utf-8")
        anchors = {re.sub(r"[^a-z0-9 -]", "", h.lower()).replace(" ", "-")
                   for h in re.findall(r"^#+ (.*)$", text, re.M)}
        for target in re.findall(r"\]\(([^)\s]+)\)", text):
            if re.match(r"[a-z]+:", target):
                continue
            file, _, fragment = target.partition("#")
            if file and not (path.parent / file).exists():
                faults.append(f"{name}: no file {target}")
            elif not file and fragment not in anchors:
                faults.append(f"{name}: no heading #{fragment}")

    found = importlib.util.spec_from_file_location("shots", TOP / "tools/make_screenshots.py")
    shots = importlib.util.module_from_spec(found)
    found.loader.exec_module(shots)
    readme = (TOP / "README.md").read_text(encoding="utf-8")
    for picture, *_ in shots.SHOTS + shots.DRILL_SHOTS:
        if f"(docs/{picture})" not in readme:
            faults.append(f"README.md: does not show docs/{picture}")

    metainfo = (TOP / "resources/desktop/example.kalvesta.Talmo.metainfo.xml.in").read_text()
    for image in re.findall(r"<image>[^<]*/docs/([^<]+)</image>", metainfo):
        if not (TOP / "docs" / image).exists():
            faults.append(f"metainfo: no docs/{image}")

    for program, variable in (("talmo", "TALMO"), ("talmo-say", "TALMO_SAY")):
        usage = subprocess.run([os.environ[variable], "--help"], capture_output=True,
                               text=True).stdout + "--help --version"
        page = (TOP / "resources/man" / f"{program}.1").read_text(encoding="utf-8")
        page = page.replace("\\-", "-")
        for option in sorted(set(re.findall(r"--[a-z]+", usage))):
            if option not in page:
                faults.append(f"{program}.1: does not name {option}")

    print("\n".join(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
