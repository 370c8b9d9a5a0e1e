// Win32 only: DLLs come from the system directory, never from the program's own folder or the
// current directory, where anyone who writes a medium or a Downloads folder can put one.
#ifndef TOLVAR_SHARED_ROUTINES_SYSTEM_DLLS_WIN32_H_
#define TOLVAR_SHARED_ROUTINES_SYSTEM_DLLS_WIN32_H_

#include <windows.h>

namespace tolvar {

// Restricts the DLL search of the whole process to the system directory. Call it first thing in
// main(): every later LoadLibrary, and what the system loads on the program's behalf (the shell's
// and COM's DLLs), is then searched there only. Does nothing on a Windows 7 without the update
// that brought SetDefaultDllDirectories; the program still loads its own DLLs by full path.
void LoadDllsFromSystemDirectoryOnly();

// Loads the DLL `name` ("gdiplus.dll") by its full path in the system directory, and the DLLs it
// needs from there too. Null when it cannot be loaded, with GetLastError() telling why.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The address of `name` in the system DLL `library` (e.g. L"shell32.dll"), loaded the first time
// with LoadSystemLibrary, for calls that newer Windows versions alone have or that only some starts
// of the menu need. Null when the DLL or the function is missing.
void* SystemLibraryFunction(const wchar_t* library, const char* name);

// The same, as a pointer to a function of type `Function`.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function>(SystemLibraryFunction(library, name));
}

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_SYSTEM_DLLS_WIN32_H_
