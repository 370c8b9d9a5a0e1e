// Win32 only: SystemLibraryFunction through GetSystemDirectoryW, LoadLibraryW and GetProcAddress.
#include "shared_routines/system_library_win32.h"

#include <windows.h>

#include <string>

namespace tolvar {

void* SystemLibraryFunction(const wchar_t* library, const char* name) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  // A DLL that is loaded already (user32, kernel32) is found again, not loaded twice.
  const HMODULE module = LoadLibraryW((std::wstring(directory) + L"\\" + library).c_str());
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace tolvar
