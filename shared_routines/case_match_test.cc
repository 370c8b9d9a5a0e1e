// MatchCase on real directories: a medium whose names differ in case from the menu file is found,
// exactly as Windows finds it, and nothing is guessed where Windows' answer would be a guess.
#include "shared_routines/case_match.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "shared_routines/directory_lister.h"
#include "shared_routines/file_exists.h"
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
  std::string storage;
  std::string_view title;
  ASSERT_TRUE(file.ReadLine(100, &storage, &title));
  EXPECT_EQ(title, "Title");

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

// Windows ignores the case of letters beyond ASCII; the Linux menu, which guesses no further than
// A to Z, does not, so that only the checker's Windows answer finds these.
TEST(MatchCaseTest, LettersBeyondAsciiAreFoldedForWindowsAlone) {
  ScratchMedium medium;
  medium.Write(
      "\xC3\x9C"
      "ber.txt",
      "x");                                                 // "Über.txt"
  medium.Write("Instala\xC3\xA7\xC3\xA3o/setup.exe", "x");  // "Instalação"
  medium.Write("\xD0\xA3\xD1\x81\xD1\x82.txt", "x");        // "Уст.txt"
  medium.Write("\xCE\xA3\xCE\xA3.txt", "x");                // "ΣΣ.txt"
  medium.Write(
      "Stra\xC3\x9F"
      "e.txt",
      "x");                            // "Straße.txt"
  medium.Write("\xC4\xB1.txt", "x");   // "ı.txt"
  medium.Write("\xE9t\xE9.txt", "x");  // Latin-1 bytes, no UTF-8
  EXPECT_EQ(MatchCase("\xC3\x9C"
                      "BER.TXT"),
            "\xC3\x9C"
            "ber.txt");
  EXPECT_EQ(MatchCase("\xC3\xBC"
                      "ber.txt"),
            "\xC3\xBC"
            "ber.txt");

  const DiskDirectories disk(DiskDirectories::Spelling::kExact);
  const auto windows = [&](const std::string& path) {
    return FindIgnoringCase(disk, path, CaseRule::kFirstMatch).value_or("(none)");
  };
  EXPECT_EQ(windows("\xC3\xBC"
                    "BER.TXT"),
            "\xC3\x9C"
            "ber.txt");
  EXPECT_EQ(windows("INSTALA\xC3\x87\xC3\x83O/SETUP.EXE"), "Instala\xC3\xA7\xC3\xA3o/setup.exe");
  EXPECT_EQ(windows("\xD1\x83\xD0\xA1\xD0\xA2.txt"), "\xD0\xA3\xD1\x81\xD1\x82.txt");
  EXPECT_EQ(windows("\xCF\x83\xCF\x82.txt"), "\xCE\xA3\xCE\xA3.txt");  // "σς": a final sigma
  EXPECT_EQ(windows("STRASSE.TXT"), "(none)");    // "ß" is one letter, not "SS"
  EXPECT_EQ(windows("I.txt"), "(none)");          // the dotless "ı" is not "I"
  EXPECT_EQ(windows("\xC9T\xC9.txt"), "(none)");  // bytes of another encoding are not guessed at
  EXPECT_EQ(windows("\xE9T\xE9.TXT"), "\xE9t\xE9.txt");
  EXPECT_FALSE(FindIgnoringCase(disk, "INSTALA\xC3\x87\xC3\x83O/setup.exe", CaseRule::kOnlyMatch));
}

}  // namespace
}  // namespace tolvar
