"""End-to-end tests of the menu in the user's language and in the author's own words on the Linux
window: the menu file chosen by the user's languages, the author's texts on the buttons, in the
list and in the message box, a right-to-left menu mirrored, and what a screen reader reads in every
state of the window, with no critical printed while it reads. Same fixture as window_e2e_test.py.

Run one test: languages_e2e_test.py LanguagesTest.test_name (TOLVAR_AUTORUN names the program)."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import find_accessible, wait_until  # noqa: E402
from window_e2e_test import (  # noqa: E402
    BOX_TITLE, PROMPT, QUARTERS, MenuWindowTest, only_own_tests, quartered_bmp)

CRITICALS = "CRITICAL|WARNING|Critical|Warning"


def menu(*lines):
    return "\r\n".join(lines) + "\r\n"


def texts(language, prompt, launch, quit_, not_found):
    """A menu file in `language` with its own texts above the title and one entry whose program
    is missing."""
    return menu("'#prompt: " + prompt, "'#launch-caption: " + launch,
                "'#quit-caption: " + quit_, "'#not-found-message: " + not_found,
                "Title " + language, "$null$", "1", "Missing " + language, "programs\\missing.sh")


def inked_columns(pixel, left, top, width, height):
    """The columns, from `left`, of the box that hold a dark pixel: text or the list's arrow."""
    return [x for x in range(width)
            if any(sum(pixel(left + x, top + y)) < 300 for y in range(2, height - 2))]


def widest_gap(pixel, left, top, width, height):
    """The middle, from `left`, of the widest run of columns without ink between the box's first
    and last inked columns."""
    inked = inked_columns(pixel, left, top, width, height)
    start, end = max(zip(inked, inked[1:]), key=lambda pair: pair[1] - pair[0])
    return (start + end) / 2


