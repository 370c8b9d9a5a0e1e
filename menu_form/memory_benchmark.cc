// Benchmark of memory, not a test: the peak resident memory of loading a small menu, alone and
// behind 1 GB of comment lines, each load in a fresh process of its own. Reading streams line by
// line, so the two peaks should be close (the goal: less than twice). Prints the figures.
//
//   tolvar_memory_benchmark [gigabytes of comments, default 1]
//
// The files are made in a temporary directory ($TMPDIR or /tmp) and removed afterwards.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "menu_form/menu_form.h"
#include "shared_routines/run_time_error.h"
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

void WriteMedium(const fs::path& root, long long comment_bytes) {
  fs::create_directories(root / "menu");
  std::ofstream file(root / "menu" / "config.mnu", std::ios::binary);
  std::string block;
  const std::string line = "' " + std::string(76, '-') + "\r\n";  // 80 bytes a line
  while (block.size() < (1 << 20)) block += line;
  for (long long written = 0; written < comment_bytes; written += block.size()) file << block;
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
  const double gigabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
  const char* tmp = std::getenv("TMPDIR");
  const fs::path base =
      fs::path(tmp != nullptr ? tmp : "/tmp") / ("tolvar-memory-" + std::to_string(getpid()));
  WriteMedium(base / "small", 0);
  WriteMedium(base / "large", static_cast<long long>(gigabytes * (1LL << 30)));
  const long small = PeakOfLoadIn(base / "small");
  const long large = PeakOfLoadIn(base / "large");
  const auto size = fs::file_size(base / "large" / "menu" / "config.mnu");
  std::error_code ignored;
  fs::remove_all(base, ignored);
  if (small <= 0 || large <= 0) {
    std::fprintf(stderr, "a load failed\n");
    return 1;
  }
  std::printf("peak resident memory, small menu alone:            %6ld KiB\n", small);
  std::printf("peak resident memory, behind %5.2f GB of comments: %6ld KiB  (file %llu bytes)\n",
              gigabytes, large, static_cast<unsigned long long>(size));
  std::printf("ratio: %.3f (goal: under 2)\n", static_cast<double>(large) / small);
  return 0;
}
