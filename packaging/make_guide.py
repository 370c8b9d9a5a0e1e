#!/usr/bin/env python3
"""Writes the authors' guide of the release kit from the README's sections for authors, so that the
guide never says something the README no longer says.

Usage: make_guide.py README OUTPUT [--crlf]
"""
import re
import sys

SECTIONS = ["The menu file, for authors", "Windows: the menu on a medium",
            "Checking a medium before it is made", "Releases"]


def main():
    readme, output = sys.argv[1], sys.argv[2]
    with open(readme, encoding="utf-8") as f:
        text = f.read()
    # "## Title" starts a section that runs to the next "## " (a "###" stays inside it).
    parts = re.split(r"^(?=## )", text, flags=re.MULTILINE)
    found = {}
    for part in parts:
        title = part.split("\n", 1)[0][3:].strip() if part.startswith("## ") else None
        if title in SECTIONS:
            found[title] = part.rstrip("\n") + "\n"
    missing = [title for title in SECTIONS if title not in found]
    if missing:
        sys.exit(f"{readme}: no section \"## {missing[0]}\" for the authors' guide")
    guide = "tolvar-autorun: a guide for the authors of media\n\n" + "\n".join(
        found[title] for title in SECTIONS)
    newline = "\r\n" if "--crlf" in sys.argv[3:] else "\n"
    with open(output, "w", encoding="utf-8", newline=newline) as f:
        f.write(guide)


if __name__ == "__main__":
    main()
