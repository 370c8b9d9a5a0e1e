// The disk's side of the seam: what a folder's views hold and how the bytes are read from them, and
// the one lookup the checks make in a view.
#include "menu_check/model/medium_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "menu_check/model/menu_lookup.h"
#include "shared_routines/file_exists.h"
#include "tests/support/scratch_medium.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tolvar {
namespace {

namespace fs = std::filesystem;

// The path FindAsMenu answers for `written` on `system`, or "(nothing)".
std::string Found(const MediumView& view, System system, const std::string& written) {
  const MediumName* found = FindAsMenu(view, system, written);
  return found == nullptr ? "(nothing)" : found->path;
}

TEST(FolderFilesTest, BytesAreReadUpToWhatIsWantedAndFaultsStayWithTheirFile) {
  ScratchMedium medium;
  medium.Write("setup/run.sh", "#!/bin/sh\necho one\n");
  medium.Write("big.bin", std::string(5000, 'x'));
  FolderFiles files(".");
  const MediumView& view = files.View(System::kLinux);
  FileBytes read;
  EXPECT_EQ(files.Read(view, {{"setup/run.sh", 9}, {"big.bin", 100000}, {"gone.txt", 4}}, &read),
            "");
  EXPECT_EQ(read.bytes["setup/run.sh"], "#!/bin/sh");
  EXPECT_EQ(read.bytes["big.bin"].size(), 5000u);  // a file shorter than asked, whole
  EXPECT_EQ(read.bytes.count("gone.txt"), 0u);
  EXPECT_EQ(read.unreadable.count("gone.txt"), 1u);
  // A file already read is not read again, whatever is asked of it later.
  EXPECT_EQ(files.Read(view, {{"setup/run.sh", 4}}, &read), "");
  EXPECT_EQ(read.bytes["setup/run.sh"], "#!/bin/sh");
}

TEST(FolderFilesTest, BothSystemsSeeTheSameNamesEachByItsOwnRule) {
  ScratchMedium medium;
  medium.Write("Setup/Setup.exe", "MZ");
  medium.Write("docs/Readme.txt", "a");
  medium.Write("docs/README.TXT", "b");
  medium.Write("menu/config.mnu", "T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  FolderFiles files(".");
  const MediumView& linux_view = files.View(System::kLinux);
  const MediumView& windows_view = files.View(System::kWindows);
  EXPECT_NE(files.Describe(System::kLinux), files.Describe(System::kWindows));
  // The menu files' texts are kept for both.
  ASSERT_NE(windows_view.ContentOf("menu/config.mnu"), nullptr);
  EXPECT_EQ(*windows_view.ContentOf("menu/config.mnu"), "T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");

  EXPECT_EQ(Found(linux_view, System::kLinux, "setup\\setup.exe"), "Setup/Setup.exe");
  EXPECT_EQ(Found(windows_view, System::kWindows, ".\\SETUP\\x\\..\\setup.exe"), "Setup/Setup.exe");
  // Two names alike (where the disk can hold both): Linux finds neither, Windows the first.
  if (linux_view.Children("docs").size() == 2) {
    EXPECT_EQ(Found(linux_view, System::kLinux, "docs/readme.txt"), "(nothing)");
  }
  EXPECT_NE(Found(windows_view, System::kWindows, "docs/readme.txt"), "(nothing)");
  // Absolute, or climbing out of the root: never a file of the medium.
  EXPECT_EQ(Found(windows_view, System::kWindows, "\\Setup\\Setup.exe"), "(nothing)");
  EXPECT_EQ(Found(linux_view, System::kLinux, "../Setup/Setup.exe"), "(nothing)");
}

// The checker's lookup against the menu's own FileExists on the same folder: one rule for '*' and
// '?' (any letter case, '?' one character, '[' a character like any other), as Windows' search.
TEST(MenuLookupTest, APatternInTheLastPartFindsWhatTheMenuFindsInAnyCase) {
  ScratchMedium medium;
  medium.Write("setup/Setup-64.EXE", "MZ");
  medium.Write("setup/setup[1].exe", "MZ");
  const std::string uber = "\xC3\xBC" + std::string("ber.txt");  // its first letter two bytes
  medium.Write("setup/" + uber, "u");
  fs::create_directories("setup/tools.exe");  // a folder is no match
  FolderFiles files(".");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"setup\\setup-*.exe", "setup/Setup-64.EXE"},
      {"SETUP\\setup-??.exe", "setup/Setup-64.EXE"},
      {"setup\\setup-?.exe", "(nothing)"},  // '?' is one character, never two
      {"setup\\setup[1]*", "setup/setup[1].exe"},
      {"setup\\SETUP[?].*", "setup/setup[1].exe"},
      {"setup\\setup[??].exe", "(nothing)"},
      {"setup\\[st]*", "(nothing)"},  // no class: "[st]" is four characters
      {"setup\\?ber.txt", "setup/" + uber},
      {"setup\\??ber.txt", "(nothing)"},
      {"setup\\tools*", "(nothing)"},
      {"missing\\*.exe", "(nothing)"},
  };
  for (const auto& [written, found] : expected) {
    for (const System system : {System::kLinux, System::kWindows}) {
      EXPECT_EQ(Found(files.View(system), system, written), found) << written;
    }
    EXPECT_EQ(FileExists(written), found != "(nothing)") << written;
  }
}

#ifndef _WIN32
// A link is kept as a link: followed inside the medium as Linux follows it, never out of it, and
// a FIFO named like a menu file is neither read nor counted as a file.
TEST(FolderFilesTest, LinksLeadOnlyInsideTheMediumAndSpecialFilesAreNoFiles) {
  ScratchMedium outside;
  outside.Write("secret.txt", "password");
  ScratchMedium medium;
  medium.Write("Programs-1.2/setup.sh", "#!/bin/sh\n");
  fs::create_directory_symlink("Programs-1.2", "Programs");
  fs::create_symlink(outside.root() / "secret.txt", "leak.txt");
  fs::create_symlink("../../etc/passwd", "climb.txt");
  fs::create_directories("menu");
  ASSERT_EQ(mkfifo("autorun.inf", 0600), 0);
  ASSERT_EQ(mkfifo("pipe.bmp", 0600), 0);
  FolderFiles files(".");
  const MediumView& view = files.View(System::kLinux);
  EXPECT_EQ(Found(view, System::kLinux, "programs\\setup.sh"), "Programs-1.2/setup.sh");
  EXPECT_EQ(Found(view, System::kLinux, "leak.txt"), "(nothing)");
  EXPECT_EQ(Found(view, System::kLinux, "climb.txt"), "(nothing)");
  EXPECT_EQ(view.ContentOf("autorun.inf"), nullptr);  // the check does not hang on it
  const MediumName* pipe = FindAsMenu(view, System::kLinux, "pipe.bmp");
  ASSERT_NE(pipe, nullptr);
  EXPECT_TRUE(pipe->special);
  FileBytes read;
  EXPECT_EQ(files.Read(view, {{"pipe.bmp", 100}}, &read), "");
  EXPECT_EQ(read.unreadable.count("pipe.bmp"), 1u);
}
#endif

}  // namespace
}  // namespace tolvar
