// Win32 body of SystemProgramStart: CreateProcessW of the checked path, minimised, without waiting.
#include <windows.h>

#include "menu_window/system_program_start.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {
namespace {

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text != nullptr ? text : L"unknown error";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
    message.pop_back();
  return Narrow(message);
}

}  // namespace

Result SystemProgramStart::Start(const std::string& path) {
  const std::wstring application = Widen(path);
  // Quoted, so that a path with blanks can never be read as a shorter program and its arguments.
  std::wstring command_line = L"\"" + application + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(application.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return Result::Failure(SystemMessage(GetLastError()));
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return Result::Ok();
}

}  // namespace tolvar
