#!/usr/bin/python3
"""Reads vCard files with python3-vobject, a reader that owes nothing to ours.

Prints one line per file and exits 1 when any file is refused: a line the
reader cannot parse, a card it cannot serialise again, or fewer cards than
the file begins.
"""
import sys

import vobject


def check(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    begun = text.upper().count("BEGIN:VCARD")
    cards = list(vobject.readComponents(text))
    for card in cards:
        card.serialize()
    if len(cards) != begun:
        raise ValueError(f"{len(cards)} cartões lidos de {begun}")
    return len(cards)


def main():
    refused = 0
    for path in sys.argv[1:]:
        try:
            print(f"{path}: {check(path)} cartões aceites")
        except Exception as e:  # every refusal counts, whatever its kind
            refused += 1
            print(f"{path}: recusado: {e}")
    return 1 if refused else 0


if __name__ == "__main__":
    sys.exit(main())
