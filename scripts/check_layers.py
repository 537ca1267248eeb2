#!/usr/bin/env python3
"""The floors of src/, kept true. Each folder stands on a floor; a file may
include its own folder and the folders of lower floors, never a folder of its
own floor or of a higher one. Prints one line per include that breaks this,
naming the file and the include, and exits 1; prints a summary and exits 0
when there is none. Usage: check_layers.py [src folder]"""
import os
import re
import sys

# Building blocks at the bottom, the host game's layout above them, one folder
# per subsystem, and the floor that wires the system on top.
FLOORS = {
    "base": 0,
    "game": 1,
    "words": 1,
    "input": 2,
    "slots": 2,
    "overlay": 2,
    "diagnostics": 2,
    "app": 3,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_ENDINGS = (".h", ".cpp", ".rc.in")


def faults_of(src, path):
    folder = os.path.relpath(path, src).split(os.sep)[0]
    rel = os.path.relpath(path, os.path.dirname(src))
    if folder not in FLOORS:
        return [f"{rel}: folder '{folder}' stands on no floor (add it to FLOORS)"]
    found = []
    with open(path, encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            head = target.split("/")[0] if "/" in target else None
            if head is None or head not in FLOORS:
                found.append(f"{rel}:{number}: includes \"{target}\", which names no folder of src/")
            elif head != folder and FLOORS[head] >= FLOORS[folder]:
                kind = "the same floor" if FLOORS[head] == FLOORS[folder] else "a higher floor"
                found.append(f"{rel}:{number}: includes \"{target}\" from {kind} "
                             f"({folder} is on floor {FLOORS[folder]}, {head} on {FLOORS[head]})")
    return found


def main():
    src = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                          os.path.join(os.path.dirname(__file__), "..", "src"))
    faults = []
    files = 0
    for root, _, names in sorted(os.walk(src)):
        for name in sorted(names):
            if name.endswith(SOURCE_ENDINGS):
                files += 1
                faults += faults_of(src, os.path.join(root, name))
    for fault in faults:
        print(fault)
    if faults:
        print(f"layering: {len(faults)} include(s) break the floors of src/")
        return 1
    print(f"layering: {files} files, every include stays on its floor or below")
    return 0


if __name__ == "__main__":
    sys.exit(main())
