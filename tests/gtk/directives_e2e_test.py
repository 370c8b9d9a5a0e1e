"""End-to-end tests of what the menu file's directives make the Linux window do: the real program
in a private Xvfb, with the fixture of window_e2e_test.py, driven with xdotool and read back through
what the started programs recorded and the accessibility tree.

Run one test: directives_e2e_test.py DirectivesTest.test_name (TOLVAR_AUTORUN names the program)."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from desktop import find_accessible, wait_until  # noqa: E402
from same_words import ARGUMENTS, WORDS  # noqa: E402
from window_e2e_test import BOX_TITLE, PROMPT, MenuWindowTest, only_own_tests  # noqa: E402


class DirectivesTest(MenuWindowTest):
    def write_word_recorder(self, relative):
        """A program that writes its folder and then each of its arguments, one a line in
        brackets, into the record, whole or not at all."""
        self.write(relative,
                   '#!/bin/sh\n{ pwd -P; for word in "$@"; do printf "[%%s]\\n" "$word"; done; }'
                   ' > "%s.part" && mv "%s.part" "%s"\n' % ((self.record,) * 3), executable=True)

    def record_lines(self):
        if not os.path.exists(self.record):
            return None
        with open(self.record, encoding="utf-8") as file:
            return file.read().splitlines()

    def tree_describing(self, description):
        """The accessibility tree once the list's description is `description`, else None."""
        tree = self.tree()
        return tree if find_accessible(tree, "combo box")[0]["description"] == description else None

    def test_an_entry_starts_with_its_words_in_its_folder_and_closes_the_menu(self):
        self.write_word_recorder("programs/words.sh")
        os.makedirs(os.path.join(self.medium, "programs", "sub"))
        self.write_menu("Title", "$null$", "1", "'#arguments: " + ARGUMENTS,
                        "'#directory: programs\\Sub", "'#after-launch: close", "Words",
                        "programs\\words.sh")
        self.start()
        window = self.desktop.wait_window("^Title$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        lines = wait_until(self.record_lines, what="the program's record")
        folder = os.path.realpath(os.path.join(self.medium, "programs", "sub"))
        self.assertEqual(lines, [folder] + ["[%s]" % word for word in WORDS])
        self.assertEqual(self.ended(), (0, ""))

    def test_entries_for_the_other_system_are_not_listed_and_the_rest_keep_their_programs(self):
        for name in ("windows.sh", "linux.sh", "both.sh"):
            self.write_helper(name)
        self.write_menu("Title", "$null$", "4",
                        "'#system: windows", "Windows only", "programs\\windows.sh",
                        "'#system: linux", "Linux only", "programs\\linux.sh",
                        "Both", "programs\\both.sh",
                        "'#system: windows", "Windows too", "programs\\windows.sh")
        self.start()
        window = self.desktop.wait_window("^Title$")
        items = [item["name"] for item in self.combo()["children"][0]["children"]]
        self.assertEqual(items, [PROMPT, "Linux only", "Both"])
        # Directives without a description leave the window as it always was.
        self.assertEqual(self.desktop.geometry(window)[2:], (508, 175))
        for count, name in [(1, "linux.sh"), (2, "both.sh")]:
            self.choose(window, 1)
            self.desktop.keys(window, "Return")
            wait_until(lambda: len(self.recorded()) == count, what=name + " to start")
            self.assertEqual(self.recorded()[-1][0], name)
        self.assertIsNone(self.menu.poll(), "the menu stays open")

    def test_the_chosen_entrys_description_shows_under_the_list_and_is_read_with_it(self):
        plain = "Installs <b>everything</b> & the samples"  # shown as written, not as markup
        long = "A description that goes on and on " * 40
        heavy = "a" + "\u0301" * 32000  # one letter with accents that take long to shape
        descriptions = [("Install", plain), ("Nothing to say", ""), ("Long", long),
                        ("Heavy", heavy)]
        lines = []
        for caption, description in descriptions:
            lines += (["'#description: " + description] if description else []) + \
                [caption, "$null$"]
        self.write_menu("Title", "$null$", str(len(descriptions)), *lines)
        self.start()
        window = self.desktop.wait_window("^Title$")
        # One row more: 405 twips are 27 pixels at 96 dots per inch.
        self.assertEqual(self.desktop.geometry(window)[2:], (508, 202))
        self.assertEqual(self.combo()["description"], "")

        self.desktop.keys(window, "Tab", "Tab")
        for caption, description in descriptions:
            self.desktop.keys(window, "Down")
            tree = wait_until(lambda: self.tree_describing(description),
                              what="the description of " + caption)
            self.assertEqual(find_accessible(tree, "combo box")[0]["name"], caption)
            # The row shows as much as fits any screen; a screen reader gets it all.
            labels = [node["name"] for node in find_accessible(tree, "label")]
            self.assertIn(description[:256], labels)
            self.assertEqual(self.desktop.geometry(window)[2:], (508, 202), caption)
        # Drawn at once, the heavy one leaves the window answering keys.
        self.desktop.keys(window, "Up")
        wait_until(lambda: self.combo()["name"] == "Long", timeout=4, what="the list to move")
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_each_item_of_the_list_is_read_with_its_entrys_description(self):
        entries = [("Install", "Installs the product"), ("Readme", ""),
                   ("Web", "Opens the website")]
        lines = []
        for caption, description in entries:
            lines += (["'#description: " + description] if description else []) + \
                [caption, "$null$"]
        self.write_menu("Title", "$null$", str(len(entries)), *lines)
        self.start()
        window = self.desktop.wait_window("^Title$")
        items = self.combo()["children"][0]["children"]
        self.assertEqual([(item["name"], item["description"]) for item in items],
                         [(PROMPT, "")] + entries)

        # Someone arrowing through the open list hears each item with its description.
        self.desktop.keys(window, "Tab", "Tab", "alt+Down")
        wait_until(lambda: "expanded" in self.combo()["states"], what="the popup")

        def focused_cell(caption):
            cells = [cell for cell in find_accessible(self.tree(), "table cell", caption)
                     if "focused" in cell["states"]]
            return cells[0] if cells else None
        for caption, description in entries:
            self.desktop.keys(window, "Down")
            cell = wait_until(lambda: focused_cell(caption), what="the cursor on " + caption)
            self.assertEqual(cell["description"], description, caption)
        self.desktop.keys(window, "Escape")
        wait_until(lambda: "expanded" not in self.combo()["states"], what="the popup to close")
        self.desktop.request_close(window)
        self.assertEqual(self.ended(), (0, ""))

    def test_a_link_opens_in_the_default_browser_as_written_and_one_nothing_opens_warns(self):
        # As written but for what could end the browser's argument: the blank and a fullwidth
        # quote (which Windows' ANSI conversion makes a real one) come percent-encoded, as on
        # Windows; nothing is expanded.
        link = "https://example.com/setup?a=1&b=$HOME;c='x' d\uff02e"
        sent = "https://example.com/setup?a=1&b=$HOME;c='x'%20d%EF%BC%82e"
        opened = os.path.join(self.medium, "opened.txt")
        self.write("desktop/browser.sh",
                   '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s.part" && mv "%s.part" "%s"\n'
                   % (opened, opened, opened), executable=True)
        self.write("desktop/data/applications/tolvar-browser.desktop",
                   "[Desktop Entry]\nType=Application\nName=Browser\n"
                   "MimeType=x-scheme-handler/https;\nExec=%s %%u\n"
                   % os.path.join(self.medium, "desktop", "browser.sh"))
        self.write("desktop/config/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/https=tolvar-browser.desktop\n")
        data = os.path.join(self.medium, "desktop", "data")
        config = os.path.join(self.medium, "desktop", "config")
        # Only the stand-in is there to open anything; the message box still finds its icons'
        # types and the schemas.
        for name in ("glib-2.0", "mime"):
            os.symlink(os.path.join("/usr/share", name), os.path.join(data, name))
        env = dict(self.desktop.env, XDG_DATA_HOME=data, XDG_DATA_DIRS=data,
                   XDG_CONFIG_HOME=config, XDG_CONFIG_DIRS=config)
        self.write_menu("Title", "$null$", "2", "Our website", link, "Write to us",
                        "mailto:help@example.com")
        self.start(env=env)
        window = self.desktop.wait_window("^Title$")
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        wait_until(lambda: os.path.exists(opened), what="the browser to open the link")
        with open(opened) as file:
            self.assertEqual(file.read(), sent + "\n")
        self.assertEqual(self.desktop.windows(BOX_TITLE), [])

        # No program is there for mail: the failure is told, with the link as written.
        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.desktop.wait_window(BOX_TITLE)
        labels = [node["name"] for node in find_accessible(self.tree(), "label")]
        self.assertTrue(any(label.startswith('Can\'t start "mailto:help@example.com": ')
                            for label in labels), labels)
        self.assertIsNone(self.menu.poll(), "the menu stays open")

    def test_the_authors_message_texts_and_box_title_and_texts_too_heavy_to_shape(self):
        heavy = "a" + "\u0301" * 32000  # took the window 15 s to show, the box 59 s
        self.write("docs/readme.txt", "Read me\n")
        # A program whose interpreter is missing: the system cannot start it.
        self.write("kaputt.sh", "#!/nonexistent/interpreter\n", executable=True)
        self.write_menu("'#message-title: Hinweis", "'#not-found-message: Datei fehlt " + heavy,
                        "'#cannot-start-message: Kann nicht starten",
                        "'#no-program-message: Kein Programm \u00f6ffnet diese Art Datei.",
                        "'#launch-caption: " + heavy,
                        "'#quit-caption: " + heavy, "Title", "$null$", "3", "Fehlt", "fehlt.sh",
                        "Lies mich", "docs\\readme.txt", "Kaputt", "kaputt.sh")
        # Nothing is there to open a document with: the box says so in the author's words.
        data = os.path.join(self.medium, "share")
        os.makedirs(data)
        for name in ("glib-2.0", "mime"):
            os.symlink(os.path.join("/usr/share", name), os.path.join(data, name))
        self.start(dict(self.desktop.env, XDG_DATA_DIRS=data, XDG_DATA_HOME=data,
                        XDG_CONFIG_HOME=data, XDG_CONFIG_DIRS=data))
        # Within the usual wait, which a busy machine needs too: shaping them took 15 s and more.
        window = self.desktop.wait_window("^Title$")
        buttons = [node["name"] for node in find_accessible(self.tree(), "push button")]
        self.assertEqual(buttons, [heavy[:256]] * 2)

        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        box = self.desktop.wait_window("^Hinweis$")
        labels = [node["name"] for node in find_accessible(self.tree(), "label")]
        self.assertIn(("Datei fehlt " + heavy)[:1024], labels)
        self.desktop.keys(box, "Return")
        wait_until(lambda: not self.desktop.windows("^Hinweis$"), what="the box to go")

        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        box = self.desktop.wait_window("^Hinweis$")
        labels = [node["name"] for node in find_accessible(self.tree(), "label")]
        self.assertIn('Kein Programm \u00f6ffnet diese Art Datei.\n\n"docs\\readme.txt"', labels)
        self.desktop.keys(box, "Return")
        wait_until(lambda: not self.desktop.windows("^Hinweis$"), what="the box to go")

        self.choose(window, 1)
        self.desktop.keys(window, "Return")
        self.desktop.wait_window("^Hinweis$")
        labels = [node["name"] for node in find_accessible(self.tree(), "label")]
        self.assertIn('Kann nicht starten\n\n"kaputt.sh": No such file or directory', labels)
        self.assertEqual(self.desktop.windows(BOX_TITLE), [])


load_tests = only_own_tests(DirectivesTest)


if __name__ == "__main__":
    unittest.main()
