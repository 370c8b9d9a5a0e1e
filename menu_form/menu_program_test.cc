// The menu program's start-up and event guard, over the recording fakes: what ends the menu is
// reported once, on stderr and in the box, and the window never shows; a fault in a handler never
// leaves it.
#include "menu_form/menu_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

constexpr char kMenu[] = "T\r\n$null$\r\n1\r\nSetup\r\nsetup.exe\r\n";

// A program start that fails as the test says: by throwing what `fault` throws.
class ThrowingProgramStart : public ProgramStart {
 public:
  std::function<void()> fault;

 protected:
  Result StartFile(const LaunchRequest&) override {
    fault();
    return Result::Ok();
  }
  Result OpenUri(const std::string&) override { return Result::Ok(); }
  Result BrowseFolder(const std::string&) override { return Result::Ok(); }
};

class MenuProgramTest : public testing::Test {
 protected:
  // Runs the menu program over `view`; `user` is what the person does while the window runs.
  int Run(
      MenuView& view, std::function<void()> user = [] {}) {
    MenuPlatform platform(view, &events_, starter_, System::kLinux);
    platform.decimal_separator = ".";
    platform.create_window = create_window_;
    platform.show_error_box = [this](const std::string& text, const std::string& title) {
      boxes_.push_back(title + ": " + text);
    };
    platform.show_and_run = [this, user] {
      shown_ = true;
      user();
      return 0;
    };
    testing::internal::CaptureStderr();
    const int status = RunMenuProgram(platform);
    stderr_ = testing::internal::GetCapturedStderr();
    return status;
  }

  ScratchMedium medium_;
  FakeMenuView view_;
  MenuEvents events_;
  ThrowingProgramStart starter_;
  std::function<Result()> create_window_;
  std::vector<std::string> boxes_;
  std::string stderr_;
  bool shown_ = false;
};

TEST_F(MenuProgramTest, AFaultInTheMenuFileIsReportedOnceAndNothingShows) {
  medium_.WriteDefinition("T\r\n$null$\r\n0\r\n");
  EXPECT_EQ(Run(view_), 1);
  EXPECT_FALSE(shown_);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].rfind("Kestova: menu", 0), 0u) << boxes_[0];
  EXPECT_NE(stderr_.find("tolvar-autorun: subscript out of range: menu"), std::string::npos)
      << stderr_;
}

// Running out of memory while loading is reported as a load fault is, with its own kind.
class OutOfMemoryView : public FakeMenuView {
 public:
  void SetTitle(const std::string&) override { throw std::bad_alloc(); }
};

TEST_F(MenuProgramTest, AnUnexpectedFailureWhileLoadingGetsTheSameReport) {
  medium_.WriteDefinition(kMenu);
  OutOfMemoryView view;
  EXPECT_EQ(Run(view), 1);
  EXPECT_FALSE(shown_);
  EXPECT_EQ(boxes_,
            std::vector<std::string>{"Kestova: The menu cannot go on: there is not enough memory"});
  EXPECT_EQ(stderr_, "tolvar-autorun: out of memory: there is not enough memory\n");
}

// A window may throw while it is built (the Linux one starts a thread there): the same report,
// and the menu file is never read into it.
TEST_F(MenuProgramTest, AnExceptionWhileTheWindowIsBuiltGetsTheSameReport) {
  medium_.WriteDefinition(kMenu);
  create_window_ = []() -> Result { throw std::runtime_error("no thread"); };
  EXPECT_EQ(Run(view_), 1);
  EXPECT_FALSE(shown_);
  EXPECT_TRUE(view_.calls.empty());
  EXPECT_EQ(boxes_, std::vector<std::string>{"Kestova: The menu cannot go on: no thread"});
  EXPECT_EQ(stderr_, "tolvar-autorun: unexpected error: no thread\n");
}

TEST_F(MenuProgramTest, AHandlersRunTimeErrorIsAWarningAndTheMenuGoesOn) {
  medium_.Write("setup.exe", "");
  medium_.WriteDefinition(kMenu);
  starter_.fault = [] { throw RunTimeError(RunTimeError::Kind::kCannotOpen, "setup.exe", 0, "x"); };
  const int status = Run(view_, [this] {
    view_.selected = 1;
    events_.on_menu_click();
    events_.on_go_box_click();
    events_.on_go_box_click();
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(view_.calls.back(), "Warn Kestova: setup.exe: x");
  EXPECT_EQ(std::count(view_.calls.begin(), view_.calls.end(), view_.calls.back()), 2);
  EXPECT_EQ(stderr_, "");
}

TEST_F(MenuProgramTest, AnUnexpectedExceptionInAHandlerEndsTheMenuWithTheReport) {
  medium_.Write("setup.exe", "");
  medium_.WriteDefinition(kMenu);
  starter_.fault = [] { throw std::logic_error("broken"); };
  const int status = Run(view_, [this] {
    view_.selected = 1;
    events_.on_menu_click();
    events_.on_go_box_click();  // must not throw out of the hook
    events_.on_go_box_click();  // the menu has ended: nothing more runs
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(boxes_, std::vector<std::string>{"Kestova: The menu cannot go on: broken"});
  EXPECT_EQ(stderr_, "tolvar-autorun: unexpected error: broken\n");
  EXPECT_EQ(view_.calls.back(), "Close");
  // The hooks do not outlive the form they call.
  EXPECT_FALSE(events_.on_go_box_click);
}

}  // namespace
}  // namespace tolvar
