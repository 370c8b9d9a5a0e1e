// The menu files for other languages on a real medium folder: each checked as the plain one, and
// compared with it.
#include "menu_check/checks/language_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

TEST(LanguageCheckTest, EachLanguageFileIsCheckedAndComparedWithThePlainOne) {
  ScratchMedium medium;
  for (const char* program : {"a.exe", "b.exe", "c.exe"}) medium.Write(program, "MZ");
  medium.WriteDefinition("T\n$null$\n2\nA\na.exe\nB\nb.exe\n");
  medium.Write("menu/config.de.mnu",
               "T\n$null$\n2\n'#arguments: /S\nA\na.exe\n'#system: linux\nB\nc.exe\n");
  medium.Write("menu/config.fr.mnu", "T\n$null$\n1\nA\na.exe\n'#descripton: x\n");
  medium.Write("menu/config.pt-br.mnu", "T\n$null$\n2\nA\na.exe\nB\nb.exe\n");
  medium.Write("menu/config.german.mnu", "T\n$null$\n2\nA\na.exe\nB\nb.exe\n");
  medium.Write("menu/config.nl.mnu", "T\n$null$\n3\nA\na.exe\n");

  CheckReport report = CheckMenu(".");
  CheckLanguageFiles(".", Targets{}, &report);
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
  EXPECT_TRUE(has("menu/config.de.mnu", 5, "the arguments \"/S\" are \"\""));
  EXPECT_TRUE(has("menu/config.de.mnu", 8, "the command \"c.exe\" is \"b.exe\""));
  EXPECT_TRUE(has("menu/config.de.mnu", 8, "listed on Linux only, but on both systems"));
  EXPECT_TRUE(has("menu/config.fr.mnu", 0, "it has 1 entry, \"menu"));
  EXPECT_TRUE(has("menu/config.fr.mnu", 6, "did you mean"));  // checked as the plain file is
  EXPECT_TRUE(has("menu/config.german.mnu", 0, "\"german\" is no language tag"));
  // A language file's own error is its own, and nothing is compared past it.
  EXPECT_TRUE(has("menu/config.nl.mnu", 6, "the file ends where the caption of entry 2"));
  for (const std::string& f : found) {
    EXPECT_NE(f.rfind("menu/config.pt-br.mnu", 0), 0u) << "the same menu in another language";
  }
  EXPECT_EQ(report.ExitStatus(), 2);
}

}  // namespace
}  // namespace tolvar
