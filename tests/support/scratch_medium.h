// Test support: a fresh temporary directory that stands in for a medium's root, made the current
// directory for the test's lifetime, with helpers to write files into it.
#ifndef TOLVAR_TESTS_SUPPORT_SCRATCH_MEDIUM_H_
#define TOLVAR_TESTS_SUPPORT_SCRATCH_MEDIUM_H_

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace tolvar {

class ScratchMedium {
 public:
  ScratchMedium() : previous_(std::filesystem::current_path()) {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() /
            ("tolvar-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(root_);
    std::filesystem::current_path(root_);
  }
  ~ScratchMedium() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchMedium(const ScratchMedium&) = delete;
  ScratchMedium& operator=(const ScratchMedium&) = delete;

  // Writes `bytes` exactly (no newline translation) to `relative`, making its directories.
  void Write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path path = root_ / std::filesystem::u8path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Writes menu/config.mnu.
  void WriteDefinition(const std::string& bytes) const { Write("menu/config.mnu", bytes); }

  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
};

}  // namespace tolvar

#endif  // TOLVAR_TESTS_SUPPORT_SCRATCH_MEDIUM_H_
