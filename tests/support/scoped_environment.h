// Test support: environment variables set for one test's lifetime and put back as they were when it
// ends, so that every test in the one unit-test process starts from the same environment.
#ifndef TOLVAR_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H_
#define TOLVAR_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H_

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#endif

namespace tolvar {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Put(name, value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // Sets `name` to the UTF-8 `value`. However often a name is set, the value it had before the
  // first time is the one restored.
  void Set(const std::string& name, const std::string& value) {
    saved_.try_emplace(name, Get(name));
    Put(name, value);
  }

 private:
  // The variable's value, or nothing when it is not set (which differs from set and empty).
  static std::optional<std::string> Get(const std::string& name) {
#ifdef _WIN32
    // Programs started with CreateProcess inherit the process's block, not the C run time's copy,
    // so that block is the one read and written here.
    const std::wstring wide = std::filesystem::u8path(name).wstring();
    SetLastError(ERROR_SUCCESS);
    const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (size == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wide.c_str(), &value[0], size));
    return std::filesystem::path(value).u8string();
#else
    const char* value = getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
#endif
  }

  static void Put(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    const std::wstring wide = std::filesystem::u8path(name).wstring();
    SetEnvironmentVariableW(wide.c_str(),
                            value ? std::filesystem::u8path(*value).wstring().c_str() : nullptr);
#else
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
#endif
  }

  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace tolvar

#endif  // TOLVAR_TESTS_SUPPORT_SCOPED_ENVIRONMENT_H_
