// FileExists on real files in a scratch directory: what counts as an ordinary file, and patterns.
#include "shared_routines/file_exists.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/scratch_medium.h"

#ifdef _WIN32
#include <windows.h>

#include "shared_routines/utf16_win32.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvar {
namespace {

TEST(FileExistsTest, OrdinaryFilesOnlyAndBackslashesAsSeparators) {
  ScratchMedium medium;
  medium.Write("setup.exe", "x");
  medium.Write("disk 1/read me.txt", "x");
  std::filesystem::create_directories("tools");

  EXPECT_TRUE(FileExists("setup.exe"));
  EXPECT_TRUE(FileExists(".\\setup.exe"));
  EXPECT_TRUE(FileExists("disk 1\\read me.txt"));
  EXPECT_TRUE(FileExists((medium.root() / "setup.exe").u8string()));

  EXPECT_FALSE(FileExists("tools"));  // a directory
  EXPECT_FALSE(FileExists("missing.exe"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists("setup.exe /S"));  // a program with arguments is no file name
  EXPECT_FALSE(FileExists("setup.exe\\"));
  EXPECT_FALSE(FileExists(std::string("setup.exe\0.txt", 14)));
}

TEST(FileExistsTest, WildcardsInTheLastComponentMatchOrdinaryFiles) {
  ScratchMedium medium;
  medium.Write("menu/config.mnu", "x");
  std::filesystem::create_directories("menu/pictures.d");

  EXPECT_TRUE(FileExists("menu\\*.mnu"));
  EXPECT_TRUE(FileExists("menu\\confi?.mnu"));
  EXPECT_FALSE(FileExists("menu\\*.exe"));
  EXPECT_FALSE(FileExists("menu\\*.d"));  // only a directory matches
  EXPECT_FALSE(FileExists("nowhere\\*.mnu"));
}

#ifdef _WIN32
TEST(FileExistsTest, ReadOnlyFilesCount) {
  ScratchMedium medium;
  medium.Write("readonly.txt", "x");
  std::filesystem::permissions("readonly.txt", std::filesystem::perms::owner_read);
  ASSERT_TRUE(GetFileAttributesW(Widen("readonly.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(FileExists("readonly.txt"));
  EXPECT_TRUE(FileExists("readonly.*"));
  std::filesystem::permissions("readonly.txt", std::filesystem::perms::owner_all);
}
#else
// Whether the file may be written (or read) is no part of whether it exists. Permissions bind
// root in nothing, so as root the question is asked by a process that has given up root: there a
// FileExists that asked for write access would answer false.
void ExitWithWhatFileExistsSaysWithoutPrivileges() {
  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::_Exit(3);
  // Proof that the process cannot write it: otherwise the answer below would say nothing.
  if (access("readonly.txt", W_OK) == 0 || access("unreadable.txt", R_OK) == 0) std::_Exit(2);
  std::_Exit(FileExists("readonly.txt") && FileExists("unreadable.txt") && FileExists("readonly.*")
                 ? 0
                 : 1);
}

TEST(FileExistsTest, ReadOnlyFilesCount) {
  ScratchMedium medium;
  medium.Write("readonly.txt", "x");
  medium.Write("unreadable.txt", "x");
  namespace fs = std::filesystem;
  fs::permissions("readonly.txt",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions("unreadable.txt", fs::perms::none);
  // The medium's root must be searchable by the process that gives up root.
  fs::permissions(medium.root(), fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::group_read | fs::perms::others_exec |
                                     fs::perms::others_read);
  ASSERT_EQ(fs::status("readonly.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // A process of its own: the privileges it gives up cannot be taken back.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithWhatFileExistsSaysWithoutPrivileges(), testing::ExitedWithCode(0), "");
}
#endif

#ifdef _WIN32
TEST(FileExistsTest, HiddenAndSystemFilesDoNotCount) {
  ScratchMedium medium;
  medium.Write("hidden.exe", "x");
  medium.Write("system.exe", "x");
  SetFileAttributesW(Widen("hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(Widen("system.exe").c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(FileExists("hidden.exe"));
  EXPECT_FALSE(FileExists("system.exe"));
  EXPECT_FALSE(FileExists("hidden.*"));
  medium.Write("shown.exe", "x");
  EXPECT_TRUE(FileExists("*.exe"));  // a pattern counts as soon as one ordinary file matches
}

TEST(FileExistsTest, DeviceNamesAreNoFiles) {
  ScratchMedium medium;
  medium.Write("menu/console.png", "x");
  medium.Write("menu/com10.png", "x");
  for (const char* device :
       {"NUL", "nul", "CON", "PRN", "AUX", "CONIN$", "conout$", "COM1", "LPT9", "menu\\COM1.png",
        "menu/nul.txt", "C:\\x\\aux.tar.gz", "NUL .txt", "menu\\Lpt3"}) {
    EXPECT_FALSE(FileExists(device)) << device;
  }
  // Names that only begin like a device are files.
  EXPECT_TRUE(FileExists("menu\\console.png"));
  EXPECT_TRUE(FileExists("menu\\com10.png"));
}
#else
TEST(FileExistsTest, LinksFollowedAndOtherKindsOfFileRefused) {
  ScratchMedium medium;
  medium.Write("real.sh", "x");
  medium.Write(".dotfile", "x");
  ASSERT_EQ(symlink("real.sh", "link.sh"), 0);
  ASSERT_EQ(symlink("nothing.sh", "dangling.sh"), 0);
  ASSERT_EQ(mkfifo("pipe", 0600), 0);

  EXPECT_TRUE(FileExists("link.sh"));
  EXPECT_TRUE(FileExists(".dotfile"));  // no hidden attribute here: every regular file is ordinary
  EXPECT_FALSE(FileExists("dangling.sh"));
  EXPECT_FALSE(FileExists("pipe"));
  EXPECT_FALSE(FileExists("pip?"));
}
#endif

}  // namespace
}  // namespace tolvar
