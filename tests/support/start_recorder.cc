// Test helper: the program the program-start tests and the end-to-end tests launch. It writes down
// how it was started (its own file, its command line and the words Windows splits it into, or its
// arguments, its current directory, its standard input, its session or its show state) into the
// file that TOLVAR_START_RECORD names, then ends; when that file is there already, from an earlier
// start, into the first free of NAME-2, NAME-3 and so on. A record appears whole or not at all, so
// a test that waits for it never reads half of one. On Windows it is a program without a console,
// as a medium's setup program is, so that no console window takes the focus.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the Windows types above it.
#include <shellapi.h>
#else
#include <errno.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace {

#ifdef _WIN32
std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size,
                      nullptr, nullptr);
  return utf8;
}

int Record() {
  wchar_t record[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TOLVAR_START_RECORD", record, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;

  wchar_t buffer[MAX_PATH];
  std::string text =
      "exe=" + Utf8(std::wstring(buffer, GetModuleFileNameW(nullptr, buffer, MAX_PATH))) + "\n";
  text += "command_line=" + Utf8(GetCommandLineW()) + "\n";
  // The words as a Windows program splits its command line, one "arg" each, as on POSIX.
  int count = 0;
  if (wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) text += "arg=" + Utf8(words[i]) + "\n";
    LocalFree(words);
  }
  text += "cwd=" + Utf8(std::wstring(buffer, GetCurrentDirectoryW(MAX_PATH, buffer))) + "\n";
  STARTUPINFOW startup;
  GetStartupInfoW(&startup);
  text +=
      "use_show_window=" + std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? 1 : 0) +
      "\n";
  text += "show_window=" + std::to_string(startup.wShowWindow) + "\n";

  const std::wstring part =
      std::wstring(record) + L"." + std::to_wstring(GetCurrentProcessId()) + L".part";
  FILE* file = _wfopen(part.c_str(), L"wb");
  if (file == nullptr) return 3;
  std::fwrite(text.data(), 1, text.size(), file);
  if (std::fclose(file) != 0) return 3;
  for (int serial = 1; serial < 1000; ++serial) {
    const std::wstring target =
        serial == 1 ? std::wstring(record) : record + (L"-" + std::to_wstring(serial));
    // Without MOVEFILE_REPLACE_EXISTING the move fails on an existing record, never replaces it.
    if (MoveFileExW(part.c_str(), target.c_str(), 0)) return 0;
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  DeleteFileW(part.c_str());
  return 4;
}
#else
int Record(int argc, char** argv) {
  const char* record = std::getenv("TOLVAR_START_RECORD");
  if (record == nullptr) return 2;

  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  std::string text = "exe=" + std::string(buffer, length > 0 ? length : 0) + "\n";
  for (int i = 0; i < argc; ++i) text += "arg=" + std::string(argv[i]) + "\n";
  text += "cwd=" + std::string(getcwd(buffer, sizeof buffer) != nullptr ? buffer : "") + "\n";
  const ssize_t input = readlink("/proc/self/fd/0", buffer, sizeof buffer);
  text += "stdin=" + std::string(buffer, input > 0 ? input : 0) + "\n";
  text += "pid=" + std::to_string(getpid()) + "\n";
  text += "sid=" + std::to_string(getsid(0)) + "\n";

  const std::string part = std::string(record) + "." + std::to_string(getpid()) + ".part";
  FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) return 3;
  std::fwrite(text.data(), 1, text.size(), file);
  if (std::fclose(file) != 0) return 3;
  int status = 4;
  for (int serial = 1; serial < 1000; ++serial) {
    const std::string target =
        serial == 1 ? std::string(record) : record + ("-" + std::to_string(serial));
    // A link, unlike a rename, fails on an existing record instead of replacing it.
    if (link(part.c_str(), target.c_str()) == 0) {
      status = 0;
      break;
    }
    if (errno != EEXIST) break;
  }
  unlink(part.c_str());
  return status;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  return Record();
#else
  return Record(argc, argv);
#endif
}
