/* A DLL planted beside a program, as someone who writes a medium could: when anything loads it,
   it appends its own name to the file TOLVAR_PLANT_MARK names. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t mark[MAX_PATH], name[MAX_PATH];
    DWORD written = 0;
    if (GetEnvironmentVariableW(L"TOLVAR_PLANT_MARK", mark, MAX_PATH) == 0) return TRUE;
    const DWORD length = GetModuleFileNameW(instance, name, MAX_PATH);
    const HANDLE file = CreateFileW(mark, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
      WriteFile(file, name, length * sizeof name[0], &written, NULL);
      WriteFile(file, L"\n", sizeof(wchar_t), &written, NULL);
      CloseHandle(file);
    }
  }
  return TRUE;
}
