// The checker on small media built in temporary directories: one medium per finding, a clean one,
// and the proof that its errors are the menu's own, word for word.
#include "menu_check/menu_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "menu_form/menu_form.h"
#include "picture/picture_loader.h"
#include "shared_routines/plain_program.h"
#include "shared_routines/run_time_error.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

using Entries = std::vector<std::pair<std::string, std::string>>;

// A 24-bit bitmap of `width` x 1 pixels (at most 85), which every platform's loader reads.
std::string Bitmap(int width) {
  const int row = (width * 3 + 3) / 4 * 4;
  const auto u32 = [](int value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8), '\0', '\0'};
  };
  return "BM" + u32(54 + row) + u32(0) + u32(54) +  // file header: size, pixels' offset
         u32(40) + u32(width) + u32(1) +
         std::string("\x01\0\x18\0", 4) +  // info header: width x 1, 24 bits
         u32(0) + u32(row) + u32(2835) + u32(2835) + u32(0) + u32(0) + std::string(row, '\x40');
}

// Shaped like the picture area, about four times as wide as high: the smallest picture the checker
// has nothing to say about.
std::string TinyBitmap() { return Bitmap(4); }

// Title on line 1, splash on 2, count on 3; entry i's caption on line 2i + 2, command on 2i + 3.
std::string Menu(const std::string& splash, const Entries& entries, const std::string& tail = "",
                 int count = -1) {
  std::string text = "Title\r\n" + splash + "\r\n" +
                     std::to_string(count < 0 ? static_cast<int>(entries.size()) : count) + "\r\n";
  for (const auto& [caption, command] : entries) text += caption + "\r\n" + command + "\r\n";
  return text + tail;
}

// Each finding as "LINE severity: message".
std::vector<std::string> Lines(const CheckReport& report) {
  std::vector<std::string> lines;
  for (const Finding& f : report.findings) {
    lines.push_back(std::to_string(f.line) +
                    (f.severity == Severity::kError  ? " error: "
                     : f.severity == Severity::kNote ? " note: "
                                                     : " warning: ") +
                    f.message);
  }
  return lines;
}

// 1024 entries whose captions come just under the longest line, together just over the text the
// menu keeps at the last one; captions of combining marks, which take no width, and commands that
// do nothing, so that the checker has nothing else to say.
std::string MoreTextThanTheMenuKeeps() {
  std::string caption = "A";
  for (int i = 0; i < 32767; ++i) caption += "\xCC\x81";
  std::string definition = "Title\r\n$null$\r\n1024\r\n";
  for (int i = 0; i < 1024; ++i) definition += caption + "\r\n$null$\r\n";
  return definition;
}

class MenuCheckTest : public testing::Test {
 protected:
  CheckReport Check(const std::string& definition, const Targets& targets = {}) {
    medium_.WriteDefinition(definition);
    return CheckMenu(".", targets);
  }
  // The findings for a medium with one entry whose command is `command`, listed on both systems,
  // less the warning that a Windows program or shell script is listed on the other system too,
  // which system_fit_check_test.cc tests.
  std::vector<std::string> CommandFindings(const std::string& command) {
    std::vector<std::string> found;
    for (std::string& line : Lines(Check(Menu("$null$", {{"Entry", command}})))) {
      if (line.find("\" is a Windows program, but the entry is listed on Linux") ==
              std::string::npos &&
          line.find("\" is a shell script for Linux, but the entry is listed on Windows") ==
              std::string::npos) {
        found.push_back(std::move(line));
      }
    }
    return found;
  }

  ScratchMedium medium_;
};

TEST_F(MenuCheckTest, CleanMediumGivesNoFindings) {
  medium_.Write("menu/splash.bmp", TinyBitmap());
  medium_.Write("setup/setup.exe", "MZ");
  medium_.Write("readme.txt", "text");
  const CheckReport report = Check(
      "' A medium without a fault, comments and blank lines between\r\n\r\nTitle\r\n"
      "menu\\splash.bmp\r\n 4 \r\n' entries\r\n'#system: windows\r\nInstall\r\nsetup\\setup.exe\r\n"
      "----------\r\n$null$\r\nRead me\r\nreadme.txt\r\n----------\r\n$null$\r\n"
      "' Leave entry follows? no: four entries only\r\n\r\n");
  EXPECT_TRUE(report.checked);
  EXPECT_EQ(report.entries, 4);
  EXPECT_THAT(Lines(report), IsEmpty());
  EXPECT_EQ(report.ExitStatus(), 0);
}

