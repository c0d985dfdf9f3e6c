#!/usr/bin/python3
"""Checks every statement the application sent while the tests ran.

The test suite runs with QUARVENSES_SQL_TRACE naming a file; each line of it
is a statement, with the program or library whose code sent it. Statements a
test or a console user sent themselves, and the demonstration scripts, are
left out. What is left is reduced to shapes (literals and numbers replaced),
and every shape must

1. parse as T-SQL (sqlfluff's tsql dialect, Debian's python3 module), and
2. keep the server's compile-time rules that the embedded server would let
   pass: no column named twice in ORDER BY (Msg 169), no WHERE with nothing
   after it, no empty parentheses that are no call, no FROM without a table,
   and every text literal written N'…' (a plain one loses what is outside the
   database's code page).

Shapes sqlfluff cannot parse although SQL Server runs them are listed, each
with its reason, in scripts/statement-allowlist.txt.

Usage: scripts/check-statements.py TRACE-FILE
Exit status 0 when every shape passes; 1 otherwise, naming each fault.
"""
import re
import sys
from pathlib import Path

ALLOWLIST = Path(__file__).resolve().parent / "statement-allowlist.txt"
# Tests, benchmarks, a console user's own statements and the scripts run as
# they stand (the demonstration data) are not the application's.
NOT_THE_APPLICATION = re.compile(r"^(test_|quarvenses-sql$|bench_)|\.sql$")

N_LITERAL = re.compile(r"\bN'(?:[^']|'')*'")
PLAIN_LITERAL = re.compile(r"'(?:[^']|'')*'")
NUMBER = re.compile(r"(?<![\w$@.(])-?\d+(?:\.\d+)?(?![\w])")
# A text with apostrophes is written as pieces joined by CHAR(39): one literal.
JOINED = re.compile(r"(N?)'\?'(?:\s*\+\s*CHAR\(\d+\)\s*\+\s*N?'\?')+")
PARAMETER = re.compile(r"(?<![\w'])\?(?![\w'])")
LONGEST_PARSED = 6000  # longer batches (the demonstration generator's) are held to the rules only
SPACES = re.compile(r"\s+")
DATE_CONVERSION = re.compile(r"CONVERT\(DATETIME,\s*'\?'", re.IGNORECASE)


def shape(statement):
    text = N_LITERAL.sub("N'?'", statement)
    text = PLAIN_LITERAL.sub("'?'", text)
    text = JOINED.sub(lambda m: m.group(1) + "'?'", text)
    text = PARAMETER.sub("@p", text)
    text = NUMBER.sub("0", text)
    return SPACES.sub(" ", text).strip()


def application_statements(trace):
    for line in trace.open(encoding="utf-8", errors="replace", newline="\n"):
        fields = line.rstrip("\n").split("\t")
        if len(fields) < 4:
            continue
        statement = fields[3]
        origin = next((f[len("ORIGEM: "):] for f in fields[4:] if f.startswith("ORIGEM: ")), "")
        if NOT_THE_APPLICATION.search(origin) or statement.startswith("--"):
            continue
        yield statement


def order_by_repeats(text):
    faults = []
    for match in re.finditer(r"\bORDER BY\b(.*?)(?=$|;|\)|\bOFFSET\b|\bFOR\b)", text, re.IGNORECASE):
        columns = [re.sub(r"\s+(ASC|DESC)$", "", c.strip(), flags=re.IGNORECASE).lower()
                   for c in match.group(1).split(",")]
        repeated = {c for c in columns if columns.count(c) > 1}
        if repeated:
            faults.append("coluna repetida em ORDER BY (Msg 169): " + ", ".join(sorted(repeated)))
    return faults


def rule_faults(text):
    faults = order_by_repeats(text)
    if re.search(r"\bWHERE\s*(?:$|;|\)|\bORDER\b|\bGROUP\b)", text, re.IGNORECASE):
        faults.append("WHERE sem condição")
    if re.search(r"(?<![\w@])\(\s*\)", text):
        faults.append("parênteses vazios")
    if re.search(r"\bFROM\s+(?:WHERE|ORDER|$)", text, re.IGNORECASE):
        faults.append("FROM sem tabela")
    plain = len(PLAIN_LITERAL.findall(N_LITERAL.sub("", text))) - len(DATE_CONVERSION.findall(text))
    if plain > 0:
        faults.append("texto sem N'…'")
    return faults


def allowlist():
    allowed = []
    for line in ALLOWLIST.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            pattern, _, reason = line.partition("\t")
            if not reason.strip():
                sys.exit(f"{ALLOWLIST.name}: cada linha tem de dizer porquê: {line}")
            allowed.append(re.compile(pattern))
    return allowed


def parse_fault(sqlfluff, text):
    try:
        sqlfluff.parse(text, dialect="tsql")
        return None
    except Exception as error:  # sqlfluff's APIParsingError and its relatives
        return " ".join(str(error).split())[:300]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    import sqlfluff

    shapes = sorted({shape(s) for s in application_statements(Path(sys.argv[1]))})
    allowed = allowlist()
    failures = 0
    for text in shapes:
        faults = rule_faults(text)
        if len(text) <= LONGEST_PARSED and not any(p.fullmatch(text) for p in allowed):
            fault = parse_fault(sqlfluff, text)
            if fault:
                faults.append("T-SQL inválido: " + fault)
        if faults:
            failures += 1
            print(f"{text}\n    " + "\n    ".join(faults))
    print(f"{len(shapes)} formas de instruções verificadas, {failures} com falhas.")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
