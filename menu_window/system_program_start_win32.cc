// Win32 body of SystemProgramStart: CreateProcessW of the checked path with the entry's arguments
// as written, minimised, without waiting; ShellExecuteExW for a start as administrator, for an
// installer that asks for administrator rights, for a document and for a link. Whether to start
// and what is the form's business: nothing here reads the menu file's words or decides on them.
#include <windows.h>
// shellapi.h and objbase.h need the Windows types above them.
#include <objbase.h>
#include <shellapi.h>

#include <utility>

#include "menu_window/system_program_start.h"
#include "shared_routines/batch_file.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/system_dlls_win32.h"
#include "shared_routines/utf16_win32.h"

// Older mingw-w64 headers do not name it yet.
#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif

namespace tolvar {
namespace {

// The path made absolute against the current directory, so that the shell never searches for it.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

// ShellExecuteExW's own failure code, for a shell that leaves the thread's last error unset.
DWORD ShellError(const SHELLEXECUTEINFOW& info) {
  switch (static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp))) {
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE:
      return ERROR_SHARING_VIOLATION;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
      return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
      return ERROR_DLL_NOT_FOUND;
    default:
      return GetLastError();
  }
}

// What ShellExecuteExW is asked to do.
struct ShellStart {
  const wchar_t* verb = nullptr;  // null for the file type's default
  std::wstring file;              // a full path, or a link
  std::wstring parameters;        // empty for none
  std::wstring directory;         // a full path; empty for the menu's own
  int show = SW_SHOWMINIMIZED;
};

Result ShellExecuteStart(const ShellStart& start) {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
  using CoUninitializeFunction = void(WINAPI*)();
  // The shell and COM are needed only for documents, links and elevation, and importing them
  // would make every start of the menu load them: tens of DLLs, a noticeable part of the start
  // under Wine.
  static const auto shell_execute_ex =
      SystemFunction<ShellExecuteExFunction>(L"shell32.dll", "ShellExecuteExW");
  static const auto co_initialize_ex =
      SystemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
  static const auto co_uninitialize =
      SystemFunction<CoUninitializeFunction>(L"ole32.dll", "CoUninitialize");
  if (shell_execute_ex == nullptr) return Result::Failure(SystemErrorText(GetLastError()));

  // Some shell extensions that open documents are COM objects and need an apartment.
  const HRESULT com =
      co_initialize_ex != nullptr && co_uninitialize != nullptr
          ? co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
          : E_FAIL;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // Errors come back to the menu, which names the file in its own warning.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = start.verb;
  info.lpFile = start.file.c_str();
  info.lpParameters = start.parameters.empty() ? nullptr : start.parameters.c_str();
  info.lpDirectory = start.directory.empty() ? nullptr : start.directory.c_str();
  info.nShow = start.show;
  SetLastError(ERROR_SUCCESS);
  const bool opened = shell_execute_ex(&info);
  const DWORD last_error = GetLastError();
  const DWORD error = opened ? ERROR_SUCCESS : ShellError(info);
  if (SUCCEEDED(com)) co_uninitialize();
  // The person said no to the elevation prompt: that needs no warning.
  if (!opened && last_error == ERROR_CANCELLED) return Result::Declined();
  if (opened) return Result::Ok();
  // No program is set to open files of this type: the person's system, not the medium.
  if (error == ERROR_NO_ASSOCIATION) return Result::NoApplication(SystemErrorText(error));
  return Result::Failure(SystemErrorText(error));
}

// The folder a program starts in, `directory` as the menu file writes it made absolute against
// the menu's own current directory; empty for the menu's own.
std::wstring StartFolder(const std::string& directory) {
  return directory.empty() ? std::wstring() : FullPath(Widen(directory));
}

// A start folder that is not there would have CreateProcessW fail with a reason that speaks of
// the program's path, and the shell start in some other folder: the failure names the folder.
Result CheckStartFolder(const std::wstring& folder, const std::string& written) {
  if (folder.empty()) return Result::Ok();
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return Result::Failure("its folder " + QuotedText(written, kLongestPathShown) + ": " +
                           SystemErrorText(GetLastError()));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Result::Failure("its folder " + QuotedText(written, kLongestPathShown) +
                           " is a file, not a folder");
  }
  return Result::Ok();
}

