// Win32 only: functions of Windows' own DLLs looked up at run time, for calls that newer Windows
// versions alone have, or that only some starts of the menu need.
#ifndef TOLVAR_SHARED_ROUTINES_SYSTEM_LIBRARY_WIN32_H_
#define TOLVAR_SHARED_ROUTINES_SYSTEM_LIBRARY_WIN32_H_

namespace tolvar {

// The address of `name` in `library` (e.g. L"shell32.dll"), loaded the first time from the system
// directory by its full path: never from the program's folder or the current directory, where a
// medium could have put a DLL of that name. Null when the DLL or the function is missing.
void* SystemLibraryFunction(const wchar_t* library, const char* name);

// The same, as a pointer to a function of type `Function`.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function>(SystemLibraryFunction(library, name));
}

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_SYSTEM_LIBRARY_WIN32_H_
