// The medium's root on the real system: the program's own folder, entering a folder, and the menu
// program started in a working folder without a menu file, over real folders.
#include "menu_window/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_program.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
const std::string kExe = ".exe";
#else
const std::string kExe = "";
#endif

// The build puts the recorder beside the test program, so the program's folder must hold it.
TEST(ProgramFolderTest, NamesTheFolderThatHoldsTheRunningProgram) {
  const Expected<std::string> folder = ProgramFolder();
  ASSERT_TRUE(folder.ok()) << folder.reason();
  EXPECT_TRUE(fs::u8path(folder.value()).is_absolute()) << folder.value();
  EXPECT_TRUE(fs::exists(fs::u8path(folder.value()) / ("tolvar_start_recorder" + kExe)))
      << folder.value();
}

TEST(ProgramFolderTest, EnteringAFolderThatIsNotThereFailsWithTheReasonAndStaysPut) {
  ScratchMedium medium;
  const fs::path before = fs::current_path();
  const Result entered = EnterFolder((medium.root() / "not there").u8string());
  EXPECT_FALSE(entered.ok);
  EXPECT_FALSE(entered.reason.empty());
  EXPECT_EQ(fs::current_path(), before);

  fs::create_directories(medium.root() / u8"Disc \u00dcber");
  ASSERT_TRUE(EnterFolder((medium.root() / u8"Disc \u00dcber").u8string()).ok);
  EXPECT_EQ(fs::current_path(), medium.root() / u8"Disc \u00dcber");
}

constexpr char kDiscMenu[] = "Disc\r\n$null$\r\n1\r\nSetup\r\nsetup.exe\r\n";

// The menu program over the recording fakes, with the real EnterFolder; the test names the folder
// that stands for the program's.
class MediumRootTest : public testing::Test {
 protected:
  int Run(std::vector<std::string> languages = {}) {
    MenuPlatform platform(view_, &events_, starter_, System::kWindows);
    platform.decimal_separator = ".";
    platform.languages = std::move(languages);
    platform.program_folder = [this]() -> Expected<std::string> {
      asked_ = true;
      if (program_folder_.empty()) return Expected<std::string>::Failure("no link to follow");
      return program_folder_.u8string();
    };
    platform.enter_folder = EnterFolder;
    platform.show_and_run = [this] {
      if (launch_first_entry_) {
        view_.selected = 1;
        events_.on_menu_click();
        events_.on_go_box_click();
      }
      return 0;
    };
    testing::internal::CaptureStderr();
    const int status = RunMenuProgram(platform);
    stderr_ = testing::internal::GetCapturedStderr();
    return status;
  }

  bool Called(const std::string& call) const {
    for (const std::string& made : view_.calls) {
      if (made == call) return true;
    }
    return false;
  }

  ScratchMedium medium_;  // the working folder the menu is started in
  fs::path program_folder_;
  FakeMenuView view_;
  MenuEvents events_;
  FakeProgramStart starter_;
  bool asked_ = false;
  bool launch_first_entry_ = true;  // what the person does in the window
  std::string stderr_;
};

TEST_F(MediumRootTest, StartedElsewhereTheMenuOpensItsOwnMediumAndStartsEntriesThere) {
  program_folder_ = medium_.root() / "disc";
  medium_.Write("disc/menu/config.mnu", kDiscMenu);
  medium_.Write("disc/setup.exe", "");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Called("SetTitle Disc"));
  EXPECT_EQ(fs::current_path(), program_folder_);
  // Relative to the medium's root, which is now the working folder the program inherits.
  EXPECT_EQ(starter_.started, std::vector<std::string>{"setup.exe"});
  EXPECT_EQ(stderr_, "");
}

TEST_F(MediumRootTest, AWorkingFolderWithAMenuFileStaysTheRootAsTheMenuLooksItUp) {
  program_folder_ = medium_.root() / "disc";
  medium_.Write("disc/menu/config.mnu", kDiscMenu);
  // A language's file alone makes the working folder a medium too.
  medium_.Write("menu/config.de.mnu", "Hier\r\n$null$\r\n1\r\nSetup\r\nsetup.exe\r\n");
  medium_.Write("setup.exe", "");
  EXPECT_EQ(Run({"de-DE"}), 0);
  EXPECT_TRUE(Called("SetTitle Hier"));
  EXPECT_FALSE(asked_);
  EXPECT_EQ(fs::current_path(), medium_.root());
#ifndef _WIN32
  // Linux finds the menu file in any letter case, as Windows does (the medium was written there).
  fs::remove_all(medium_.root() / "menu");
  medium_.Write("MENU/Config.MNU", "Upper\r\n$null$\r\n1\r\nSetup\r\nsetup.exe\r\n");
  view_.calls.clear();
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Called("SetTitle Upper"));
  EXPECT_FALSE(asked_);
#endif
}

TEST_F(MediumRootTest, WithAMenuFileInNeitherFolderTheMenuSaysItFindsNone) {
  program_folder_ = medium_.root() / "bin";
  fs::create_directories(program_folder_);
  launch_first_entry_ = false;
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Called(std::string("Warn Kestova: ") + kDefinitionMissingText));

  // A program folder the system cannot name, or one that cannot be entered, is said on stderr.
  view_.calls.clear();
  program_folder_.clear();
  fs::current_path(medium_.root());
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Called(std::string("Warn Kestova: ") + kDefinitionMissingText));
  EXPECT_EQ(stderr_,
            "tolvar-autorun: the folder of the menu's own program is unknown: no link "
            "to follow\n");
  program_folder_ = medium_.root() / "gone";
  EXPECT_EQ(Run(), 0);
  EXPECT_NE(stderr_.find("gone, cannot be entered: "), std::string::npos) << stderr_;
  EXPECT_EQ(fs::current_path(), medium_.root());
}

}  // namespace
}  // namespace tolvar