// The checker must never disagree with the menu: the same file fails at the same line with the
// same words in both.
TEST_F(MenuCheckTest, ErrorsAreTheMenusOwnWordForWord) {
  medium_.Write("menu/splash.bmp", "not a picture");
  const std::vector<std::string> faulty = {
      Menu("$null$", {{"A", "$exit$"}}, "", 2),  // the file ends early
      Menu("$null$", {{"A", "$exit$"}}, "", 0),
      "Title\r\n$null$\r\ntwo\r\nA\r\n$exit$\r\n",
      "Title\r\n$null$\r\n32767\r\nA\r\n$exit$\r\n",
      "Title\r\n$null$\r\n70000\r\nA\r\n$exit$\r\n",
      "Title\r\n",
      Menu("menu/splash.bmp", {{"A", "$exit$"}}),
      MoreTextThanTheMenuKeeps(),
  };
  for (const std::string& definition : faulty) {
    const CheckReport report = Check(definition);
    ASSERT_EQ(report.Count(Severity::kError), 1) << definition;
    EXPECT_EQ(report.ExitStatus(), 2);

    FakeMenuView view;
    FakeProgramStart starter;
    MenuForm form(view, starter, ".", System::kWindows);
    view.Attach(&form);
    view.splash_result = CheckPicture("menu/splash.bmp");  // what the window's loader answers
    ASSERT_FALSE(view.splash_result.ok);
    try {
      form.OnLoad();
      ADD_FAILURE() << "the menu loaded " << definition;
    } catch (const RunTimeError& error) {
      EXPECT_THAT(Lines(report),
                  ElementsAre(std::to_string(error.line()) + " error: " + error.detail()));
    }
  }
}

TEST_F(MenuCheckTest, WhatWasReadBeforeAnErrorIsStillChecked) {
  // Entry 1 is read before the file ends; a bad count still leaves the pairs after it to check.
  EXPECT_THAT(Lines(Check(Menu("$null$", {{"A", "missing.exe"}}, "B\r\n", 2))),
              ElementsAre(HasSubstr("5 warning: entry 1: Launch says \"Can't find file!!\""),
                          HasSubstr("7 error: the file ends where the command of entry 2")));
  EXPECT_THAT(Lines(Check(Menu("$null$", {{"A", "$exit$"}, {"B", "gone.exe"}}, "", 0))),
              ElementsAre(HasSubstr("3 error: the number of entries must be"),
                          HasSubstr("7 warning: entry 2: Launch says")));
}

TEST_F(MenuCheckTest, CommandsThatLaunchWouldNotRunAsMeant) {
  medium_.Write("setup/Setup.exe", "MZ");
  std::filesystem::create_directories("docs");
  const std::string not_found = "5 warning: entry 1: Launch says \"Can't find file!!\": ";
  EXPECT_THAT(CommandFindings("setup\\install.exe"),
              ElementsAre(not_found + "there is no file \"setup\\install.exe\" on the medium"));
  EXPECT_THAT(
      CommandFindings("setup\\Setup.exe /S"),
      ElementsAre(not_found + "the command carries arguments after the program "
                              "\"setup\\Setup.exe\", but the whole line is taken as the "
                              "program's path: make the command \"setup\\Setup.exe\" and "
                              "put the line \"'#arguments: /S\" above the entry's caption"));
  EXPECT_THAT(CommandFindings(" setup\\Setup.exe"),
              ElementsAre(HasSubstr("blanks before or after the path \"setup\\Setup.exe\"")));
  EXPECT_THAT(CommandFindings("setup\\Setup.exe  "),
              ElementsAre(HasSubstr("ends in blanks after the path: Launch on Windows ignores "
                                    "them, but on Linux says \"Can't find file!!\"")));
  EXPECT_THAT(CommandFindings("docs"),
              ElementsAre(not_found + "\"docs\" is a directory, not a file"));
  for (const char* keyword : {"$Exit$", " $null$", "$exit$ ", "$NULL$"}) {
    EXPECT_THAT(CommandFindings(keyword),
                ElementsAre(AllOf(HasSubstr("is not the keyword $"), HasSubstr("only exactly"))))
        << keyword;
  }
  EXPECT_THAT(CommandFindings("setup\\*.exe"),
              ElementsAre(HasSubstr("holds a wildcard (* or ?): Launch cannot start a pattern, "
                                    "even one that matches a file")));
  EXPECT_THAT(CommandFindings("setup\\?.exe"), ElementsAre(HasSubstr("and says \"Can't find")));
  // Found on both systems, but only because the names are matched without regard to case.
  EXPECT_THAT(CommandFindings("SETUP\\setup.exe"),
              ElementsAre("5 warning: entry 1: the file is spelled \"setup\\Setup.exe\" on the "
                          "medium: Launch finds \"SETUP\\setup.exe\" on Windows and Linux only "
                          "because letter case is ignored"));
  EXPECT_THAT(CommandFindings("setup/Setup.exe"), IsEmpty());
}

TEST_F(MenuCheckTest, ControlCharactersFromTheMediumAreEscapedInWarnings) {
  // Clears the terminal and rings the bell if printed raw.
  const std::vector<std::string> findings = CommandFindings("\x1B[2J\x1B[Hsetup.exe\x07");
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].find_first_of("\x1B\x07"), std::string::npos) << findings[0];
  EXPECT_THAT(findings[0], HasSubstr("\\x1B[2J\\x1B[Hsetup.exe\\x07"));
}

