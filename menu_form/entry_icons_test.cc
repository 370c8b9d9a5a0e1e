// The form with the menu file's pictures and folders, through the recording fake view and program
// start over real files: which icons load, each file once, where they show; the window's icon; a
// folder of the medium opened in the file manager, and commands that only look like one.
#include "menu_form/entry_icons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "menu_form/folder_command.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using Calls = std::vector<std::string>;

// The calls whose text starts with one of `starts`, in order.
Calls CallsStarting(const FakeMenuView& view, std::initializer_list<std::string> starts) {
  Calls found;
  for (const std::string& call : view.calls) {
    for (const std::string& start : starts) {
      if (call.rfind(start, 0) == 0) found.push_back(call);
    }
  }
  return found;
}

TEST(EntryIconsTest, EachIconFileLoadsOnceBeforeTheListAndShowsBesideItsEntriesAfter) {
  ScratchMedium medium;
  for (const char* name : {"art/a.ico", "art/b.png", "art/broken.bmp"}) medium.Write(name, "x");
  medium.WriteDefinition(
      "T\r\n$null$\r\n6\r\n"
      "'#icon: art\\a.ico\r\nOne\r\n$null$\r\n"
      "Plain\r\n$null$\r\n"
      "'#icon: art\\b.png\r\n'#system: linux\r\nHidden\r\n$null$\r\n"
      "'#icon: art\\b.png\r\nTwo\r\n$null$\r\n"
      "'#icon: art\\a.ico\r\nThree\r\n$null$\r\n"
      "'#icon: art\\broken.bmp\r\nBroken\r\n$null$\r\n");
  FakeMenu menu;
  menu.view.broken_icons = {"art\\broken.bmp"};
  ASSERT_FALSE(menu.Load());
  // An entry that is not listed loads nothing; positions count the listed entries after the
  // prompt, and an icon that cannot be shown leaves its entry without one.
  EXPECT_EQ(CallsStarting(menu.view, {"LoadListIcon", "AddListItem 1", "SetListItemIcon"}),
            (Calls{"LoadListIcon art\\a.ico", "LoadListIcon art\\b.png",
                   "LoadListIcon art\\broken.bmp", "AddListItem 1 One", "SetListItemIcon 1 0",
                   "SetListItemIcon 3 1", "SetListItemIcon 4 0"}));
  EXPECT_EQ(menu.view.items.size(), 6u);
}

TEST(EntryIconsTest, IconsThatNameNoLocalFileAreNeverLoaded) {
  ScratchMedium medium;
  medium.WriteDefinition(
      "'#window-icon: \\\\server\\share\\w.ico\r\nT\r\n$null$\r\n4\r\n"
      "'#icon: missing.ico\r\nA\r\n$null$\r\n"
      "'#icon: \\\\server\\share\\x.ico\r\nB\r\n$null$\r\n"
      "'#icon: //server/share/y.ico\r\nC\r\n$null$\r\n"
      "'#icon: $null$\r\nD\r\n$null$\r\n");
  FakeMenu menu;
  ASSERT_FALSE(menu.Load());
  EXPECT_EQ(CallsStarting(menu.view, {"LoadListIcon", "SetListItemIcon", "SetWindowIcon"}),
            Calls{});
}

TEST(EntryIconsTest, NoMoreThanTheLimitOfFilesIsLoaded) {
  ScratchMedium medium;
  std::string definition = "T\r\n$null$\r\n" + std::to_string(kMostListIconFiles + 2) + "\r\n";
  for (size_t i = 0; i < kMostListIconFiles + 2; ++i) {
    const std::string name = "i" + std::to_string(i) + ".ico";
    medium.Write(name, "x");
    definition += "'#icon: " + name + "\r\nE\r\n$null$\r\n";
  }
  medium.WriteDefinition(definition);
  FakeMenu menu;
  menu.view.record_list_items = false;
  ASSERT_FALSE(menu.Load());
  EXPECT_EQ(CallsStarting(menu.view, {"LoadListIcon"}).size(), kMostListIconFiles);
  EXPECT_EQ(CallsStarting(menu.view, {"SetListItemIcon"}).size(), kMostListIconFiles);
}

TEST(EntryIconsTest, TheWindowIconIsSetBeforeTheTitleWhenItsFileIsThere) {
  ScratchMedium medium;
  medium.Write("art/window.ico", "x");
  medium.WriteDefinition("'#window-icon: art\\window.ico\r\nT\r\n$null$\r\n1\r\nA\r\n$null$\r\n");
  FakeMenu menu;
  ASSERT_FALSE(menu.Load());
  EXPECT_EQ(CallsStarting(menu.view, {"SetWindowIcon", "SetTitle"}),
            (Calls{"SetWindowIcon art\\window.ico", "SetTitle T"}));

  medium.WriteDefinition("'#window-icon: art\\gone.ico\r\nT\r\n$null$\r\n1\r\nA\r\n$null$\r\n");
  FakeMenu without;
  ASSERT_FALSE(without.Load());
  EXPECT_EQ(CallsStarting(without.view, {"SetWindowIcon"}), Calls{});
}

TEST(FolderCommandTest, AFolderOfTheMediumWithItsEndingSeparatorOpensInTheFileManager) {
  ScratchMedium medium;
  std::filesystem::create_directories(medium.root() / "docs" / "Manuals");
  medium.Write("docs/readme.txt", "x");
  medium.WriteDefinition(
      "T\r\n$null$\r\n7\r\n"
      "Manuals\r\ndocs\\manuals\\\r\n"  // another letter case, as on Windows
      "Docs\r\ndocs/\r\n"
      "Root\r\n.\\\r\n"
      "No separator\r\ndocs\r\n"
      "A file\r\ndocs\\readme.txt\\\r\n"
      "Missing\r\nmissing\\\r\n"
      "Share\r\n\\\\server\\share\\\r\n");
  FakeMenu menu;
  ASSERT_FALSE(menu.Load());
  for (int position = 1; position <= 7; ++position) {
    menu.view.UserSelects(position);
    menu.form.OnGoBoxClick();
  }
  EXPECT_EQ(menu.starter.folders, (std::vector<std::string>{"docs\\manuals\\", "docs/", ".\\"}));
  EXPECT_TRUE(menu.starter.started.empty());
  // The folder without its separator keeps what a folder always did: no file is there.
  EXPECT_EQ(
      std::count(menu.view.calls.begin(), menu.view.calls.end(), "Warn Kestova: Can't find file!!"),
      4);
}

TEST(FolderCommandTest, AFolderOutsideTheMediumIsNoneOfItsFolders) {
  ScratchMedium outside;
  const std::string elsewhere = outside.root().u8string() + "/";
  ScratchMedium medium;
  std::filesystem::create_directories(medium.root() / "docs");
  EXPECT_TRUE(NamesMediumFolder("docs\\"));
  EXPECT_FALSE(NamesMediumFolder("docs"));
  // Where the system lets a test make links (not every Windows does).
  std::error_code linked;
  std::filesystem::create_directory_symlink(outside.root(), medium.root() / "docs" / "out", linked);
  if (!linked) {
    EXPECT_FALSE(NamesMediumFolder("docs\\out\\"));
  }
  EXPECT_FALSE(NamesMediumFolder(elsewhere));
  EXPECT_FALSE(NamesMediumFolder("docs\\..\\..\\"));
}

}  // namespace
}  // namespace tolvar
