// What the medium itself may do to the menu file: be something other than a file, be unreadable,
// vanish while the menu starts. And the menu's promise to the medium: it writes nothing there.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <system_error>
#include <thread>
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

TEST(HostileMediumTest, AnEndlessFileEndsAtItsFirstTooLongLine) {
  // A link on the medium to a /proc file that reads as some hundred gigabytes of NUL bytes with
  // no line end: the menu must neither fill its memory nor read on for ever.
  if (!fs::exists("/proc/self/pagemap")) GTEST_SKIP() << "no /proc/self/pagemap here";
  ScratchMedium medium;
  fs::create_directories("menu");
  fs::create_symlink("/proc/self/pagemap", "menu/config.mnu");
  const std::optional<RunTimeError> error = FakeMenu().Load();
  ASSERT_TRUE(error) << "loaded";
  EXPECT_EQ(error->kind(), Kind::kLineTooLong) << error->what();
  EXPECT_EQ(error->line(), 1);
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

TEST(HostileMediumTest, MenuFileVanishingAndReturningWhileTheMenuStarts) {
  // Whatever the moment the file goes or comes back, the menu loads it whole, reports it missing,
  // or says it cannot be opened; nothing else, and never a half-read menu.
  ScratchMedium medium;
  medium.Write("menu/spare.mnu", kMenu);
  std::atomic<bool> done{false};
  std::atomic<int> cycles{0};
  std::thread flipper([&] {
    while (!done) {
      std::error_code ignored;
      fs::copy_file("menu/spare.mnu", "menu/next.mnu", fs::copy_options::overwrite_existing,
                    ignored);
      fs::rename("menu/next.mnu", "menu/config.mnu", ignored);  // appears whole, at once
      fs::remove("menu/config.mnu", ignored);
      ++cycles;
    }
  });
  while (cycles == 0) std::this_thread::yield();
  std::map<std::string, int> outcomes;
  for (int i = 0; i < 20000; ++i) {
    FakeMenu menu;
    if (const std::optional<RunTimeError> error = menu.Load()) {
      EXPECT_EQ(error->kind(), Kind::kCannotOpen) << error->what();
      EXPECT_NE(std::string(error->what()).find("No such file or directory"), std::string::npos);
      ++outcomes["cannot open"];
    } else {
      const bool loaded = menu.form.state() == MenuForm::State::kLoaded;
      ++outcomes[loaded ? "loaded" : "missing"];
      if (loaded) {
        EXPECT_EQ(menu.form.MenuEntries().size(), 2u);
      }
    }
  }
  done = true;
  flipper.join();
}
#endif

TEST(HostileMediumTest, MenuFileGoneBetweenTheTestAndTheOpenIsAnErrorNamingIt) {
  ScratchMedium medium;
  medium.WriteDefinition(kMenu);
  fs::remove("menu/config.mnu");  // after the existence test, the open is what sees it gone
  try {
    TextInput file(kDefinitionPath);
    FAIL() << "opened a file that is gone";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), Kind::kCannotOpen);
    EXPECT_EQ(error.line(), 0);
    EXPECT_NE(std::string(error.what()).find("config.mnu: the file cannot be opened"),
              std::string::npos);
  }
}

// Every file and directory under `root` with its size, time of change and permissions.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const fs::file_status status = entry.symlink_status();
    std::string facts = std::to_string(static_cast<int>(status.type())) + " " +
                        std::to_string(static_cast<int>(status.permissions()));
    if (status.type() == fs::file_type::regular) {
      facts += " " + std::to_string(entry.file_size()) + " " +
               std::to_string(entry.last_write_time().time_since_epoch().count());
    }
    files[entry.path().lexically_relative(root).generic_u8string()] = facts;
  }
  return files;
}

TEST(HostileMediumTest, TheMenuWritesNothingOnTheMedium) {
  // Loaded and used, missing, and broken: the medium (the current directory) stays as it was. The
  // files are made read-only too, which stops any writer but root; the snapshot catches root.
  for (const char* definition : {kMenu, "", "Title\r\n$null$\r\nmany\r\n"}) {
    ScratchMedium medium;
    if (*definition != '\0') medium.WriteDefinition(definition);
    medium.Write("menu/splash.bmp", "picture");
    medium.Write("setup.exe", "program");
    for (const auto& entry : fs::recursive_directory_iterator(medium.root())) {
      if (entry.is_regular_file()) {
        fs::permissions(entry.path(),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      }
    }
    const auto before = Snapshot(medium.root());
    {
      FakeMenu menu;
      // The broken menu's error is the other tests' concern; what it leaves behind is this one's.
      if (!menu.Load() && menu.form.state() == MenuForm::State::kLoaded) {
        for (int position : {1, 2, 0, 1}) {
          menu.view.UserSelects(position);
          menu.form.OnGoBoxClick();
        }
      }
      menu.form.OnExitBoxClick();
    }
    EXPECT_EQ(Snapshot(medium.root()), before) << definition;
    for (const auto& entry : fs::recursive_directory_iterator(medium.root())) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    }
  }
}

}  // namespace
}  // namespace tolvar
