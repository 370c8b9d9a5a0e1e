// Win32 only: UTF-8 <-> UTF-16 through MultiByteToWideChar and WideCharToMultiByte.
#include "shared_routines/utf16_win32.h"

#include <windows.h>

namespace tolvar {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], length);
  return wide;
}

std::string Narrow(const std::wstring& utf16) {
  if (utf16.empty()) return std::string();
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, &narrow[0], length, nullptr, nullptr);
  return narrow;
}

std::string SystemErrorText(unsigned long error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  // std::to_string, not std::to_wstring: the wide one brings mingw-w64's whole wide printf into
  // the program, several kilobytes read from the disc before the window opens.
  std::wstring message = text != nullptr ? text : Widen("unknown error " + std::to_string(error));
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
    message.pop_back();
  }
  return Narrow(message);
}

}  // namespace tolvar
