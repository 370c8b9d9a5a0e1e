// Win32 body of AnsiToUtf8: the system's ANSI code page (CP_ACP), through UTF-16.
#include <windows.h>

#include "shared_routines/ansi_code_page.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

std::string AnsiToUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &wide[0], length);
  return Narrow(wide);
}

}  // namespace tolvar