// `path` as Windows opens it: without the dots and blanks that end its last component, which
// Windows drops, so that "setup.bat." is the batch file it runs through cmd.exe.
std::string AsWindowsOpensIt(std::string path) {
  while (!path.empty() && (path.back() == '.' || path.back() == ' ')) path.pop_back();
  return path;
}

// Errors by which CreateProcessW says that the file is no program it can run.
bool IsNoProgram(DWORD error) {
  return error == ERROR_BAD_EXE_FORMAT || error == ERROR_BAD_FORMAT ||
         error == ERROR_EXE_MACHINE_TYPE_MISMATCH || error == ERROR_INVALID_EXE_SIGNATURE ||
         error == ERROR_EXE_MARKED_INVALID;
}

}  // namespace

// The real desktop is the shell itself, which gets the whole request; a test's stands in for it
// and is told the path alone.
SystemProgramStart::SystemProgramStart() = default;

SystemProgramStart::SystemProgramStart(DesktopOpen desktop_open)
    : desktop_open_(std::move(desktop_open)) {}

Result SystemProgramStart::OpenUri(const std::string& link) {
  // A link opens in the browser or mail program as a person would see it, never minimised.
  ShellStart start;
  start.verb = L"open";
  start.file = Widen(link);  // made safe for a handler's command line by the core
  start.show = SW_SHOWNORMAL;
  return ShellExecuteStart(start);
}

Result SystemProgramStart::BrowseFolder(const std::string& path) {
  if (desktop_open_) return desktop_open_(path);
  // Explorer's window on the folder, shown as a person would open it, never minimised.
  ShellStart start;
  start.verb = L"open";
  start.file = FullPath(Widen(path));
  // Without its ending separator, but for a drive's root: a handler that takes the folder as "%1"
  // would read the backslash before the closing quote as escaping it.
  while (start.file.size() > 1 && (start.file.back() == L'\\' || start.file.back() == L'/') &&
         start.file[start.file.size() - 2] != L':') {
    start.file.pop_back();
  }
  start.show = SW_SHOWNORMAL;
  return ShellExecuteStart(start);
}

Result SystemProgramStart::StartFile(const LaunchRequest& request) {
  const std::string& path = request.path;
  const std::string batch_refusal = BatchFileRefusal(AsWindowsOpensIt(path), request.arguments);
  if (!batch_refusal.empty()) return Result::Failure(batch_refusal);
  const std::wstring folder = StartFolder(request.directory);
  const Result folder_checked = CheckStartFolder(folder, request.directory);
  if (!folder_checked.ok) return folder_checked;
  // The application name is the whole checked path, so the system never splits it at a blank and
  // runs "C:\Program.exe" for "C:\Program Files\setup.exe", whatever folder it starts in.
  ShellStart shell;
  shell.file = FullPath(Widen(path));
  shell.parameters = Widen(request.arguments);
  shell.directory = folder;
  // The elevation prompt comes from the shell alone.
  if (request.run_as_administrator) {
    shell.verb = L"runas";
    return ShellExecuteStart(shell);
  }
  // The command line is the same path, quoted, as the program expects to find itself in it (in
  // full when it starts in another folder, where the path as written names nothing), then the
  // arguments exactly as the menu file writes them: the program splits them itself.
  std::wstring command_line = L"\"" + (folder.empty() ? Widen(path) : shell.file) + L"\"";
  if (!shell.parameters.empty()) command_line += L" " + shell.parameters;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(shell.file.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    const DWORD error = GetLastError();
    if (error != ERROR_ELEVATION_REQUIRED && !IsNoProgram(error)) {
      return Result::Failure(SystemErrorText(error));
    }
    // An installer whose manifest demands administrator rights starts only through the shell,
    // which shows the elevation prompt; a document opens in the application for its type, which
    // takes no arguments of the menu's.
    if (desktop_open_) return desktop_open_(path);
    if (IsNoProgram(error)) shell.parameters.clear();
    return ShellExecuteStart(shell);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return Result::Ok();
}

}  // namespace tolvar
