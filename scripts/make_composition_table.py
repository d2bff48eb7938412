#!/usr/bin/env python3
"""Prints tools/fxt/formats/composition_table.cpp (COMPOSITION_COUNT in
composition.h is the number of its rows): the canonical compositions
(NFC) of a base character and a combining mark whose result is in one of
the code pages fxt writes, and the characters canonically the same as one
of those, from Python's own Unicode data."""
import unicodedata

CODE_PAGES = (1250, 1251, 1252, 1253, 1254, 1257)

characters = set()
for page in CODE_PAGES:
    for byte in range(256):
        try:
            characters.add(ord(bytes([byte]).decode("cp%d" % page)))
        except UnicodeDecodeError:
            pass

pairs = {}


def add(character):
    decomposition = unicodedata.decomposition(chr(character))
    if not decomposition or decomposition.startswith("<"):
        return
    parts = [int(part, 16) for part in decomposition.split()]
    if len(parts) == 2 and unicodedata.normalize("NFC", chr(parts[0]) + chr(parts[1])) == chr(character):
        pairs[tuple(parts)] = character
        add(parts[0])


for character in sorted(characters):
    add(character)

# A character canonically the same as one of those (U+037E, the Greek
# question mark, is ';'): written with mark 0.
for character in range(0x10000):
    decomposition = unicodedata.decomposition(chr(character))
    if decomposition and not decomposition.startswith("<") and len(decomposition.split()) == 1:
        single = int(decomposition, 16)
        if single in characters:
            pairs[(character, 0)] = single

rows = ",\n".join("    {0x%04X, 0x%04X, 0x%04X}" % (base, mark, composed) for (base, mark), composed in sorted(pairs.items()))
print("""// Made by scripts/make_composition_table.py from Unicode %s: each base
// character and combining mark that compose (NFC) into a character one of
// fxt's code pages holds; with mark 0, a character canonically the same as
// one of those. Do not edit.
#include "composition.h"

const Composition Compositions[COMPOSITION_COUNT] = {
%s,
};""" % (unicodedata.unidata_version, rows))
