#!/usr/bin/env python3
"""Checks tolvar-menu-check(1) against the program's own --help, so that the page cannot fall
behind the program: the same options, the same exit statuses.

Usage: manual_page_test.py CHECKER PAGE
"""
import re
import subprocess
import sys

# "--format", "-h": an option's name, without its value.
OPTION = re.compile(r"(?<![\w-])(--?[a-z][a-z-]*)")


def between(text, start, end):
    """The part of text after the line matching start, up to the next line matching end."""
    found = re.search(start, text, re.MULTILINE)
    if not found:
        sys.exit(f"no {start!r} in\n{text}")
    rest = text[found.end():]
    stop = re.search(end, rest, re.MULTILINE)
    return rest[:stop.start()] if stop else rest


def main():
    checker, page_path = sys.argv[1:3]
    help_text = subprocess.run([checker, "--help"], capture_output=True, text=True,
                               check=True).stdout
    with open(page_path, encoding="utf-8") as page_file:
        page = page_file.read().replace("\\-", "-")

    help_options = set(OPTION.findall(between(help_text, r"^Options:", r"^\S")))
    page_options = set(OPTION.findall(between(page, r"^\.SH OPTIONS", r"^\.SH ")))
    help_statuses = set(re.findall(r"^  (\d+)  ", between(help_text, r"^Exit status:", r"^\S"),
                                   re.MULTILINE))
    page_statuses = set(re.findall(r"^\.B (\d+)$", between(page, r"^\.SH EXIT STATUS", r"^\.SH "),
                                   re.MULTILINE))

    faults = []
    if not help_options or not help_statuses:
        faults.append("--help lists no options or no exit statuses: has its layout changed?")
    for option in sorted(help_options - page_options):
        faults.append(f"{option} is in --help but not in the page's OPTIONS")
    for option in sorted(page_options - help_options):
        faults.append(f"{option} is in the page's OPTIONS but not in --help")
    for status in sorted(help_statuses ^ page_statuses):
        where = "--help" if status in help_statuses else "the page"
        faults.append(f"exit status {status} is documented only in {where}")
    # The example's summary line in the program's own words: "1 warning", "2 warnings".
    for count, noun in re.findall(r"\b(\d+) (errors?|warnings?)\b",
                                  between(page, r"^\.SH EXAMPLES", r"^\.SH ")):
        if (count == "1") != (not noun.endswith("s")):
            faults.append(f"the example says \"{count} {noun}\", which the program never prints")
    for fault in faults:
        print(f"{page_path}: {fault}")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