TEST_F(MenuCheckTest, InvisibleCharactersInCaptionsAndCommandsWithTheirPositions) {
  medium_.Write("readme\xE2\x80\xAEhs.txt", "x");
  const std::vector<std::string> findings =
      Lines(Check(Menu("$null$", {{"Read me\xE2\x80\xAE"
                                   "hs.txt",
                                   "readme\xE2\x80\xAEhs.txt"},
                                  {"Se\xE2\x80\x8Btup \xD8\x9C", "$exit$"},
                                  {"Caf\xC3\xA9 \xE2\x80\x94 plain", "$null$"}})));
  EXPECT_THAT(findings,
              ElementsAre(AllOf(HasSubstr("4 warning: entry 1: the caption"),
                                HasSubstr("U+202E (right-to-left override) at character 8")),
                          AllOf(HasSubstr("5 warning: entry 1: the command"),
                                HasSubstr("U+202E (right-to-left override) at character 7")),
                          AllOf(HasSubstr("6 warning: entry 2: the caption"),
                                HasSubstr("U+200B (zero-width space) at character 3, U+061C "
                                          "(Arabic letter mark) at character 8"))));
}

// The title and every text a directive gives, with the characters that hide text beyond the
// zero-width ones: fillers that look like a blank, tag characters, a line separator.
TEST_F(MenuCheckTest, InvisibleCharactersInTheTitleAndEveryDirectiveValue) {
  medium_.Write("setup/setup.exe", "MZ");
  const std::string menu =
      "'#prompt: Pick\xE3\x85\xA4\r\n"                   // 1: U+3164 Hangul filler
      "'#not-found-message: gone\xF3\xA0\x80\x81x\r\n"   // 2: U+E0001 language tag
      "'#launch-caption: Go\xE2\x80\xA8\r\n"             // 3: U+2028 line separator
      "Ti\xCD\x8Ftle\r\n$null$\r\n2\r\n"                 // 4: U+034F combining grapheme joiner
      "'#arguments: /S\xE1\xA0\x8E\r\n"                  // 7: U+180E Mongolian vowel separator
      "'#directory: setup\xE2\xA0\x80\r\n"               // 8: U+2800 braille pattern blank
      "A\r\nsetup\\setup.exe\r\n"                        // 9-10
      "'#description: \xE1\x85\x9F\r\nB\r\n$exit$\r\n";  // 11-13: U+115F Hangul filler
  const std::vector<std::string> findings = Lines(Check(menu));
  for (const auto& [line, what] :
       {std::pair("1 warning: '#prompt: ", "U+3164 (Hangul filler) at character 5"),
        std::pair("2 warning: '#not-found-message: ", "U+E0001 (tag character) at character 5"),
        std::pair("3 warning: '#launch-caption: ", "U+2028 (line separator) at character 3"),
        std::pair("4 warning: the title ", "U+034F (combining grapheme joiner) at character 3"),
        std::pair("7 warning: entry 1: '#arguments: ",
                  "U+180E (Mongolian vowel separator) at character 3"),
        std::pair("8 warning: entry 1: '#directory: ",
                  "U+2800 (braille pattern blank) at character 6"),
        std::pair("11 warning: entry 2: the description ",
                  "U+115F (Hangul filler) at character 1")}) {
    EXPECT_THAT(findings, Contains(AllOf(HasSubstr(line), HasSubstr(what)))) << line;
  }
}

// The menu refuses to start a program whose arguments or folder hold a NUL (every system would
// end the text there): the checker says so as an error, not as a folder it cannot find.
TEST_F(MenuCheckTest, NulInArgumentsOrFolderIsAnError) {
  medium_.Write("setup/setup.exe", "MZ");
  const std::string nul("\0", 1);
  const CheckReport report =
      Check("Title\r\n$null$\r\n2\r\n'#arguments: /S" + nul + "/X\r\nA\r\nsetup\\setup.exe\r\n" +
            "'#directory: setup" + nul + "..\r\nB\r\nsetup\\setup.exe\r\n");
  EXPECT_THAT(Lines(report),
              Contains(AllOf(HasSubstr("4 error: entry 1: '#arguments: "),
                             HasSubstr("holds a NUL character, at which every system ends an "
                                       "argument: Launch says \"Can't start\""))));
  EXPECT_THAT(Lines(report), Contains(AllOf(HasSubstr("7 error: entry 2: '#directory: "),
                                            HasSubstr("ends a folder's name"))));
  EXPECT_EQ(report.ExitStatus(), 2);
}

