#!/usr/bin/env python3
"""Checks of the source tree that CI runs before building.

1. Formatting: every tracked C++ file is as clang-format leaves it.
2. Statements: no chained QString::arg over SQL text in the component, the
   panels, the host or the tools. A later arg re-reads what an earlier one
   inserted, so typed text holding "%2" ends up elsewhere in the statement;
   statements are put together with sql::compose or by concatenation.

Usage: scripts/check-sources.py [--format-only | --statements-only]
Exit status 0 when every check passes.
"""
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PRODUCTION = ("component", "data", "settings", "permissions", "card", "lists", "documents", "duplicates", "panels",
              "platform", "components", "host", "tools")
SQL_WORD = re.compile(r'"[^"\n]*\b(SELECT|INSERT|UPDATE|DELETE|EXEC|EXECUTE|FROM|WHERE)\b[^"\n]*"')


def tracked_sources():
    out = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=ROOT, check=True,
                         capture_output=True, text=True).stdout
    return [ROOT / line for line in out.splitlines() if line]


def check_format(files):
    result = subprocess.run(["clang-format", "--dry-run", "-Werror", *map(str, files)], cwd=ROOT,
                            capture_output=True, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stderr[:4000])
        sys.stderr.write("\nFormatação: corra clang-format -i nos ficheiros indicados.\n")
        return False
    return True


def closing_paren(text, start):
    """Index just after the parenthesis that closes the one at `start`."""
    depth, i, quote = 0, start, None
    while i < len(text):
        c = text[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
            if depth == 0:
                return i + 1
        i += 1
    return len(text)


def chained_args_over_sql(text):
    """Line numbers where a chain of .arg() calls follows SQL text."""
    found = []
    for match in re.finditer(r"\.arg\(", text):
        end = closing_paren(text, match.end() - 1)
        if not re.match(r"\s*\.arg\(", text[end:]):
            continue
        statement_start = max(text.rfind(";", 0, match.start()), text.rfind("{", 0, match.start()))
        if SQL_WORD.search(text[statement_start + 1:match.start()]):
            line = text.count("\n", 0, match.start()) + 1
            if line not in found:
                found.append(line)
    return found


def check_statements(files):
    ok = True
    for path in files:
        rel = path.relative_to(ROOT)
        if rel.parts[0] not in PRODUCTION:
            continue
        for line in chained_args_over_sql(path.read_text(encoding="utf-8")):
            print(f"{rel}:{line}: arg encadeado sobre uma instrução SQL; use sql::compose")
            ok = False
    return ok


def main(argv):
    files = tracked_sources()
    ok = True
    if "--statements-only" not in argv:
        ok = check_format(files) and ok
    if "--format-only" not in argv:
        ok = check_statements(files) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
