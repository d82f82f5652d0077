#!/usr/bin/python3
"""Builds the display font "_! Kolhety" from a font with Georgian glyphs.

The program's texts are Georgian written in a Latin transliteration in which upper and lower case
are different letters (the Georgian keyboard layout): "T" is "თ", "t" is "ტ". This font draws each
Latin letter of the transliteration as its Georgian letter; digits and punctuation stay as they are.
Upper-case letters with no letter of their own draw as their lower-case letter.

The font keeps only the characters the program's texts use (Latin, Latin-1, common punctuation and the
Georgian block): a few hundred glyphs instead of the source's thousands, so that registering and
loading it at start-up is cheap. Other characters fall back to the system's fonts.
"""
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "_! Kolhety"

# Latin letter -> Georgian (Mkhedruli) code point, from the table the program shares.
LETTERS_TABLE = Path(__file__).resolve().parents[2] / "src" / "common" / "georgian_letters.txt"


def read_letters(path):
    letters = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line and not line.startswith("#"):
            latin, code_point = line.split()
            letters[latin] = int(code_point, 16)
    for lower in "abcdefghijklmnopqrstuvwxyz":
        if lower in letters:
            letters.setdefault(lower.upper(), letters[lower])
    return letters


LETTERS = read_letters(LETTERS_TABLE)

# Basic Latin, Latin-1, the Georgian block, dashes, quotes, bullets and ellipsis, euro, numero, trade mark.
KEPT = [*range(0x20, 0x7F), *range(0xA0, 0x100), *range(0x10A0, 0x1100), *range(0x2010, 0x2028),
        *range(0x2030, 0x203B), 0x20AC, 0x2116, 0x2122]


def keep_only_kept_characters(font):
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    options.drop_tables += ["FFTM", "MATH"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=KEPT)
    subsetter.subset(font)


def build(source, target):
    font = TTFont(source)
    cmap = font.getBestCmap()
    missing = [chr(cp) for cp in LETTERS.values() if cp not in cmap]
    if missing:
        raise SystemExit(f"{source} lacks Georgian glyphs: {''.join(missing)}")
    for table in font["cmap"].tables:
        if table.isUnicode():
            for latin, georgian in LETTERS.items():
                table.cmap[ord(latin)] = cmap[georgian]
    keep_only_kept_characters(font)
    bold = font["OS/2"].usWeightClass >= 600
    style = "Bold" if bold else "Regular"
    names = {1: FAMILY, 2: style, 3: f"{FAMILY} {style}", 4: f"{FAMILY} {style}",
             6: f"Kolhety-{style}", 16: FAMILY, 17: style}
    name_table = font["name"]
    name_table.names = [n for n in name_table.names if n.nameID not in names and n.nameID not in (0, 13, 14)]
    for name_id, value in names.items():
        name_table.setName(value, name_id, 3, 1, 0x409)
        name_table.setName(value, name_id, 1, 0, 0)
    name_table.setName("Built from DejaVu Sans (Bitstream Vera licence) for Kvirzeta.", 0, 3, 1, 0x409)
    font.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: build_font.py SOURCE.ttf TARGET.ttf")
    build(sys.argv[1], sys.argv[2])