// A file with thousands of such texts gets a bounded report.
TEST_F(MenuCheckTest, InvisibleCharactersAreNamedAFewTimesThenCounted) {
  std::string menu;
  for (int i = 0; i < 500; ++i) menu += "'#prompt: P\xE2\x80\x8B\r\n";
  const std::vector<std::string> findings =
      Lines(Check(menu + "Title\r\n$null$\r\n1\r\nA\r\n$exit$\r\n"));
  int named = 0;
  for (const std::string& finding : findings) named += finding.find("U+200B") != std::string::npos;
  EXPECT_EQ(named, 20);
  EXPECT_THAT(findings, Contains(HasSubstr("21 warning: and 480 more texts with characters that "
                                           "show nothing")));
}

TEST_F(MenuCheckTest, BatchFilesThatCmdWouldExpandOrSplit) {
  for (const char* name : {"%OS%.bat", "a&b.CMD", "x^y.bat"}) {
    medium_.Write(name, "@echo off");
    EXPECT_THAT(CommandFindings(name),
                ElementsAre(AllOf(HasSubstr("Launch on Windows does not start"),
                                  HasSubstr("batch file whose path holds"))))
        << name;
  }
  medium_.Write("100%.txt", "x");
  medium_.Write("setup.bat", "@echo off");
  EXPECT_THAT(CommandFindings("100%.txt"), Not(Contains(HasSubstr("batch file"))));
  EXPECT_THAT(CommandFindings("setup.bat"), Not(Contains(HasSubstr("batch file"))));
}

#ifndef _WIN32
// Two names that differ only in case: Windows keeps one, Linux cannot tell which is meant.
TEST_F(MenuCheckTest, NamesThatLinuxCannotMatchWithoutRegardToCase) {
  medium_.Write("setup/Setup.exe", "MZ");
  medium_.Write("setup/SETUP.EXE", "MZ");
  EXPECT_THAT(CommandFindings("setup\\setup.exe"),
              ElementsAre(AllOf(HasSubstr("beside a name that differs from it only in letter "
                                          "case: Launch finds \"setup\\setup.exe\" on Windows"),
                                HasSubstr("on Linux"))));
  std::filesystem::remove_all("menu");
  medium_.Write("Menu/config.mnu", Menu("$null$", {{"A", "$exit$"}}));
  medium_.Write("MENU/config.mnu", Menu("$null$", {{"A", "$exit$"}}));
  EXPECT_THAT(Lines(CheckMenu(".")),
              ElementsAre(HasSubstr("on Linux it says \"Can't locate menu options")));
  // Letters beyond A to Z: one name to Windows, two to the Linux menu, whatever else the folder
  // holds.
  medium_.Write("Instala\xC3\xA7\xC3\xA3o/setup.exe", "MZ");
  EXPECT_THAT(CommandFindings("INSTALA\xC3\x87\xC3\x83O\\setup.exe"),
              ElementsAre(AllOf(HasSubstr("spelled \"Instala\xC3\xA7\xC3\xA3o\\setup.exe\" on the "
                                          "medium, a difference in the case of letters beyond A "
                                          "to Z, which only Windows ignores"),
                                HasSubstr("\"Can't find file!!\" on Linux"))));
}

// The checker asks the menu's own rule (LaunchWithoutExecuteBit): what the menu starts through a
// loader or an interpreter is a note, what it can only hand to the desktop is a warning.
TEST_F(MenuCheckTest, ProgramsWithoutTheExecutePermissionOnLinux) {
  namespace fs = std::filesystem;
  std::ifstream self("/proc/self/exe", std::ios::binary);
  std::string dynamic_elf(kProgramHeadBytes, '\0');
  self.read(&dynamic_elf[0], dynamic_elf.size());
  dynamic_elf.resize(self.gcount());
  ASSERT_EQ(PlainProgramRunner(dynamic_elf).kind, ProgramRunner::Kind::kElf);
  medium_.Write("tools/run.sh", "#!/bin/sh\n");
  medium_.Write("tools/tool", dynamic_elf);
  medium_.Write("tools/static", std::string("\x7f"
                                            "ELF\x01\x01",
                                            6));  // no PT_INTERP: only the kernel loads it
  medium_.Write("tools/relative.sh", "#!sh\n");   // Linux wants an absolute interpreter
  medium_.Write("tools/ready.sh", "#!/bin/sh\n");
  medium_.Write("setup.exe", "MZ");      // for Windows only
  medium_.Write("manual.txt", "words");  // a document the desktop opens
  fs::permissions("tools/ready.sh", fs::perms::owner_exec, fs::perm_options::add);
  for (const char* program : {"tools/run.sh", "tools/tool"}) {
    EXPECT_THAT(
        CommandFindings(program),
        ElementsAre(AllOf(HasSubstr("note"), HasSubstr("the Linux menu starts it all the same"))))
        << program;
  }
  for (const char* program : {"tools/static", "tools/relative.sh"}) {
    EXPECT_THAT(CommandFindings(program),
                ElementsAre(AllOf(HasSubstr("warning"), HasSubstr("nothing but the permission"),
                                  HasSubstr("opens it as a document"))))
        << program;
  }
  for (const char* file : {"tools/ready.sh", "setup.exe", "manual.txt"}) {
    EXPECT_THAT(CommandFindings(file), IsEmpty()) << file;
  }
}
#endif

