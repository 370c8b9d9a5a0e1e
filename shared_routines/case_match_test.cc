// MatchCase on real directories: a medium whose names differ in case from the menu file is found,
// exactly as Windows finds it, and nothing is guessed where Windows' answer would be a guess.
#include "shared_routines/case_match.h"

#include <gtest/gtest.h>

#include "shared_routines/file_exists.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/text_input.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

TEST(MatchCaseTest, EachMissingComponentFindsItsOneMatch) {
  ScratchMedium medium;
  medium.Write("MENU/CONFIG.MNU", "Title\r\n");
  medium.Write("Setup/Disk 1/SETUP.EXE", "MZ");

  EXPECT_EQ(MatchCase("menu/config.mnu"), "MENU/CONFIG.MNU");
  EXPECT_EQ(MatchCase("./setup/disk 1/setup.exe"), "./Setup/Disk 1/SETUP.EXE");
  EXPECT_EQ(MatchCase((medium.root() / "setup/DISK 1/Setup.exe").string()),
            (medium.root() / "Setup/Disk 1/SETUP.EXE").string());
  EXPECT_TRUE(FileExists("setup\\disk 1\\setup.exe"));
  EXPECT_TRUE(FileExists("setup\\disk 1\\*.exe"));  // a pattern ignores case, as on Windows
  // The menu file itself is opened under its spelling on the medium.
  TextInput file("menu\\config.mnu");
  EXPECT_EQ(NextSignificantLine(file, "the title"), "Title");

  EXPECT_EQ(MatchCase("menu/config.mnu/x"), "menu/config.mnu/x");
  EXPECT_EQ(MatchCase("setup/disk 2/setup.exe"), "setup/disk 2/setup.exe");
  EXPECT_FALSE(FileExists("setup\\setup.exe"));
}

TEST(MatchCaseTest, TheExactNameWinsAndTwoCandidatesMatchNeither) {
  ScratchMedium medium;
  medium.Write("docs/Readme.txt", "a");
  medium.Write("docs/README.TXT", "b");
  medium.Write("setup.exe", "c");
  medium.Write("SETUP.EXE", "d");

  EXPECT_EQ(MatchCase("docs/Readme.txt"), "docs/Readme.txt");
  EXPECT_EQ(MatchCase("docs/readme.txt"), "docs/readme.txt");
  EXPECT_FALSE(FileExists("docs\\readme.txt"));
  EXPECT_TRUE(FileExists("DOCS\\README.TXT"));  // the folder matches alone; the file exactly
  EXPECT_EQ(MatchCase("SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(MatchCase("Setup.exe"), "Setup.exe");
}

// The real disk, counting how often a folder is listed.
class CountingDisk : public DirectoryLister {
 public:
  bool Exists(const std::string& path) const override { return disk_.Exists(path); }
  const DirectoryNames& List(const std::string& directory) const override {
    ++lists;
    return disk_.List(directory);
  }
  mutable int lists = 0;

 private:
  DiskDirectories disk_;
};

TEST(MatchCaseTest, NamesUndoneByDotDotAreDroppedAsWindowsDropsThemAndNoFolderIsListedTwice) {
  ScratchMedium medium;
  medium.Write("Setup/SETUP.EXE", "MZ");
  // A name undone by ".." need not exist, as on Windows; each folder is listed once at most,
  // however often a path goes into it and back.
  std::string path = "./";
  for (int i = 0; i < 2000; ++i) path += "Missing/../setup/../";
  path += "setup/./setup.exe";
  CountingDisk disk;
  EXPECT_EQ(FindIgnoringCase(disk, path, CaseRule::kOnlyMatch), "./Setup/SETUP.EXE");
  EXPECT_LE(disk.lists, 2);
  EXPECT_TRUE(FileExists("missing\\..\\SETUP\\..\\setup\\setup.exe"));
  // A ".." that leaves the folder it starts in is kept.
  EXPECT_EQ(MatchCase("../x/../setup/setup.exe"), "../x/../setup/setup.exe");
}

TEST(MatchCaseTest, NonAsciiLettersAreNotFolded) {
  ScratchMedium medium;
  medium.Write(
      "\xC3\x9C"
      "ber.txt",
      "x");  // "Über.txt" in UTF-8
  EXPECT_EQ(MatchCase("\xC3\xBC"
                      "ber.txt"),
            "\xC3\xBC"
            "ber.txt");
  EXPECT_EQ(MatchCase("\xC3\x9C"
                      "BER.TXT"),
            "\xC3\x9C"
            "ber.txt");
}

}  // namespace
}  // namespace tolvar
