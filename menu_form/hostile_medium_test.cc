// What the medium itself may do to the menu file: be something other than a file, be unreadable,
// vanish or be replaced while the menu starts.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "menu_form/menu_form.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using Kind = RunTimeError::Kind;

constexpr char kMenu[] =
    "Title\r\nmenu\\splash.bmp\r\n2\r\nSetup\r\nsetup.exe\r\nLeave\r\n$exit$\r\n";

#ifndef _WIN32
TEST(HostileMediumTest, MenuFileThatIsNoOrdinaryFileCountsAsMissing) {
  // None of these may hang the menu (a FIFO would block an open for reading) or end it: each is
  // reported as a missing menu file, and the window opens empty.
  const auto directory = [] { fs::create_directories("menu/config.mnu"); };
  const auto fifo = [] { ASSERT_EQ(mkfifo("menu/config.mnu", 0644), 0); };
  const auto dangling = [] { fs::create_symlink("nowhere.mnu", "menu/config.mnu"); };
  const auto loop = [] {
    fs::create_symlink("other.mnu", "menu/config.mnu");
    fs::create_symlink("config.mnu", "menu/other.mnu");
  };
  const auto device = [] { fs::create_symlink("/dev/zero", "menu/config.mnu"); };
  for (const std::function<void()>& make :
       std::vector<std::function<void()>>{directory, fifo, dangling, loop, device}) {
    ScratchMedium medium;
    fs::create_directories("menu");
    make();
    FakeMenu menu;
    EXPECT_FALSE(menu.Load());
    EXPECT_EQ(
        menu.view.calls,
        (std::vector<std::string>{"Warn Kestova: Can't locate menu options definition file."}));
    EXPECT_EQ(menu.form.state(), MenuForm::State::kDefinitionMissing);
  }
}

TEST(HostileMediumTest, AFileIsReadOnlyAsFarAsItsStatedSize) {
  // Links on the medium to /proc files that say they are empty: one reads as some hundred
  // gigabytes of NUL bytes with no line end, one as text (as the kernel's log does, which a menu
  // run as root would show as its title). The menu reads no file outside the medium, so for it
  // the menu file is missing; and the input reads neither past what it says it holds.
  for (const char* proc : {"/proc/self/pagemap", "/proc/self/status"}) {
    if (!fs::exists(proc)) GTEST_SKIP() << "no " << proc << " here";
    ScratchMedium medium;
    fs::create_directories("menu");
    fs::create_symlink(proc, "menu/config.mnu");
    FakeMenu menu;
    EXPECT_FALSE(menu.Load()) << proc;
    EXPECT_EQ(menu.form.state(), MenuForm::State::kDefinitionMissing) << proc;
    TextInput input("menu\\config.mnu");
    EXPECT_EQ(input.PeekByte(), -1) << proc;
  }
}

TEST(HostileMediumTest, UnreadableMenuFileIsAnErrorNamingTheFile) {
  ScratchMedium medium;
  medium.WriteDefinition(kMenu);
  fs::permissions("menu/config.mnu", fs::perms::none);
  fs::permissions(medium.root(), fs::perms::owner_all | fs::perms::others_exec |
                                     fs::perms::group_exec | fs::perms::others_read);
  // Root reads any file, so the load runs in a child that has given up root, when it can.
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(report[0]);
    std::string outcome;
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
      outcome = "skip";
    } else if (const std::optional<RunTimeError> error = FakeMenu().Load()) {
      outcome = std::string(KindName(error->kind())) + ": " + error->what();
    } else {
      outcome = "loaded";
    }
    const ssize_t written = write(report[1], outcome.data(), outcome.size());
    _exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
  }
  close(report[1]);
  std::string outcome;
  char buffer[512];
  for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) outcome.append(buffer, n);
  close(report[0]);
  int status = 0;
  waitpid(child, &status, 0);
  fs::permissions("menu/config.mnu", fs::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  if (outcome == "skip")
    GTEST_SKIP() << "root cannot drop its privileges here, and root reads any file";
  EXPECT_EQ(outcome,
            "file cannot be opened: menu/config.mnu: the file cannot be opened: Permission denied");
}

// A view that, when the form shows the title (the file is open and partly read by then), takes the
// menu file away or puts another in its place.
class FileChangingView : public FakeMenuView {
 public:
  explicit FileChangingView(std::function<void()> change) : change_(std::move(change)) {}
  void SetTitle(const std::string& title) override {
    FakeMenuView::SetTitle(title);
    change_();
  }

 private:
  std::function<void()> change_;
};

TEST(HostileMediumTest, AMenuFileRemovedOrReplacedWhileReadLoadsAsItWasWhenOpened) {
  // The entries sit past the read buffer, so a reader that opened the file again by its name for
  // the rest would fail on a removed file and read the other file's bytes after a replaced one.
  const std::string opened = "Title\r\n$null$\r\n'" + std::string(256 * 1024, 'c') +
                             "\r\n2\r\nSetup\r\nsetup.exe\r\nLeave\r\n$exit$\r\n";
  const auto remove = [] { fs::remove("menu/config.mnu"); };
  const auto replace = [] { fs::rename("menu/other.mnu", "menu/config.mnu"); };
  for (const std::function<void()>& change : std::vector<std::function<void()>>{remove, replace}) {
    ScratchMedium medium;
    medium.WriteDefinition(opened);
    medium.Write("menu/other.mnu",
                 "Other\r\n$null$\r\n1\r\nOther\r\nother.exe\r\n" + std::string(512 * 1024, '\n'));
    FileChangingView view(change);
    FakeProgramStart starter;
    MenuForm form(view, starter, ".", System::kWindows);
    view.Attach(&form);
    ASSERT_NO_THROW(form.OnLoad());
    EXPECT_FALSE(fs::exists("menu/config.mnu") && fs::file_size("menu/config.mnu") == opened.size())
        << "the file was not changed while read";
    EXPECT_EQ(view.calls.front(), "SetTitle Title");
    EXPECT_EQ(view.items, (std::vector<std::string>{"Please Select...", "Setup", "Leave"}));
  }
}
#endif

TEST(HostileMediumTest, AMenuFileLargerThanAnyMenuIsRefusedUnread) {
  ScratchMedium medium;
  medium.WriteDefinition("'");  // a comment that goes on, sparse, for 256 MiB and a byte
  fs::resize_file("menu/config.mnu", kLargestTextFile + 1);
  const std::optional<RunTimeError> error = FakeMenu().Load();
  ASSERT_TRUE(error) << "loaded";
  EXPECT_EQ(error->kind(), Kind::kCannotOpen);
  EXPECT_NE(std::string(error->what()).find("larger than the 256 MiB a menu file may be"),
            std::string::npos)
      << error->what();
}

}  // namespace
}  // namespace tolvar