class LanguagesTest(MenuWindowTest):
    def start_in(self, language):
        """Starts the menu for a user whose languages are `language` (LANGUAGE's syntax)."""
        return self.start(dict(self.desktop.env, LANGUAGE=language))

    def buttons(self, tree=None):
        return [node["name"] for node in find_accessible(tree or self.tree(), "push button")]

    def extents(self, role, tree):
        found = find_accessible(tree, role)
        self.assertEqual(len(found), 1, role)
        return found[0]["extents"]

    def assert_no_critical(self):
        status, stderr = self.ended()
        self.assertEqual(status, 0)
        self.assertNotRegex(stderr, CRITICALS, stderr[:2000])

    def test_the_users_first_language_with_a_file_chooses_the_menu_and_its_texts(self):
        self.write("menu/config.mnu", menu("Title plain", "$null$", "1", "Missing plain",
                                           "programs\\missing.sh"))
        self.write("menu/config.de.mnu", texts("de", "Bitte wählen...", "Starten", "Beenden",
                                               "Datei nicht gefunden!"))
        self.write("menu/config.pt.mnu", texts("pt", "Escolha...", "Iniciar", "Sair",
                                               "Arquivo não encontrado!"))
        cases = [
            ("de", "Title de", "Bitte wählen...", ["Starten", "Beenden"], "Datei nicht gefunden!"),
            # Only the first language with a file counts, whatever follows it.
            ("fr:de", "Title de", "Bitte wählen...", ["Starten", "Beenden"],
             "Datei nicht gefunden!"),
            ("fr", "Title plain", PROMPT, ["Launch", "Quit"], "Can't find file!!"),
            ("pt_BR", "Title pt", "Escolha...", ["Iniciar", "Sair"], "Arquivo não encontrado!"),
        ]
        for language, title, prompt, buttons, not_found in cases:
            with self.subTest(language):
                self.start_in(language)
                window = self.desktop.wait_window("^%s$" % title)
                items = [item["name"] for item in self.combo()["children"][0]["children"]]
                self.assertEqual(items, [prompt, "Missing " + title.split()[1]])
                self.assertEqual(self.combo()["name"], prompt)
                self.assertEqual(self.buttons(), buttons)
                self.choose(window, 1)
                self.desktop.keys(window, "Return")
                self.dismiss_box(not_found)
                self.desktop.request_close(window)
                self.assertEqual(self.ended(), (0, ""))

    def test_the_demo_medium_speaks_german_to_a_german_user(self):
        self.start(dict(self.desktop.env, LANGUAGE="de_DE.UTF-8"),
                   medium=os.path.join(HERE, "..", "..", "examples"))
        window = self.desktop.wait_window("^Tolvar Autorun - Demo-Medium$")
        self.assertEqual(self.combo()["name"], "Bitte wählen...")
        self.assertEqual(self.buttons(), ["Starten", "Beenden"])
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def laid_out(self, direction):
        """Shows a menu with a picture and a described entry in `direction`, checks which side
        the texts stand at and that the picture is not flipped, and returns the window's width
        and {control: (left edge from the window's, width)}."""
        self.write_menu("'#direction: " + direction, "Title", "art\\quarters.bmp", "1",
                        "'#description: Says hello", "Hello", "$null$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        left, top, width, _ = self.desktop.geometry(window)
        self.desktop.keys(window, "Tab", "Tab", "Down")
        tree = wait_until(lambda: (lambda tree: tree if find_accessible(
            tree, "label", "Says hello") else None)(self.tree()), what="the description")
        _, _, pixel = self.desktop.capture(window)
        # The picture is not flipped: its red quarter stays top left.
        for got, want in zip(pixel(130, 38), QUARTERS[0]):
            self.assertLessEqual(abs(got - want), 8, pixel(130, 38))
        # The list's caption and the description stand at the side reading starts from, the
        # list's arrow at the other.
        rtl = direction == "right-to-left"
        x, y, box_width, box_height = self.extents("combo box", tree)
        gap = widest_gap(pixel, x - left, y - top, box_width, box_height)
        self.assertEqual(gap < box_width / 2, rtl, "the list's empty stretch")
        x, y, box_width, box_height = self.extents("label", tree)
        inked = inked_columns(pixel, x - left, y - top, box_width, box_height)
        self.assertTrue(inked)
        self.assertEqual(min(inked) > box_width / 2, rtl, "the description's text")
        self.assertEqual(max(inked) < box_width / 2, not rtl, "the description's text")

        places = {role: tuple(self.extents(role, tree)[0:3:2]) for role in ("combo box", "label")}
        for button in find_accessible(tree, "push button"):
            places[button["name"]] = tuple(button["extents"][0:3:2])
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))
        return width, {control: (x - left, w) for control, (x, w) in places.items()}

    def test_a_right_to_left_menu_mirrors_the_list_the_buttons_and_the_row(self):
        self.write("art/quarters.bmp", quartered_bmp())
        width, design = self.laid_out("left-to-right")
        # As designed: the list left of Launch, Launch left of Quit.
        self.assertLess(design["combo box"][0], design["Launch"][0])
        self.assertLess(design["Launch"][0], design["Quit"][0])
        _, mirrored = self.laid_out("right-to-left")
        for control, (x, control_width) in design.items():
            self.assertEqual(mirrored[control], (width - x - control_width, control_width),
                             control)

    def test_a_right_to_left_open_list_wider_than_the_list_grows_to_the_left(self):
        caption = "A caption much wider than the list, which widens the open list"
        self.write_menu("'#direction: right-to-left", "Title", "$null$", "1", caption, "$null$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        x, _, width, _ = self.extents("combo box", self.tree())
        self.desktop.keys(window, "Tab", "Tab", "alt+Down")
        left, _, popup_width, _ = wait_until(lambda: self.popup(window), what="the popup")
        self.assertGreater(popup_width, width)
        self.assertEqual(left + popup_width, x + width, "ends at the list's right edge")
        self.desktop.keys(window, "Escape")
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_a_screen_reader_reads_the_authors_words_in_every_state_without_criticals(self):
        self.write("art/quarters.bmp", quartered_bmp())
        self.write_menu("'#picture-description: Four coloured squares", "'#launch-caption: Go",
                        "Title", "art\\quarters.bmp", "2",
                        "'#description: Installs the demo", "Install", "programs\\missing.sh",
                        "Nothing", "$null$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        tree = self.tree()
        self.assertEqual([(node["name"], node["extents"][2:])
                          for node in find_accessible(tree, "image")],
                         [("Four coloured squares", [489, 121])])
        self.assertEqual(self.buttons(tree), ["Go", "Quit"])

        self.choose(window, 1)
        tree = wait_until(lambda: (lambda tree: tree if find_accessible(
            tree, "combo box")[0]["description"] == "Installs the demo" else None)(self.tree()),
            what="the entry's description")
        self.assertEqual(find_accessible(tree, "combo box")[0]["name"], "Install")
        self.assertTrue(find_accessible(tree, "label", "Installs the demo"))

        # Read whole while the box shows, and again once it has gone.
        self.desktop.keys(window, "Return")
        self.desktop.wait_window(BOX_TITLE)
        alerts = find_accessible(self.tree(), "alert")
        self.assertEqual(len(alerts), 1)
        self.assertTrue(find_accessible(alerts[0], "label", "Can't find file!!"))
        self.dismiss_box("Can't find file!!")
        self.assertEqual(self.buttons(), ["Go", "Quit"])
        self.desktop.request_close(window)
        self.assert_no_critical()

    def test_without_a_description_the_picture_is_passed_over(self):
        self.write("art/quarters.bmp", quartered_bmp())
        self.write_menu("Title", "art\\quarters.bmp", "1", "Leave", "$exit$")
        self.start()
        window = self.desktop.wait_window("^Title$")
        tree = self.tree()
        named = [node for role in ("image", "icon") for node in find_accessible(tree, role)]
        self.assertEqual(named, [])
        self.assertEqual(len(find_accessible(tree, "redundant object")), 1)
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_the_tree_read_around_the_missing_menu_files_box_prints_no_critical(self):
        self.start()
        box = self.desktop.wait_window(BOX_TITLE)
        self.assertTrue(find_accessible(self.tree(), "label",
                                        "Can't locate menu options definition file."))
        self.desktop.keys(box, "Return")
        window = self.desktop.wait_window("^Tolvar_Autorun$")
        tree = self.tree()  # the empty list, and the box's labels gone
        self.assertEqual(find_accessible(tree, "list")[0]["children"], [])
        self.assertEqual(find_accessible(tree, "alert"), [])
        self.desktop.request_close(window)
        self.assert_no_critical()


load_tests = only_own_tests(LanguagesTest)


if __name__ == "__main__":
    unittest.main()
