// The checks of the medium around the menu file, on views built in memory: each fault an author
// makes in autorun.inf, the Linux autostart files and names, and a medium without any.
#include "menu_check/checks/medium_checks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace tolvar {
namespace {

using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

// A view of `paths` (a trailing '/' makes a folder, a leading '*' an executable file) with the
// given contents.
MediumView View(const std::vector<std::string>& paths,
                const std::vector<std::pair<std::string, std::string>>& contents = {}) {
  MediumView view;
  for (std::string path : paths) {
    MediumName name;
    if (path[0] == '*') {
      name.executable = true;
      path.erase(0, 1);
    }
    if (path.back() == '/') {
      name.directory = true;
      path.pop_back();
    }
    name.path = path;
    view.names.push_back(name);
  }
  for (const auto& [path, text] : contents) view.contents[path] = text;
  view.Index();
  return view;
}

// Each finding as "FILE:LINE severity: message".
std::vector<std::string> Lines(const std::vector<Finding>& findings) {
  std::vector<std::string> lines;
  for (const Finding& f : findings) {
    const char* severity = f.severity == Severity::kError  ? " error: "
                           : f.severity == Severity::kNote ? " note: "
                                                           : " warning: ";
    lines.push_back(f.file + ":" + std::to_string(f.line) + severity + f.message);
  }
  return lines;
}

// The image's views answer lookups as each system does: Windows ignores case, the Linux menu
// matches a missing component only to the one name of its folder that differs in case alone.
TEST(MediumViewTest, LookupsAsEachSystemFindsAName) {
  const MediumView view = View({"SETUP/", "SETUP/SETUP.EXE", "docs/", "docs/Read.me",
                                "docs/READ.ME", "A/", "A/x", "a/", "a/y"});
  EXPECT_EQ(view.AsLinuxMenuFinds("setup/setup.exe")->path, "SETUP/SETUP.EXE");
  EXPECT_EQ(view.AsLinuxMenuFinds("docs/Read.me")->path, "docs/Read.me");
  EXPECT_EQ(view.AsLinuxMenuFinds("docs/read.me"), nullptr);
  EXPECT_NE(view.IgnoringCase("DOCS/read.me"), nullptr);
  EXPECT_EQ(view.AsLinuxMenuFinds("A/Y"), nullptr);  // "A" exists as written, and holds no y
  EXPECT_EQ(view.AsLinuxMenuFinds("a/Y")->path, "a/y");
}

std::vector<std::string> AutorunInf(const std::string& text,
                                    std::vector<std::string> paths = {"autorun.inf"}) {
  std::vector<Finding> findings;
  CheckAutorunInf(View(paths, {{paths[0], text}}), &findings);
  return Lines(findings);
}

constexpr char kGoodInf[] =
    "; comment\r\n[AutoRun]\r\nOPEN=Tolvar-Autorun.exe\r\nicon=tolvar-autorun.exe,0\r\n"
    "label=Demo\r\naction=Open the menu\r\n";

// `text` as Notepad's "Unicode" saves it: UTF-16 LE with its byte-order mark.
std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(AutorunInfCheckTest, AGoodFileGetsOnlyTheNoteOnWhatWindowsDoes) {
  const std::u16string good(std::begin(kGoodInf), std::end(kGoodInf) - 1);
  // Saved as UTF-16, as the warning about ANSI advises, letters beyond ASCII reach Windows as
  // written: nothing to warn about.
  const std::string beyond_ascii = Utf16Le(
      u"[autorun]\r\nopen=tolvar-autorun.exe\r\nlabel=Men\u00FC\r\naction=Men\u00FC "
      u"\u00F6ffnen \u05EA\u05E4\u05E8\u05D9\u05D8\r\n");
  for (const std::string& text : {std::string(kGoodInf), Utf16Le(good), beyond_ascii}) {
    EXPECT_THAT(AutorunInf(text, {"AUTORUN.INF", "tolvar-autorun.exe"}),
                ElementsAre(AllOf(HasSubstr("AUTORUN.INF:0 note: what Windows does with it: "),
                                  HasSubstr("USB stick"))));
  }
  EXPECT_THAT(AutorunInf(beyond_ascii, {"autorun.inf", "tolvar-autorun.exe"}),
              ElementsAre(HasSubstr("AutoPlay offers \"Men\u00FC \u00F6ffnen")));
}

TEST(AutorunInfCheckTest, FaultsWindowsStumblesOn) {
  EXPECT_THAT(AutorunInf("[autostart]\r\nopen=x.exe\r\n"),
              ElementsAre(HasSubstr(":0 warning: there is no [autorun] section")));
  EXPECT_THAT(AutorunInf("[autorun]\r\nopen=setup.exe /auto\r\nicon=menu.ico, -3\r\n"),
              ElementsAre(HasSubstr(":2 warning: Windows starts \"setup.exe\", but there is no "),
                          HasSubstr(":3 warning: the icon file \"menu.ico\" is not on the medium"),
                          HasSubstr(":0 warning: no label="), HasSubstr(":0 warning: no action="),
                          HasSubstr("note")));
  // A program with arguments, and one whose name holds a blank.
  EXPECT_THAT(AutorunInf("[autorun]\nopen=\"disk 1\\setup.exe\" /s\nlabel=x\naction=y\n",
                         {"autorun.inf", "disk 1/", "disk 1/SETUP.EXE"}),
              ElementsAre(HasSubstr("note")));
  EXPECT_THAT(AutorunInf("[autorun]\nshellexecute=disk 1\\setup.exe\nlabel=x\naction=y\n",
                         {"autorun.inf", "disk 1/", "disk 1/setup.exe"}),
              ElementsAre(HasSubstr("note")));
  EXPECT_THAT(AutorunInf("[autorun]\nlabel=x\naction=y\n"),
              ElementsAre(HasSubstr("neither open= nor shellexecute="), HasSubstr("note")));
  // Windows reads the mark as part of "[autorun]" and finds no section.
  EXPECT_THAT(AutorunInf("\xEF\xBB\xBF[autorun]\nopen=a.exe\nlabel=x\naction=y\n",
                         {"autorun.inf", "a.exe"}),
              ElementsAre(HasSubstr(":1 warning: the file starts with a UTF-8 byte-order mark"),
                          HasSubstr("note")));
  EXPECT_THAT(
      AutorunInf("[autorun]\nopen=a.exe\nlabel=Caf\xC3\xA9\naction=y\n", {"autorun.inf", "a.exe"}),
      ElementsAre(HasSubstr(":3 warning: label= holds characters beyond ASCII"),
                  HasSubstr("note")));
}

std::vector<std::string> Autostart(const std::vector<std::string>& paths,
                                   const std::vector<std::pair<std::string, std::string>>& contents,
                                   bool modes_known = true) {
  MediumView view = View(paths, contents);
  view.modes_known = modes_known;
  std::vector<Finding> findings;
  CheckLinuxAutostart(view, &findings);
  return Lines(findings);
}

constexpr char kGoodScript[] = "#!/bin/sh\ncd \"$(dirname \"$0\")\" || exit 1\nexec ./menu\n";

TEST(LinuxAutostartCheckTest, TheFirstOfTheThreeNamesIsUsedByItsExactName) {
  EXPECT_THAT(Autostart({"*autorun.sh", "*menu"}, {{"autorun.sh", kGoodScript}}),
              ElementsAre(HasSubstr("autorun.sh:0 note: Linux desktops offer to run this file")));
  EXPECT_THAT(Autostart({"*autorun", "*autorun.sh", "*menu"}, {{"autorun", kGoodScript}}),
              ElementsAre(HasSubstr("autorun:0 note:"),
                          "autorun.sh:0 warning: never used: desktops run \"autorun\", which "
                          "comes first"));
  EXPECT_THAT(Autostart({"*AUTORUN.SH"}, {{"AUTORUN.SH", kGoodScript}}),
              ElementsAre("AUTORUN.SH:0 warning: \"AUTORUN.SH\" is never found: desktops look for "
                          "\"autorun.sh\" by its exact lower-case name"));
  EXPECT_THAT(Autostart({"menu/"}, {}), IsEmpty());
}

TEST(LinuxAutostartCheckTest, ScriptsThatDesktopsRefuseOrThatStartTheMenuElsewhere) {
  EXPECT_THAT(Autostart({"autorun.sh", "*menu"}, {{"autorun.sh", kGoodScript}}),
              ElementsAre(HasSubstr("note"), HasSubstr(":0 note: it has no execute permission")));
  // An image without Rock Ridge keeps no permissions to check.
  EXPECT_THAT(Autostart({"autorun.sh", "*menu"}, {{"autorun.sh", kGoodScript}}, false),
              ElementsAre(HasSubstr("note")));
  EXPECT_THAT(Autostart({"*autorun.sh", "*menu"}, {{"autorun.sh", "cd \"${0%/*}\"\n./menu\n"}}),
              ElementsAre(HasSubstr("note"), HasSubstr(":1 warning: the first line is not a #!")));
  EXPECT_THAT(Autostart({"*autorun.sh"}, {{"autorun.sh", "#!/bin/sh\r\ncd `dirname $0`\r\n"}}),
              ElementsAre(HasSubstr("note"), HasSubstr(":1 warning: the script has CR LF")));
  EXPECT_THAT(Autostart({"*autorun.sh", "*tolvar-autorun"}, {{"autorun.sh",
                                                              "#!/bin/sh\n# cd $0 in a comment\n"
                                                              "./tolvar-autorun\n"}}),
              ElementsAre(HasSubstr("note"),
                          HasSubstr(":0 warning: it does not change to the medium's root")));
  // The program it starts from the root must be there, and be a file: "../x" and "dir/./x" are
  // other paths.
  const std::string starts_menu =
      "#!/bin/sh\ncd \"${0%/*}\" || exit 1\nprogram=./menu\n[ -x ../other ] && exec \"$program\"\n";
  EXPECT_THAT(
      Autostart({"*autorun.sh"}, {{"autorun.sh", starts_menu}}),
      ElementsAre(HasSubstr("note"),
                  "autorun.sh:0 warning: it starts \"./menu\", which is not in the medium's "
                  "root: Linux users who start the medium get no menu; copy the Linux "
                  "program there (the kit's medium folder holds it, and the .deb installs "
                  "it as /usr/bin/tolvar-autorun)"));
  EXPECT_THAT(Autostart({"*autorun.sh", "menu/"}, {{"autorun.sh", starts_menu}}),
              ElementsAre(HasSubstr("note"), HasSubstr("\"./menu\", which is a folder")));
  EXPECT_THAT(Autostart({"*autorun"}, {{"autorun",
                                        "\x7f"
                                        "ELF\x02\x01"}}),
              ElementsAre(HasSubstr("note")));
}

std::vector<std::string> Names(const std::vector<std::string>& paths, Targets targets = {}) {
  std::vector<Finding> findings;
  CheckNames(View(paths), targets, &findings);
  return Lines(findings);
}

// Each system's own file says whether anything starts the menu there; the note names the systems
// checked on which nothing does.
TEST(NothingStartsTheMenuTest, NotedForEachSystemCheckedThatHasNoStarter) {
  std::vector<Finding> ignored;
  const auto windows_starts = [&](const std::string& text) {
    return CheckAutorunInf(View({"autorun.inf"}, {{"autorun.inf", text}}), &ignored);
  };
  EXPECT_TRUE(windows_starts(kGoodInf));
  EXPECT_TRUE(windows_starts("[autorun]\r\nshellexecute=menu\\readme.html\r\n"));
  EXPECT_FALSE(windows_starts("[autorun]\r\nicon=x.ico\r\nlabel=Demo\r\n"));
  EXPECT_FALSE(windows_starts("[autostart]\r\nopen=x.exe\r\n"));
  EXPECT_FALSE(CheckAutorunInf(View({"setup.exe"}), &ignored));
  EXPECT_TRUE(CheckLinuxAutostart(View({"*autorun.sh"}, {{"autorun.sh", kGoodScript}}), &ignored));
  EXPECT_FALSE(CheckLinuxAutostart(View({"*Autorun.sh", "setup.sh"}), &ignored));

  const auto note = [](bool windows_starts, bool linux_starts, Targets targets) {
    std::vector<Finding> findings;
    NoteWhatNothingStarts(windows_starts, linux_starts, targets, &findings);
    return Lines(findings);
  };
  EXPECT_THAT(note(true, true, {}), IsEmpty());
  EXPECT_THAT(note(false, false, {}),
              ElementsAre(".:0 note: nothing starts the menu when the medium comes in: there is "
                          "no autorun.inf with open= for Windows and no autorun.sh for Linux "
                          "desktops in its root, so users start it by hand, as the kit's "
                          "how-to-start.txt tells them: on Windows with a double-click on "
                          "tolvar-autorun.exe, on Linux with a double-click on tolvar-autorun in "
                          "the file manager, or, where the medium's files cannot be started (a "
                          "FAT32 USB stick), with \"sh autorun.sh\" in a terminal"));
  EXPECT_THAT(note(true, false, {}),
              ElementsAre(HasSubstr("nothing starts the menu on Linux when the medium comes in: "
                                    "there is no autorun.sh in its root")));
  EXPECT_THAT(note(false, true, {}),
              ElementsAre(HasSubstr("on Windows when the medium comes in: there is no "
                                    "autorun.inf with open= in its root")));
  // A system left out of the check is left out of the note.
  EXPECT_THAT(note(false, false, {true, false}), ElementsAre(HasSubstr("on Windows when")));
  EXPECT_THAT(note(true, false, {true, false}), IsEmpty());
}

TEST(NameCheckTest, NamesWindowsRefusesOrCannotTellApart) {
  const std::string long_name(65, 'n');
  const std::string deep = std::string(200, 'd') + "/" + std::string(60, 'f');
  EXPECT_THAT(
      Names({"a:b.txt", "what?", "dot.", "blank ", "CON", "nul.txt", "Com7.log", "com10", "console",
             "docs/", "docs/Read.me", "docs/READ.ME", long_name, std::string(200, 'd') + "/",
             deep}),
      ElementsAre("a:b.txt:0 warning: Windows cannot use this name: it holds ':'",
                  "what?:0 warning: Windows cannot use this name: it holds '?'",
                  "dot.:0 warning: Windows cannot use this name: it ends in a dot or a blank",
                  HasSubstr("blank :0 warning: Windows cannot use this name: it ends in a dot"),
                  HasSubstr("CON:0 warning: Windows cannot use this name: it is the name of a "
                            "device (con)"),
                  HasSubstr("nul.txt:0 warning: Windows cannot use this name: it is the name"),
                  HasSubstr("Com7.log:0 warning: Windows cannot use this name: it is the name"),
                  HasSubstr(long_name + ":0 warning: the name is 65 characters long: the Joliet"),
                  HasSubstr(":0 warning: the name is 200 characters long"),
                  HasSubstr(deep + ":0 warning: the path is 261 characters long"),
                  "docs/Read.me:0 warning: names that differ only in letter case stand in one "
                  "folder (\"Read.me\", \"READ.ME\"): Windows keeps only one of them, and the "
                  "Linux menu matches neither when a path spells them otherwise"));
  EXPECT_THAT(Names({"a:b.txt", "CON"}, Targets{false, true}), IsEmpty());
}

}  // namespace
}  // namespace tolvar
