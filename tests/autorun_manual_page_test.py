#!/usr/bin/env python3
"""Holds tolvar-autorun(1) against the authors' guide (README.md) and the program's own tables, so
that the page cannot fall behind either: every directive the menu knows and no other, the guide's
own words on how Launch starts a file (its arguments, the execute bit), the languages' variables,
and the menu's fixed texts. Also holds the guide's picture sizes against the window's layout.

Usage: autorun_manual_page_test.py SOURCE_DIR
"""
import os
import re
import sys


def read(*parts):
    with open(os.path.join(SOURCE_DIR, *parts), encoding="utf-8") as file:
        return file.read()


SOURCE_DIR = sys.argv[1] if len(sys.argv) > 1 else ""
ESCAPES = [("\\(aq", "'"), ("\\(dq", '"'), ("\\(rs", "\\"), ("\\e", "\\"), ("\\-", "-"),
           ("\\&", ""), ("\\ ", " ")]
# A macro's arguments: quoted (with "" for a quote inside) or up to the next blank.
ARGUMENT = re.compile(r'"((?:[^"]|"")*)"|(\S+)')


def unescape(text):
    for escape, plain in ESCAPES:
        text = text.replace(escape, plain)
    return text


def page_text(roff):
    """The words a reader sees on the page, its whitespace collapsed: font macros joined as man
    joins them, other requests taken as breaks."""
    words = []
    for line in roff.splitlines():
        if not line.startswith("."):
            words.append(unescape(line))
            continue
        macro, _, rest = line.partition(" ")
        arguments = [unescape(quoted.replace('""', '"') if quoted or not bare else bare)
                     for quoted, bare in ARGUMENT.findall(rest)]
        if macro in (".B", ".I", ".SH", ".SS"):
            words.append(" ".join(arguments))
        elif macro in (".BR", ".RB", ".BI", ".IB", ".IR", ".RI"):
            words.append("".join(arguments))
    return " ".join(" ".join(words).split())


def guide_text(markdown):
    """Markdown as read: no code marks or bold, whitespace collapsed."""
    return " ".join(markdown.replace("`", "").replace("**", "").split())


def section(markdown, heading):
    """The text under `heading` (a line of #s and the title) up to the next heading."""
    found = re.search(r"^#+ " + re.escape(heading) + r"\n", markdown, re.MULTILINE)
    if not found:
        sys.exit(f"README.md has no section {heading!r}: has the guide changed? Update this test.")
    rest = markdown[found.end():]
    end = re.search(r"^#", rest, re.MULTILINE)
    return rest[:end.start()] if end else rest


def sentences(text):
    return [s.strip() for s in re.split(r"(?<=[.])\s+(?=[A-Z])", text) if s.strip()]


def main():
    faults = []
    page = page_text(read("packaging", "man", "tolvar-autorun.1"))
    guide = read("README.md")

    # Every directive of the table, and none that the menu does not know.
    table = re.findall(r'\{N::k\w+,\s*"([a-z-]+)"', read("menu_form", "directive.cc"))
    if len(table) < 10:
        faults.append(f"found only {table} in menu_form/directive.cc: has the table changed?")
    for name in table:
        if f"'#{name}:" not in page:
            faults.append(f"the directive '#{name}: is not on the page")
        if f"`'#{name}:" not in guide:
            faults.append(f"the directive '#{name}: is not in the guide")
    # "'#name: value" is how the page writes a directive in general.
    for name in sorted(set(re.findall(r"'#([a-z-]+):", page)) - set(table) - {"name"}):
        faults.append(f"the page names '#{name}:, which the menu does not know")

    # How Launch starts a file, in the guide's own words: what it passes and the execute bit.
    launch = guide_text(section(guide, "What Launch does"))
    wanted = sentences(launch)[:1]
    linux = re.search(r"- Linux: (.*?)(?= - |When the file exists|$)", launch)
    if not linux:
        faults.append("the guide's Launch has no Linux part: has the guide changed?")
    else:
        wanted += sentences(linux.group(1))
    split_rule = re.search(r"split into words by the rule of [^.]*\.",
                           guide_text(section(guide, "Directives: more for an entry, in lines "
                                                     "every reader skips")))
    if not split_rule:
        faults.append("the guide's '#arguments: gives no rule of splitting: has it changed?")
    else:
        wanted.append(split_rule.group(0))
    for sentence in wanted:
        if sentence.lower() not in page.lower():
            faults.append(f"the page does not say, as the guide does: {sentence!r}")
    if "no arguments" in page:
        faults.append("the page says \"no arguments\"; entries take '#arguments:")

    # The variables that choose the language's menu file.
    languages = section(guide, "A menu per language, and the menu's own texts")
    variables = re.findall(r"`([A-Z][A-Z_]+)`", languages.split("Linux:", 1)[-1].split(";")[0])
    if not variables:
        faults.append("the guide names no variables for the languages: has it changed?")
    for variable in variables:
        if variable not in page:
            faults.append(f"the page does not name {variable}, which picks the language")

    # The menu's fixed texts, which authors may replace and users see.
    texts = dict(re.findall(r'constexpr char (k\w+)\[\] = "([^"]*)";',
                            read("menu_form", "menu_entry.h")))
    texts.pop("kDefinitionPath", None)
    texts["Can't start"] = "Can't start"
    for name, text in texts.items():
        if text not in page:
            faults.append(f"the page does not show {name}, {text!r}")

    # The picture sizes the guide gives for 150 % and 200 %, from the layout's picture area.
    layout = read("menu_form", "form_layout.h")
    width, height = map(int, re.search(r'kSplashLayout = \{\s*Control::kSplash, "Splash", '
                                       r"\{\d+, \d+, (\d+), (\d+)\}", layout).groups())
    for percent in (150, 200):
        dpi = 96 * percent // 100
        pixels = [(twips * dpi + 720) // 1440 for twips in (width, height)]
        size = f"{pixels[0]} x {pixels[1]}"
        if f"{size} at {percent} %" not in guide_text(guide):
            faults.append(f"the guide does not give the picture area at {percent} %, {size}")

    for fault in faults:
        print(f"tolvar-autorun.1: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
