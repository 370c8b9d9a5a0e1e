"""Reads one running program's window the way a screen reader does, and prints what it would say
as JSON: the list's name, the first items, the selected item with its position and the list's
length, the buttons' names. Like a screen reader it asks for a few items only, never all.
Usage: screen_reader_reads.py PROGRAM_NAME LIST_NAME (waits up to 10 s for the list to show
LIST_NAME first)"""
import json
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find(node, role, found):
    """Nodes with `role` below `node`, not looking into lists (the items are walked apart)."""
    if node.get_role_name() == role:
        found.append(node)
    if node.get_role_name() == "list":
        return found
    for i in range(node.get_child_count()):
        find(node.get_child_at_index(i), role, found)
    return found


def main():
    desktop = Atspi.get_desktop(0)
    application = next(desktop.get_child_at_index(i) for i in range(desktop.get_child_count())
                       if desktop.get_child_at_index(i).get_name() == sys.argv[1])
    combo = find(application, "combo box", [])[0]
    deadline = time.monotonic() + 10
    while combo.get_name() != sys.argv[2] and time.monotonic() < deadline:
        time.sleep(0.1)
    items = combo.get_child_at_index(0)
    first = [items.get_child_at_index(i).get_name() for i in range(3)]
    selected = Atspi.Selection.get_selected_child(items, 0)
    json.dump({
        "list": combo.get_name(),
        "first": first,
        "selected": [selected.get_name(), selected.get_index_in_parent(), items.get_child_count()],
        "buttons": [button.get_name() for button in find(application, "push button", [])],
    }, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main())
