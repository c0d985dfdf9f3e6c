#!/usr/bin/env python3
"""Checks that every include points to its own floor or below.

Each top folder of the sources stands on a floor; a source may include a
header of its own floor or of a lower one, never of a higher one:

  1 platform/    our stand-ins for Windows, the outside components' contracts
  2 connection/  the connection's state and strings, the cipher, the error reporter
  3 settings/    the settings store, display font, owner window
  4 data/        SQL literals, connection supervision and start-up, the connection itself
  5 permissions/ lists/
  6 panels/ documents/
  7 card/
  8 component/   the public face (General)
  9 components/ host/ tools/ bench/ tests/

Usage: scripts/check-floors.py
Exit status 0 when no include points up; 1 otherwise, naming each.
"""
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FLOORS = {
    "platform": 1, "connection": 2, "settings": 3, "data": 4, "permissions": 5, "lists": 5,
    "panels": 6, "documents": 6, "duplicates": 6, "card": 7, "component": 8,
    "components": 9, "host": 9, "tools": 9, "bench": 9, "tests": 9,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')


def main():
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split()
    upward = []
    for name in files:
        floor = FLOORS.get(name.split("/")[0])
        if floor is None:
            continue
        for number, line in enumerate((ROOT / name).read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            target = FLOORS.get(match.group(1)) if match else None
            if target is not None and target > floor:
                upward.append(f"{name}:{number}: inclui {line.split(chr(34))[1]} (andar {target} sobre o {floor})")
    for fault in upward:
        print(fault)
    print(f"{len(files)} ficheiros, {len(upward)} inclusões para cima.")
    return 1 if upward else 0


if __name__ == "__main__":
    sys.exit(main())
