"""Prints the accessibility tree of one running program as JSON: role, name, description, states,
place on the screen (x, y, width, height; null where an object has none) and children of every
object. Usage: read_accessible_tree.py PROGRAM_NAME; exit status 1 while the
program is not (yet) in the tree."""
import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def extents(node):
    component = node.get_component_iface()
    if component is None:
        return None
    box = component.get_extents(Atspi.CoordType.SCREEN)
    return [box.x, box.y, box.width, box.height]


def describe(node, depth=0):
    states = node.get_state_set()
    children = []
    if depth < 12:
        children = [describe(node.get_child_at_index(i), depth + 1)
                    for i in range(node.get_child_count())]
    return {
        "role": node.get_role_name(),
        "name": node.get_name(),
        "description": node.get_description(),
        "states": [s.value_nick for s in states.get_states()],
        "extents": extents(node),
        "children": children,
    }


def main():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(i)
        if application is not None and application.get_name() == sys.argv[1]:
            json.dump(describe(application), sys.stdout)
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