TEST_F(MenuCheckTest, SplashPathsThatShowNoPicture) {
  medium_.Write("menu/Splash.bmp", TinyBitmap());
  EXPECT_THAT(Lines(Check(Menu("menu\\logo.bmp", {{"A", "$exit$"}}))),
              ElementsAre("2 warning: no picture is shown: there is no file \"menu\\logo.bmp\" on "
                          "the medium"));
  EXPECT_THAT(Lines(Check(Menu("menu\\splash.bmp", {{"A", "$exit$"}}))),
              ElementsAre("2 warning: the picture is spelled \"menu\\Splash.bmp\" on the medium: "
                          "the menu shows it on Windows and Linux only because letter case is "
                          "ignored"));
  EXPECT_THAT(Lines(Check(Menu("menu\\Splash.bmp ", {{"A", "$exit$"}}))),
              ElementsAre(HasSubstr("2 warning: the line ends in blanks after the path")));
  EXPECT_THAT(Lines(Check(Menu("menu", {{"A", "$exit$"}}))),
              ElementsAre(HasSubstr("no picture is shown: \"menu\" is a directory")));
  // No picture is what these ask for.
  EXPECT_THAT(Lines(Check(Menu("$NULL$", {{"A", "$exit$"}}))), IsEmpty());
  EXPECT_THAT(Lines(Check(Menu("$null$", {{"A", "$exit$"}}))), IsEmpty());
}

// The area is 489 x 121: a square picture is squeezed fourfold, 3 x 1 and 6 x 1 stay within the
// factor 1.5 either way, 2 x 1 and 7 x 1 go past it.
TEST_F(MenuCheckTest, PicturesShapedMuchUnlikeTheAreaAreNoted) {
  const std::string menu = Menu("menu\\splash.bmp", {{"A", "$exit$"}});
  for (int width : {3, 4, 6}) {
    medium_.Write("menu/splash.bmp", Bitmap(width));
    EXPECT_THAT(Lines(Check(menu)), IsEmpty()) << width;
  }
  medium_.Write("menu/splash.bmp", Bitmap(7));
  const CheckReport wide = Check(menu);
  EXPECT_THAT(Lines(wide),
              ElementsAre("2 note: the picture is 7 x 1 pixels and is stretched to the "
                          "picture area, about 489 x 121 at 96 DPI, without keeping "
                          "its proportions: it shows squeezed from the sides by a "
                          "factor of 1.7"));
  EXPECT_EQ(wide.ExitStatus(), 0);  // a note counts for nothing
  medium_.Write("menu/splash.bmp", Bitmap(2));
  EXPECT_THAT(Lines(Check(menu)), ElementsAre(HasSubstr("squeezed from above and below by a "
                                                        "factor of 2.0")));
}

TEST_F(MenuCheckTest, LinesAfterTheLastEntryAreReportedOnceWithTheCountTheyWouldNeed) {
  const CheckReport report =
      Check(Menu("$null$", {{"A", "$exit$"}}, "' comment\r\n\r\nB\r\n$null$\r\nC\r\n$exit$\r\n"));
  EXPECT_THAT(Lines(report),
              ElementsAre("8 warning: 4 significant lines follow the last entry the count "
                          "announces (1) and are never read: is the count too small? With them it "
                          "would be 3."));
  EXPECT_EQ(report.ExitStatus(), 1);
  EXPECT_THAT(Lines(Check(Menu("$null$", {{"A", "$exit$"}}, "stray\r\n"))),
              ElementsAre(HasSubstr("6 warning: a significant line follows the last entry")));
}

TEST_F(MenuCheckTest, CaptionsAlikeOrTooLong) {
  const std::string long_caption = "Install the complete product with every optional component";
  EXPECT_THAT(Lines(Check(Menu("$null$", {{"Install", "$exit$"},
                                          {"---", "$null$"},
                                          {"---", "$null$"},  // spacers repeat on purpose
                                          {"Install", "$null$"},
                                          {long_caption, "$exit$"}}))),
              ElementsAre("10 warning: entry 4 has the same caption as entry 1 (line 4), "
                          "\"Install\": the list shows two entries alike",
                          AllOf(HasSubstr("12 warning: entry 5: the caption's end is cut off on "
                                          "Windows and Linux: on Windows it is about "),
                                HasSubstr("pixels wide and the list shows about 192; on Linux "))));
}

TEST_F(MenuCheckTest, MenuFileThatCannotBeReadIsNotChecked) {
  CheckReport report = CheckMenu(".");
  EXPECT_FALSE(report.checked);
  EXPECT_EQ(report.ExitStatus(), 3);
  EXPECT_THAT(Lines(report), ElementsAre("0 error: Can't locate menu options definition file. "
                                         "(there is no file \".\\menu\\config.mnu\" on the "
                                         "medium)"));

  std::filesystem::create_directories("menu/config.mnu");
  report = CheckMenu(".");
  EXPECT_EQ(report.ExitStatus(), 3);
  EXPECT_THAT(Lines(report), ElementsAre(HasSubstr("is a directory")));
}

