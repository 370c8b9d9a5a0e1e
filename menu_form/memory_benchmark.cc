// Benchmark of memory, not a test: the peak resident memory of loading a small menu, alone, behind
// comment lines that fill a menu file to the largest size the menu reads (kLargestTextFile), and
// behind one comment line as long, each load in a fresh process of its own. Reading streams line by
// line and skips comments without keeping them, so the peaks should be close (the goal: less than
// twice). Prints the figures.
//
//   tolvar_memory_benchmark [MiB of comments, default: as many as a menu file may hold]
//
// The files are made in a temporary directory ($TMPDIR or /tmp) and removed afterwards.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "menu_form/menu_form.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"
#include "tests/support/fake_menu_view.h"

extern char** environ;

namespace tolvar {
namespace {

namespace fs = std::filesystem;

constexpr char kSmallMenu[] =
    "My Product 2.0\r\n$null$\r\n3\r\nInstall My Product\r\nsetup\\setup.exe\r\n"
    "-- Extras --\r\n$null$\r\nLeave\r\n$exit$\r\n";

// The peak resident set of this process so far, in KiB, as the kernel counts it.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// Child: load the menu in the current directory and print the peak.
int LoadHere() {
  FakeMenuView view;
  view.record_list_items = false;
  FakeProgramStart starter;
  MenuForm form(view, starter, ".", System::kWindows);
  view.Attach(&form);
  try {
    form.OnLoad();
  } catch (const RunTimeError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  if (form.MenuEntries().size() != 3) return 1;
  std::printf("%ld\n", PeakResidentKiB());
  return 0;
}

constexpr uint64_t kMiB = uint64_t{1} << 20;

// The small menu behind about `comment_mib` MiB of comments: lines of 80 bytes, or one line.
void WriteMedium(const fs::path& root, uint64_t comment_mib, bool one_line) {
  fs::create_directories(root / "menu");
  std::ofstream file(root / "menu" / "config.mnu", std::ios::binary);
  const std::string line = "' " + std::string(76, '-') + "\r\n";  // 80 bytes a line
  std::string block;
  while (block.size() < kMiB) block += one_line ? std::string(80, 'c') : line;
  if (one_line) file << '\'';
  for (uint64_t written = 0; written < comment_mib; ++written) file << block;
  if (one_line) file << "\r\n";
  file << kSmallMenu;
}

// Runs this program again in `root` to load its menu; returns the child's peak in KiB.
long PeakOfLoadIn(const fs::path& root) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  int output[2];
  if (pipe(output) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, output[0]);
  const std::string where = root.string();
  char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--load-here"),
                  const_cast<char*>(where.c_str()), nullptr};
  pid_t child;
  const int error = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (error != 0) return -1;
  std::string text;
  char buffer[64];
  for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(output[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::atol(text.c_str());
}

}  // namespace
}  // namespace tolvar

int main(int argc, char** argv) {
  using namespace tolvar;
  if (argc == 3 && std::string(argv[1]) == "--load-here") {
    fs::current_path(argv[2]);
    return LoadHere();
  }
  // A menu file larger than kLargestTextFile is refused unread, so the comments stop a MiB short
  // of it, where the small menu and the line ends fit.
  const uint64_t largest_mib = kLargestTextFile / kMiB - 1;
  const uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : largest_mib;
  if (mib == 0 || mib > largest_mib) {
    std::fprintf(stderr, "usage: %s [MiB of comments, 1 to %llu]\n", argv[0],
                 static_cast<unsigned long long>(largest_mib));
    return 2;
  }
  const char* tmp = std::getenv("TMPDIR");
  const fs::path base =
      fs::path(tmp != nullptr ? tmp : "/tmp") / ("tolvar-memory-" + std::to_string(getpid()));
  WriteMedium(base / "small", 0, false);
  WriteMedium(base / "lines", mib, false);
  WriteMedium(base / "line", mib, true);
  const long small = PeakOfLoadIn(base / "small");
  const long lines = PeakOfLoadIn(base / "lines");
  const long line = PeakOfLoadIn(base / "line");
  const auto size = fs::file_size(base / "lines" / "menu" / "config.mnu");
  std::error_code ignored;
  fs::remove_all(base, ignored);
  if (small <= 0 || lines <= 0 || line <= 0) {
    std::fprintf(stderr, "a load failed\n");
    return 1;
  }
  std::printf("peak resident memory, small menu alone:                 %6ld KiB\n", small);
  std::printf(
      "peak resident memory, behind %4llu MiB of comment lines: %6ld KiB  (file %llu bytes)\n",
      static_cast<unsigned long long>(mib), lines, static_cast<unsigned long long>(size));
  std::printf("peak resident memory, behind one comment of %4llu MiB:   %6ld KiB\n",
              static_cast<unsigned long long>(mib), line);
  std::printf("ratio: %.3f and %.3f (goal: under 2; a menu file may be at most %llu MiB)\n",
              static_cast<double>(lines) / small, static_cast<double>(line) / small,
              static_cast<unsigned long long>(kLargestTextFile / kMiB));
  return 0;
}
