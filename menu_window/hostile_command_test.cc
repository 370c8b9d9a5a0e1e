// Commands that a shell would act on, long, relative and absolute paths, launched through the form
// with the real program start and real helper scripts: a command is a path, it runs only when a
// file of exactly that name exists, and nothing in it is ever interpreted.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "menu_form/menu_form.h"
#include "menu_window/system_program_start.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Every path under `root`, relative to it.
std::set<std::string> Listing(const fs::path& root) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    paths.insert(entry.path().lexically_relative(root).generic_string());
  }
  return paths;
}

// The lines of `path` once it holds `count` of them, or what it holds after ten seconds.
std::vector<std::string> AwaitLines(const fs::path& path, size_t count) {
  std::vector<std::string> lines;
  for (int tries = 0; tries < 1000; ++tries) {
    lines.clear();
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    if (lines.size() >= count) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return lines;
}

class HostileCommandTest : public testing::Test {
 protected:
  HostileCommandTest() : outside_(fs::temp_directory_path() / ("tolvar-outside-" + Stamp())) {
    fs::create_directories(outside_);
    log_ = outside_ / "started.log";
  }
  ~HostileCommandTest() override {
    std::error_code ignored;
    fs::remove_all(outside_, ignored);
  }

  static std::string Stamp() {
    return std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  }

  // A script that notes the name it was started under, and nothing else.
  void WriteHelper(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$0\" >> '" << log_.string() << "'\n";
    fs::permissions(path, fs::perms::owner_all);
  }

  // Loads a menu of `commands`, then selects and launches each once. Returns the form's warnings.
  std::vector<std::string> LaunchEach(const std::vector<std::string>& commands) {
    std::string definition = "T\r\n$null$\r\n" + std::to_string(commands.size()) + "\r\n";
    for (const std::string& command : commands) definition += "Entry\r\n" + command + "\r\n";
    medium_.WriteDefinition(definition);
    before_ = Listing(medium_.root());
    FakeMenuView view;
    SystemProgramStart start;
    MenuForm form(view, start, ".", System::kLinux);
    view.Attach(&form);
    form.OnLoad();
    std::vector<std::string> warnings;
    for (size_t i = 1; i <= commands.size(); ++i) {
      view.calls.clear();
      view.UserSelects(static_cast<int>(i));
      form.OnGoBoxClick();
      warnings.push_back(view.calls.empty() ? "" : view.calls.back());
    }
    return warnings;
  }

  ScratchMedium medium_;
  fs::path outside_;
  fs::path log_;
  std::set<std::string> before_;  // the medium as it was before the menu loaded
};

TEST_F(HostileCommandTest, ShellSyntaxIsPartOfTheNameAndNeverRuns) {
  // Straight to the program start, past the form's existence test. A shell would run the helpers
  // (or "touch") that these name; the start looks for a file of exactly the whole name.
  const std::vector<std::string> names{"setup.exe; touch injected",
                                       "setup.exe && touch injected",
                                       "$(touch injected)",
                                       "`touch injected`",
                                       "a|b",
                                       "setup.exe > injected",
                                       "setup.exe \"$HOME\"",
                                       "~/setup.exe"};
  for (const char* helper : {"setup.exe", "a", "b", "touch"}) WriteHelper(medium_.root() / helper);
  std::vector<std::string> opened;
  SystemProgramStart start([&opened](const std::string& path) {
    opened.push_back(path);
    return Result::Ok();
  });
  for (const std::string& name : names) {
    // The spawn itself fails, so nothing at all was started.
    const Result result = start.Start(name);
    EXPECT_FALSE(result.ok) << name;
    EXPECT_EQ(result.reason, "No such file or directory") << name;
  }
  EXPECT_TRUE(opened.empty());

  // Once files of exactly these names exist, each runs under its whole name and nothing else does.
  std::vector<std::string> expected;
  for (const std::string& name : names) {
    WriteHelper(medium_.root() / name);
    expected.push_back(name.find('/') == std::string::npos ? "./" + name : name);
  }
  const std::set<std::string> with_them = Listing(medium_.root());
  for (const std::string& name : names) EXPECT_TRUE(start.Start(name).ok) << name;
  std::vector<std::string> started = AwaitLines(log_, names.size());
  std::sort(started.begin(), started.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(started, expected);
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(Listing(medium_.root()), with_them);
}

// What the programs started while `start` runs write into a pipe that each inherits, read once the
// last of them has ended (the pipe closes then), or after 30 s at most. A program started at all
// holds its end before the start returns, so nothing it writes can come after the closing.
std::string WrittenByEveryProgramStarted(const std::function<void(int)>& start) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  fcntl(ends[0], F_SETFD, FD_CLOEXEC);  // only the writing end goes to the programs
  start(ends[1]);
  close(ends[1]);
  std::string written;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd readable{ends[0], POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t got = read(ends[0], buffer, sizeof buffer);
    if (got <= 0) break;  // every program that held the pipe has ended
    written.append(buffer, got);
  }
  close(ends[0]);
  return written;
}

TEST_F(HostileCommandTest, TheProgramStartRefusesANameWithANul) {
  // Whoever calls it: cut at the NUL, the name would be that of the helper, which exists. A start
  // of a second helper after it shows that a program started does write into the pipe.
  const std::string written = WrittenByEveryProgramStarted([&](int pipe) {
    for (const char* name : {"helper.sh", "witness.sh"}) {
      const fs::path path = medium_.root() / name;
      std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$0\" > /dev/fd/" << pipe << "\n";
      fs::permissions(path, fs::perms::owner_all);
    }
    SystemProgramStart start;
    const Result started = start.Start("helper.sh\0 more"s);
    EXPECT_FALSE(started.ok);
    EXPECT_EQ(started.reason, "the file name holds a NUL character");
    EXPECT_TRUE(start.Start("witness.sh").ok);
  });
  EXPECT_EQ(written, "./witness.sh\n");
}

TEST_F(HostileCommandTest, AFileNamedLikeShellSyntaxRunsUnderExactlyThatName) {
  const std::string tricky = "run; touch injected $(touch injected2) `touch x` | y > z.sh";
  WriteHelper(medium_.root() / tricky);
  WriteHelper(medium_.root() / "helper.sh");
  // A pattern passes the existence test but names no file: it is not expanded into one.
  const std::vector<std::string> warnings = LaunchEach({tricky, "helpe?.sh"});
  EXPECT_EQ(warnings[0], "");
  EXPECT_EQ(warnings[1], "Warn Kestova: Can't start \"helpe?.sh\": No such file or directory");
  EXPECT_EQ(AwaitLines(log_, 1), std::vector<std::string>{"./" + tricky});
  EXPECT_EQ(Listing(medium_.root()), before_);
}

TEST_F(HostileCommandTest, LongRelativeAndAbsolutePathsRunWhenTheFileExists) {
  // 4,000 characters in components short enough for the file system.
  std::string deep;
  while (deep.size() < 3700) deep += std::string(190, 'd') + "/";
  deep += std::string(4000 - deep.size() - 3, 'h') + ".sh";
  ASSERT_EQ(deep.size(), 4000u);
  WriteHelper(medium_.root() / deep);
  WriteHelper(outside_ / "tool.sh");
  const std::string up = "..\\" + outside_.filename().string() + "\\tool.sh";
  const std::string absolute = (outside_ / "tool.sh").string();

  const std::vector<std::string> warnings =
      LaunchEach({deep, up, absolute, "..\\missing\\tool.sh", "/nowhere/tool.sh"});
  EXPECT_EQ(warnings, (std::vector<std::string>{"", "", "", "Warn Kestova: Can't find file!!",
                                                "Warn Kestova: Can't find file!!"}));
  std::vector<std::string> started = AwaitLines(log_, 3);
  std::sort(started.begin(), started.end());
  std::vector<std::string> expected{deep, "../" + outside_.filename().string() + "/tool.sh",
                                    absolute};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(started, expected);
  EXPECT_EQ(Listing(medium_.root()), before_);
}

}  // namespace
}  // namespace tolvar
#endif