TEST_F(MenuCheckTest, MenuFileInOtherLetterCaseIsCheckedWithAWarning) {
  medium_.Write("MENU/CONFIG.MNU", Menu("$null$", {{"A", "gone.exe"}}));
  const CheckReport report = CheckMenu(".");
  EXPECT_TRUE(report.checked);
  EXPECT_THAT(Lines(report),
              ElementsAre(HasSubstr("0 warning: the menu file is spelled \"MENU"),
                          HasSubstr("5 warning: entry 1: Launch says \"Can't find file!!\"")));
  EXPECT_EQ(report.ExitStatus(), 1);
}

// Names and values the menu ignores, and a second directive of a name, which overrides the first.
TEST_F(MenuCheckTest, DirectivesTheMenuIgnoresOrOverrides) {
  const CheckReport report = Check(
      "'#prompt: Choose\r\n'#prompt: Pick one\r\nTitle\r\n$null$\r\n2\r\n"  // lines 1-5
      "'#argument: /S\r\n'#badge: setup.ico\r\n'#system: Windows\r\n"       // 6-8
      "'#after-launch: close\r\n'#after-launch: stay\r\nA\r\n$exit$\r\n"    // 9-12
      "'#after-launch: stay\r\nB\r\n$exit$\r\n");  // another entry's: no second
  EXPECT_THAT(
      Lines(report),
      ElementsAre(
          "2 warning: the menu has a second '#prompt: (the first is on line 1): the last holds",
          "6 warning: the menu knows no directive '#argument: and ignores the line: did you "
          "mean '#arguments:?",
          "7 warning: the menu knows no directive '#badge: and ignores the line",
          "8 warning: '#system: takes \"windows\" or \"linux\", not \"Windows\": the menu "
          "ignores the line",
          "10 warning: entry 1 has a second '#after-launch: (the first is on line 9): the last "
          "holds"));
  ASSERT_EQ(report.directives.size(), 8u);  // every directive line, for the JSON report
  EXPECT_EQ(report.directives[3].line, 7);
  EXPECT_EQ(report.directives[3].name, "badge");
  EXPECT_EQ(report.directives[3].value, "setup.ico");
  EXPECT_EQ(report.directives[7].entry, 2);
}

TEST_F(MenuCheckTest, DirectivesWhereNothingTakesThem) {
  const std::string menu =
      "'#arguments: /S\r\nTitle\r\n'#description: Nothing\r\n$null$\r\n1\r\n"  // lines 1-5
      "'#prompt: Choose\r\n'#description: Leaves the menu\r\nA\r\n$exit$\r\n"  // 6-9
      "' the end\r\n'#arguments: /quiet\r\n";                                  // 10-11
  EXPECT_THAT(Lines(Check(menu + "stray\r\n")),
              ElementsAre(AllOf(HasSubstr("1 warning: '#arguments: stands above the title"),
                                HasSubstr("it belongs to no entry, and the menu ignores it")),
                          HasSubstr("3 warning: '#description: stands above the entry list, "
                                    "between the title and the count"),
                          "6 warning: '#prompt: is for the whole menu and works only above the "
                          "title: anywhere else the menu ignores it",
                          "11 warning: '#arguments: stands below the last entry: no entry "
                          "follows it, and the menu ignores it",
                          HasSubstr("12 warning: a significant line follows the last entry")));
}

// What an entry's directives change in what Launch does with it, on the systems it is listed on.
TEST_F(MenuCheckTest, AListThatShowsNoEntryOnOneSystem) {
  const std::string menu = "T\r\n$null$\r\n1\r\n'#system: linux\r\nA\r\n$exit$\r\n";
  EXPECT_THAT(Lines(Check(menu)),
              ElementsAre("0 warning: the list on Windows shows no entry: every entry is for "
                          "Linux alone ('#system:)"));
  EXPECT_THAT(Lines(Check(menu, {false, true})), IsEmpty());
}

