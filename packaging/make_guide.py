#!/usr/bin/env python3
"""Writes the authors' guide of the release kit from the README's sections for authors, so that the
guide never says something the README no longer says.

The guide is plain text for authors alone: what the README marks for developers
(<!-- developers --> to <!-- /developers -->) is left out, Markdown's marks are taken off, and
the guide must hold every section it refers to. Anything else stops the build, saying what.

Usage: make_guide.py README OUTPUT [--crlf]
"""
import re
import sys
import textwrap

# In the guide's order; "### " titles are the subsections of a "## " section, taken alone.
SECTIONS = ["Releases", "The menu file, for authors", "Windows: the menu on a medium",
            "The keyboard", "Checking a medium before it is made", "Making the medium",
            "How people start the menu", "Signing the menu"]

DEVELOPERS = re.compile(r"<!-- developers -->.*?<!-- /developers -->\n?", re.DOTALL)
HEADING = re.compile(r"^(#{2,3}) (.+)$", re.MULTILINE)
FENCE = re.compile(r"^( *)```[a-z]*\n(.*?)^ *```\n", re.MULTILINE | re.DOTALL)
# A Markdown table: a header row, a row of dashes, and its rows.
TABLE = re.compile(r"^\|.*\|\n\|[-| ]+\|\n(?:\|.*\|\n?)+", re.MULTILINE)
# What an author's guide never holds: how to build or test the programs.
FOR_DEVELOPERS = re.compile(r"\./run\b|\bcmake\b|\bctest\b|\bbuild/|\btests/")


def sections(text):
    """{title: the section's text without its heading}; a "##" section runs up to the next "##"
    heading, a "###" one up to the next heading of either level."""
    found = {}
    headings = list(HEADING.finditer(text))
    for i, heading in enumerate(headings):
        level = len(heading.group(1))
        end = len(text)
        for later in headings[i + 1:]:
            if len(later.group(1)) <= level:
                end = later.start()
                break
        if level == 2:  # a section ends where its first subsection starts, unless asked whole
            inner = [h for h in headings[i + 1:] if h.start() < end]
            if inner and inner[0].group(2) in SECTIONS:
                end = inner[0].start()
        found[heading.group(2).strip()] = text[heading.end():end].strip("\n")
    return found


def table_rows(match):
    """A Markdown table as plain text: each row its first cell, then each other cell under it,
    named by its column's heading and wrapped, since a plain-text table of long cells cannot be
    read in a narrow window."""
    lines = match.group(0).rstrip("\n").split("\n")
    cells = [[cell.strip() for cell in line.strip("|").split("|")] for line in lines]
    headings, rows = cells[0], cells[2:]
    out = []
    for row in rows:
        out.append(row[0])
        for heading, cell in zip(headings[1:], row[1:]):
            out.append(textwrap.fill(cell, 96, initial_indent="    " + heading + ": ",
                                     subsequent_indent="        ", break_on_hyphens=False))
        out.append("")
    return "\n".join(out)


def plain(markdown):
    """The Markdown of one section as plain text."""
    text = TABLE.sub(table_rows, markdown)
    # Code blocks lose their fences and stand indented by four blanks more than their fence.
    text = FENCE.sub(lambda m: "".join(m.group(1) + "    " + line if line else line
                                       for line in m.group(2).splitlines(True)), text)
    text = re.sub(r"^### (.+)$", lambda m: m.group(1) + "\n" + "-" * len(m.group(1)), text,
                  flags=re.MULTILINE)
    text = re.sub(r"\*\*(.+?)\*\*", r"\1", text, flags=re.DOTALL)
    text = re.sub(r"`([^`]+)`", r"\1", text)
    return text


def faults(guide, titles):
    """What makes the guide not a complete plain-text guide for authors."""
    found = []
    for number, line in enumerate(guide.splitlines(), 1):
        for mark, what in (("`", "a backtick"), ("**", "bold marks"), ("<!--", "a comment")):
            if mark in line:
                found.append(f"line {number} holds {what}: {line.strip()}")
        if line.startswith("#") or line.lstrip().startswith("|"):
            found.append(f"line {number} is Markdown (a heading or a table): {line.strip()}")
        if FOR_DEVELOPERS.search(line):
            found.append(f"line {number} is for developers: {line.strip()}")
    # A section named in quotes ("The keyboard") or after "see" must be in the guide.
    for title in titles:
        names = "|".join(re.escape(name) for name in {title, title.split(":")[0]})
        if title not in SECTIONS and re.search(r'"(%s)"|\bsee (%s)\b' % (names, names), guide):
            found.append(f"it refers to the section \"{title}\", which it does not hold")
    return found


def main():
    readme, output = sys.argv[1], sys.argv[2]
    with open(readme, encoding="utf-8") as f:
        text = DEVELOPERS.sub("", f.read())
    found = sections(text)
    missing = [title for title in SECTIONS if title not in found]
    if missing:
        sys.exit(f"{readme}: no section \"{missing[0]}\" for the authors' guide")
    parts = ["tolvar-autorun: a guide for the authors of media"]
    for title in SECTIONS:
        parts.append(f"{title}\n{'=' * len(title)}\n\n{plain(found[title])}")
    guide = "\n\n\n".join(parts) + "\n"
    problems = faults(guide, found)
    if problems:
        sys.exit(f"{readme}: the authors' guide would not be plain text for authors alone:\n  " +
                 "\n  ".join(problems))
    newline = "\r\n" if "--crlf" in sys.argv[3:] else "\n"
    with open(output, "w", encoding="utf-8", newline=newline) as f:
        f.write(guide)


if __name__ == "__main__":
    main()
