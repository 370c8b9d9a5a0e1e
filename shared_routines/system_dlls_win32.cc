// Win32 body of LoadDllsFromSystemDirectoryOnly, and the load configuration that asks the loader
// to search the system directory only for the DLLs the program imports, before any code of ours
// runs (Windows 10 1607 and later read DependentLoadFlags).
#include "shared_routines/system_dlls_win32.h"

#include <windows.h>

#include <cstddef>
#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// The load configuration for this architecture (the 32-bit and 64-bit structures order their
// fields differently), filled by name. Its Size ends before the security cookie, so the fields
// after it (the cookie, the SEH handler table) are not read and keep their meaning of "none".
static constexpr IMAGE_LOAD_CONFIG_DIRECTORY SystemDirectoryOnlyLoadConfig() {
  IMAGE_LOAD_CONFIG_DIRECTORY config{};
  config.Size = offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, SecurityCookie);
  // DependentLoadFlags; older headers call the field Reserved1.
  config.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return config;
}

// The linker points the executable's load configuration directory at this symbol.
extern "C" __attribute__((used)) constexpr IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used =
    SystemDirectoryOnlyLoadConfig();

namespace tolvar {

void LoadDllsFromSystemDirectoryOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) return;
  const auto set_default_dll_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (set_default_dll_directories != nullptr) {
    set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Also takes the current directory (the medium's root) out of the search where the call above
  // is missing.
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(directory, length) + L"\\" + name;
  // The flag also keeps the DLL's own imports (windowscodecs' propsys.dll) out of the program's
  // folder; a Windows 7 without the update that brought it refuses the flag as invalid, and then
  // loads from the DLL's own folder first.
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module;
}

void* SystemLibraryFunction(const wchar_t* library, const char* name) {
  // A DLL that is loaded already (user32, kernel32) is found again, not loaded twice.
  const HMODULE module = LoadSystemLibrary(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace tolvar