TEST_F(MenuCheckTest, DirectivesInTheChecksOfTheirEntry) {
  medium_.Write("setup/setup.exe", "MZ");
  medium_.Write("install.bat", "@echo off");
  const std::string menu =
      "Title\r\n$null$\r\n5\r\n'#directory: SETUP\r\nA\r\nsetup\\setup.exe\r\n"    // lines 1-6
      "'#directory: programs\r\nB\r\nsetup\\setup.exe\r\n"                         // 7-9
      "'#arguments: 100%\r\nC\r\ninstall.bat\r\n"                                  // 10-12
      "'#system: windows\r\n'#run-as: administrator\r\nD\r\nSETUP\\setup.exe\r\n"  // 13-16
      "'#system: linux\r\n'#run-as: administrator\r\n'#description: Se\xE2\x80\x8Btup\r\n"
      "'#arguments: 100%\r\nD\r\ninstall.bat\r\n";  // 17-22: D for Linux, apart from D for Windows
  EXPECT_THAT(
      Lines(Check(menu)),
      ElementsAre(
          HasSubstr("6 warning: entry 1: \"setup\\setup.exe\" is a Windows program"),
          "7 warning: entry 2: '#directory: names \"programs\", which is no folder of the "
          "medium: Launch says \"Can't start\" instead of starting the program",
          HasSubstr("9 warning: entry 2: \"setup\\setup.exe\" is a Windows program"),
          // Each system's own fault with the batch file: Linux cannot run it at all.
          HasSubstr("12 warning: entry 3: \"install.bat\" is a Windows program"),
          AllOf(HasSubstr("12 warning: entry 3: Launch on Windows does not start "
                          "\"install.bat\""),
                HasSubstr("arguments hold '%'")),
          "18 note: entry 5: '#run-as: administrator is for Windows, which asks the user's "
          "consent first: Linux starts the program as usual, with the user's own rights",
          HasSubstr(
              // Entry 5 is listed on Linux alone, whose side of the check says so.
              "19 warning: in the folder as Linux sees it: entry 5: the description "
              "\"Se\xE2\x80\x8Btup\" holds characters that "
              "show nothing but change how it reads: U+200B"),
          HasSubstr("22 warning: entry 5: \"install.bat\" is a Windows program, but the entry is "
                    "listed on Linux too")));
  // Checked for Windows alone, the entry for Linux is not checked at all.
  EXPECT_THAT(Lines(Check(menu, {true, false})),
              ElementsAre(HasSubstr("7 warning:"), HasSubstr("12 warning:")));
}

TEST_F(MenuCheckTest, LinksOpenOtherSchemesAreNeverHandedToTheSystem) {
  for (const char* link : {"https://example.org/manual", "HTTP://example.org", "mailto:a@b.org"}) {
    EXPECT_THAT(CommandFindings(link), IsEmpty()) << link;
  }
  EXPECT_THAT(CommandFindings("file:///etc/passwd"),
              ElementsAre("5 warning: entry 1: the command \"file:///etc/passwd\" starts with the "
                          "scheme \"file:\", which the menu never hands to the system, since such "
                          "schemes can start programs: Launch says \"Can't find file!!\"; only "
                          "https://, http:// and mailto: links are opened"));
  EXPECT_THAT(CommandFindings("ms-msdt:/id PCWDiagnostic"),
              ElementsAre(HasSubstr("with the scheme \"ms-msdt:\"")));
}

// Paths that name the author's files where the user's machine has none: the command's, the
// picture's and the program's folder.
TEST_F(MenuCheckTest, PathsThatWorkOnlyOnTheAuthorsMachine) {
  medium_.Write("setup.exe", "MZ");
  medium_.Write("programs/run.exe", "MZ");
  EXPECT_THAT(CommandFindings("\"setup.exe\""),
              ElementsAre("5 warning: entry 1: the path is in double quotes, which the menu takes "
                          "as part of the name: Launch says \"Can't find file!!\"; write it "
                          "without them"));
  EXPECT_THAT(CommandFindings("D:\\setup.exe"),
              ElementsAre(AllOf(HasSubstr("starts with the drive letter \"D:\""),
                                HasSubstr("on the user's machine the medium has another letter"))));
  for (const char* rooted : {"\\setup.exe", "/opt/setup"}) {
    EXPECT_THAT(CommandFindings(rooted),
                ElementsAre(AllOf(HasSubstr("the path starts at a root: Linux looks for it in the "
                                            "system's root folder"),
                                  HasSubstr("Launch says \"Can't find file!!\" there"))))
        << rooted;
  }
  for (const char* outside : {"..\\outside.sh", "programs\\..\\..\\x", "./../x"}) {
    EXPECT_THAT(CommandFindings(outside),
                ElementsAre(HasSubstr("the path leads out of the medium through \"..\"")))
        << outside;
  }
  EXPECT_THAT(CommandFindings("programs\\..\\setup.exe"), IsEmpty());
  EXPECT_THAT(Lines(Check(Menu("\"menu\\splash.bmp\"", {{"A", "$exit$"}}))),
              ElementsAre(HasSubstr("2 warning: the path is in double quotes, which the menu "
                                    "takes as part of the name: no picture is shown")));
  EXPECT_THAT(Lines(Check("Title\r\n$null$\r\n1\r\n'#directory: C:\\programs\r\nA\r\n"
                          "programs\\run.exe\r\n",
                          {true, false})),
              ElementsAre(AllOf(HasSubstr("4 warning: entry 1: '#directory: the path starts with "
                                          "the drive letter \"C:\""),
                                HasSubstr("Launch says \"Can't start\""))));
}

