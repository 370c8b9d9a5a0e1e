// The menu files for other languages on a real medium folder: each checked as the plain one, and
// compared with it.
#include "menu_check/checks/language_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

TEST(LanguageCheckTest, EachLanguageFileIsCheckedAndComparedWithThePlainOne) {
  ScratchMedium medium;
  for (const char* program : {"a", "b", "c"}) medium.Write(program, "MZ");
  medium.WriteDefinition("T\n$null$\n2\nA\na\nB\nb\n");
  medium.Write("menu/config.de.mnu",
               "T\n$null$\n2\n'#arguments: /S\nA\na\n'#system: linux\nB\nc\n");
  medium.Write("menu/config.fr.mnu", "T\n$null$\n1\nA\na\n'#descripton: x\n");
  medium.Write("menu/config.pt-br.mnu", "T\n$null$\n2\nA\na\nB\nb\n");
  medium.Write("menu/config.german.mnu", "T\n$null$\n2\nA\na\nB\nb\n");
  medium.Write("menu/config.he_IL.mnu", "T\n$null$\n2\nA\na\nB\nb\n");
  medium.Write("menu/config.nl.mnu", "T\n$null$\n3\nA\na\n");

  CheckReport report = CheckMenu(".");
  std::vector<std::string> found;
  for (const Finding& f : report.findings) {
    found.push_back(f.file + ":" + std::to_string(f.line) + ": " + f.message);
  }
  const auto has = [&](const std::string& file, int line, const std::string& words) {
    const std::string start = file + ":" + std::to_string(line) + ": ";
    return std::any_of(found.begin(), found.end(), [&](const std::string& f) {
      return f.rfind(start, 0) == 0 && f.find(words) != std::string::npos;
    });
  };
  EXPECT_TRUE(has("menu/config.de.mnu", 5, "the arguments \"/S\" are \"\""));  // a note
  EXPECT_TRUE(has("menu/config.de.mnu", 8, "the command \"c\" is \"b\""));
  EXPECT_TRUE(has("menu/config.de.mnu", 8, "listed on Linux only, but on both systems"));
  EXPECT_TRUE(has("menu/config.fr.mnu", 0, "it has 1 entry, \"menu"));
  EXPECT_TRUE(has("menu/config.fr.mnu", 6, "did you mean"));  // checked as the plain file is
  EXPECT_TRUE(has("menu/config.german.mnu", 0, "\"german\" is no language tag"));
  EXPECT_TRUE(has("menu/config.he_IL.mnu", 0,
                  "\"he_IL\" is no language tag (such as de, pt-br or zh-hant): the menu never "
                  "reads this file; name it config.he.mnu or config.he-il.mnu"));
  // A language file's own error is its own, and nothing is compared past it.
  EXPECT_TRUE(has("menu/config.nl.mnu", 6, "the file ends where the caption of entry 2"));
  for (const std::string& f : found) {
    EXPECT_NE(f.rfind("menu/config.pt-br.mnu", 0), 0u) << "the same menu in another language";
  }
  EXPECT_EQ(report.ExitStatus(), 2);
  // The language files' directives are listed with their file, after the plain file's (none).
  std::vector<std::string> directives;
  for (const DirectiveRecord& d : report.directives) {
    directives.push_back(d.file + ":" + std::to_string(d.line) + " " + d.name + " " + d.value);
  }
  EXPECT_EQ(directives, (std::vector<std::string>{"menu/config.de.mnu:4 arguments /S",
                                                  "menu/config.de.mnu:7 system linux",
                                                  "menu/config.fr.mnu:6 descripton x"}));
}

// How the messages name the plain menu file: with the system's own separator.
#ifdef _WIN32
constexpr char kSeparator[] = "\\";
#else
constexpr char kSeparator[] = "/";
#endif

// Each finding of the language files as "FILE:LINE severity: message".
std::vector<std::string> LanguageFindings(const Targets& targets) {
  CheckReport report = CheckMenu(".", targets);
  std::vector<std::string> found;
  for (const Finding& f : report.findings) {
    if (f.file.empty() || f.file == ".") continue;
    found.push_back(f.file + ":" + std::to_string(f.line) +
                    (f.severity == Severity::kWarning ? " warning: "
                     : f.severity == Severity::kNote  ? " note: "
                                                      : " error: ") +
                    f.message);
  }
  return found;
}