// A comment with blanks before its apostrophe is a field, and shifts every field below it: the
// line itself is named, not what follows from it; the errors the menu stops at stay.
TEST_F(MenuCheckTest, CommentNotAtTheLineStartIsNamedAloneAtItsLine) {
  medium_.Write("setup.exe", "MZ");
  EXPECT_THAT(Lines(Check("Title\r\n$null$\r\n2\r\nInstall\r\nsetup.exe\r\n"
                          "  ' the last entry leaves\r\nLeave\r\n$exit$\r\n",
                          {true, false})),
              ElementsAre("6 warning: \"  ' the last entry leaves\" is read as the caption of "
                          "entry 2, not as a comment: the apostrophe must be the line's first "
                          "character; the fields below it are read one line off, and the checker "
                          "leaves out what follows from that"));
  EXPECT_THAT(Lines(Check("Title\r\n ' the picture\r\n$null$\r\n1\r\nA\r\n$exit$\r\n")),
              ElementsAre(HasSubstr("2 warning: \" ' the picture\" is read as the picture's path"),
                          HasSubstr("3 error: the number of entries must be")));
}

// Windows programs split their own command line, by one of two rules that part at "" inside
// quotes; Linux gets the menu's words. Each entry's words are in the report.
TEST_F(MenuCheckTest, ArgumentsTheTwoWindowsRulesSplitOtherwiseAndEachEntrysWords) {
  medium_.Write("greet", "MZ");
  const std::string menu =
      "T\r\n$null$\r\n3\r\n'#arguments: \"Sag \"\"Hallo\"\" zur Welt\"\r\nA\r\ngreet\r\n"  // 1-6
      "'#arguments: \"Sag \\\"Hallo\\\" zur Welt\"\r\nB\r\ngreet\r\n"                      // 7-9
      "'#system: linux\r\n'#arguments: \"\"\"x\"\" y\"\r\nC\r\ngreet\r\n";                 // 10-13
  const CheckReport report = Check(menu);
  EXPECT_THAT(Lines(report),
              ElementsAre("4 warning: entry 1: the arguments give the words \"Sag \\\"Hallo\" "
                          "\"zur\" \"Welt\" on Linux and to Windows programs that split their "
                          "command line as CommandLineToArgvW does (and those built before 2008), "
                          "but \"Sag \\\"Hallo\\\" zur Welt\" to Windows programs built with a "
                          "newer C runtime: \"\" inside quotes ends the quoting for the first and "
                          "not for the second; write a quote inside quotes as \\\" to give every "
                          "program the same words"));
  EXPECT_THAT(Lines(Check(menu, {false, true})), IsEmpty());  // Linux splits as the menu does
  ASSERT_EQ(report.words.size(), 3u);
  EXPECT_EQ(report.words[0].line, 4);
  EXPECT_EQ(report.words[0].entry, 1);
  EXPECT_EQ(report.words[0].words, (std::vector<std::string>{"Sag \"Hallo", "zur", "Welt"}));
  EXPECT_EQ(report.words[1].words, (std::vector<std::string>{"Sag \"Hallo\" zur Welt"}));
  EXPECT_EQ(report.words[2].line, 11);
  EXPECT_EQ(report.words[2].words, (std::vector<std::string>{"\"x", "y"}));
}

TEST_F(MenuCheckTest, CaptionsCutOnOneSystemOnly) {
  const std::string menu = Menu("$null$", {{"Install Adobe Acrobat Reader 5", "$exit$"}});
  EXPECT_THAT(Lines(Check(menu)),
              ElementsAre(AllOf(HasSubstr("4 warning: entry 1: the caption's end is cut off on "
                                          "Linux: on Linux it is about "),
                                HasSubstr("pixels wide and the list shows about 193"))));
  EXPECT_THAT(Lines(Check(menu, {true, false})), IsEmpty());

  // The author's button captions keep the buttons' widths: the program's own length fits.
  const std::string buttons =
      "'#launch-caption: Starten\n'#quit-caption: Programm jetzt beenden\n" +
      Menu("$null$", {{"A", "$exit$"}});
  EXPECT_THAT(Lines(Check(buttons)),
              ElementsAre(AllOf(HasSubstr("2 warning: the caption \"Programm jetzt beenden\" is "
                                          "longer than its button shows (81 pixels at 96 DPI)"),
                                HasSubstr("on Windows it is about"), HasSubstr("on Linux"))));
}

TEST(PictureCheckTest, LoadsPicturesAndRefusesOtherFiles) {
  ScratchMedium medium;
  medium.Write("menu/splash.bmp", TinyBitmap());
  medium.Write("menu/text.bmp", "BM, but only in name");
  EXPECT_TRUE(CheckPicture("menu\\splash.bmp").ok);
  const Result text = CheckPicture("menu\\text.bmp");
  EXPECT_FALSE(text.ok);
  EXPECT_FALSE(text.reason.empty());
  EXPECT_FALSE(CheckPicture("menu\\missing.bmp").ok);
}

}  // namespace
}  // namespace tolvar