// Another program is the mistake of a menu changed in one language only; other arguments, links
// and documents are what a menu per language is for. Only the systems checked are compared.
TEST(LanguageCheckTest, AnotherProgramIsAWarningOtherArgumentsLinksAndDocumentsAreNotes) {
  ScratchMedium medium;
  for (const char* file : {"setup.exe", "setup-he.exe", "docs/en.pdf", "docs/he.pdf"}) {
    medium.Write(file, "MZ");
  }
  // Entry 1 for both systems, entry 2 a link, entry 3 a document, entry 4 Windows alone.
  medium.WriteDefinition(
      "T\n$null$\n4\n'#arguments: --lang=en\nA\nsetup.exe\nB\nhttps://example.org/en/\n"
      "C\ndocs\\en.pdf\n'#system: windows\nD\nsetup.exe\n");
  medium.Write("menu/config.he.mnu",
               "T\n$null$\n4\n'#arguments: --lang=he\nA\nsetup.exe\nB\nhttps://example.org/he/\n"
               "C\ndocs\\he.pdf\n'#system: windows\nD\nsetup-he.exe\n");
  const auto in_he = [](int line, const std::string& severity, const std::string& words) {
    return testing::AllOf(
        testing::StartsWith("menu/config.he.mnu:" + std::to_string(line) + " " + severity + ": "),
        testing::HasSubstr(words));
  };
  using testing::ElementsAre;
  // setup.exe for both systems is a finding of its own for Linux: left out here.
  EXPECT_THAT(
      LanguageFindings(Targets{true, false}),
      ElementsAre(
          in_he(5, "note", "entry 1: the arguments \"--lang=he\" are \"--lang=en\" in"),
          in_he(7, "note",
                "entry 2: the command \"https://example.org/he/\" is \"https://example.org/en/\" "
                "in \"menu" +
                    std::string(kSeparator) +
                    "config.mnu\" (line 7): users of the two languages get different links or "
                    "documents"),
          in_he(9, "note", "entry 3: the command \"docs\\he.pdf\" is \"docs\\en.pdf\""),
          in_he(12, "warning",
                "entry 4: the command \"setup-he.exe\" is \"setup.exe\" in \"menu" +
                    std::string(kSeparator) +
                    "config.mnu\" (line 12): users of the two languages get different programs")));
  // Linux never lists entry 4.
  for (const std::string& finding : LanguageFindings(Targets{false, true})) {
    EXPECT_THAT(finding, testing::Not(testing::HasSubstr("entry 4")));
  }

  // Read one line off below an indented comment, the language file's entries are not the
  // author's: its one warning stands alone, with nothing compared.
  medium.Write("menu/config.he.mnu",
               "T\n$null$\n4\n  ' indented\nA\nsetup.exe\nB\nhttps://example.org/he/\nC\n"
               "docs\\he.pdf\n'#system: windows\nD\nsetup-he.exe\n");
  EXPECT_THAT(
      LanguageFindings(Targets{true, false}),
      ElementsAre(in_he(4, "warning", "\"  ' indented\" is read as the caption of entry 1")));
}

// An entry's conditions are part of the menu: one language's users would see it on machines where
// the others' do not.
TEST(LanguageCheckTest, AnEntryListedOnOtherMachinesInOneLanguageIsAWarning) {
  ScratchMedium medium;
  medium.Write("setup.exe", "MZ");
  medium.WriteDefinition("T\n$null$\n2\n'#show-if: x64\nA\nsetup.exe\nB\n$null$\n");
  medium.Write("menu/config.de.mnu", "T\n$null$\n2\nA\nsetup.exe\nB\n$null$\n");
  medium.Write("menu/config.fr.mnu", "T\n$null$\n2\n'#show-if: x64\nA\nsetup.exe\nB\n$null$\n");
  const std::vector<std::string> found = LanguageFindings(Targets{true, false});
  EXPECT_THAT(found, testing::Contains(testing::AllOf(
                         testing::StartsWith("menu/config.de.mnu:4 warning: entry 1: it is listed "
                                             "on every machine, but on windows-x64"),
                         testing::HasSubstr("show-if"))));
  for (const std::string& finding : found) {
    // The same conditions: only the note on where the entry is listed, as in config.mnu.
    EXPECT_THAT(finding, testing::Not(testing::StartsWith("menu/config.fr.mnu:5 warning")));
    EXPECT_THAT(finding, testing::Not(testing::HasSubstr("entry 2")));
  }
}

}  // namespace
}  // namespace tolvar
