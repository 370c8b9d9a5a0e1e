// Win32 body of MachineFacts: Windows' version and the machine's architecture as the system itself
// reports them (not as the compatibility layer tells a program), paths, registry keys and named
// folders. What a condition means is the core's (menu_form/show_if); nothing of it belongs here.
#include <windows.h>

#include "menu_window/machine_facts.h"
#include "shared_routines/native_path.h"
#include "shared_routines/system_dlls_win32.h"
#include "shared_routines/utf16_win32.h"
#include "shared_routines/windows_names.h"

namespace tolvar {
namespace {

// Declared here: mingw's headers lack one or both, and older Windows lacks the functions.
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, BOOL*);
using RedirectionFunction = BOOL(WINAPI*)(void**);

constexpr USHORT kMachineI386 = 0x014c;
constexpr USHORT kMachineAmd64 = 0x8664;
constexpr USHORT kMachineArm64 = 0xAA64;
constexpr WORD kProcessorArm64 = 12;

Architecture FromMachine(USHORT machine) {
  switch (machine) {
    case kMachineI386:
      return Architecture::kX86;
    case kMachineAmd64:
      return Architecture::kX64;
    case kMachineArm64:
      return Architecture::kArm64;
    default:
      return Architecture::kOther;
  }
}

bool RunsUnderWow64() {
  const auto is_wow64 = SystemFunction<IsWow64ProcessFunction>(L"kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  return is_wow64 != nullptr && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

System MachineFacts::OnSystem() const { return System::kWindows; }

WindowsRelease MachineFacts::Release() const {
  // GetVersionEx answers what the manifest's compatibility list lets it; ntdll tells the truth.
  const auto get_version = SystemFunction<RtlGetVersionFunction>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (get_version == nullptr || get_version(&version) != 0) return WindowsRelease::kOlder;
  return ReleaseOf(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
}

Architecture MachineFacts::Machine() const {
  // The 32-bit menu runs emulated on 64-bit and ARM64 Windows: the machine's own answer is wanted.
  const auto is_wow64_2 =
      SystemFunction<IsWow64Process2Function>(L"kernel32.dll", "IsWow64Process2");
  USHORT process_machine = 0;
  USHORT native_machine = 0;
  if (is_wow64_2 != nullptr && is_wow64_2(GetCurrentProcess(), &process_machine, &native_machine)) {
    return FromMachine(native_machine);
  }
  // Windows before 10 1511 runs on no ARM64 machine: a 32-bit process under WOW64 is on x64.
  if (RunsUnderWow64()) return Architecture::kX64;
  SYSTEM_INFO info;
  GetNativeSystemInfo(&info);
  switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
      return Architecture::kX86;
    case PROCESSOR_ARCHITECTURE_AMD64:
      return Architecture::kX64;
    case kProcessorArm64:
      return Architecture::kArm64;
    default:
      return Architecture::kOther;
  }
}

bool MachineFacts::PathExists(const std::string& path) const {
  if (path.empty() || path.find('\0') != std::string::npos || NamesNoLocalFile(path)) {
    return false;
  }
  const size_t slash = path.find_last_of("\\/:");
  if (!WindowsDeviceIn(slash == std::string::npos ? path : path.substr(slash + 1)).empty()) {
    return false;  // CON or NUL "exists" in every folder
  }
  // A 32-bit program sees SysWOW64 where %SystemRoot%\System32 is written; the author means the
  // system's own folder. The redirection is the calling thread's, and restored at once.
  const auto disable =
      SystemFunction<RedirectionFunction>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  const auto revert =
      SystemFunction<RedirectionFunction>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
  void* redirection = nullptr;
  const bool disabled =
      disable != nullptr && revert != nullptr && RunsUnderWow64() && disable(&redirection);
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  SetErrorMode(old_mode);
  if (disabled) revert(&redirection);
  return attributes != INVALID_FILE_ATTRIBUTES;
}

bool MachineFacts::KeyExists(RegistryRoot root, const std::string& subkey) const {
  // The 64-bit view, where installers of 64-bit programs write; 32-bit Windows ignores the flag.
  HKEY key = nullptr;
  const LONG status =
      RegOpenKeyExW(root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                    Widen(subkey).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  // A key this user may not read is there all the same.
  return status == ERROR_SUCCESS || status == ERROR_ACCESS_DENIED;
}

std::string MachineFacts::NamedFolder(std::string_view name) const {
  if (name.size() < 3 || name.front() != '%' || name.back() != '%') return "";
  std::wstring variable = Widen(name.substr(1, name.size() - 2));
  // A 32-bit program is told the 32-bit programs' folder as %ProgramFiles%; the author means the
  // machine's own, which ProgramW6432 names on 64-bit Windows.
  if (variable == L"ProgramFiles" && GetEnvironmentVariableW(L"ProgramW6432", nullptr, 0) != 0) {
    variable = L"ProgramW6432";
  }
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(variable.c_str(), folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return "";
  return Narrow(std::wstring(folder, length));
}

}  // namespace tolvar
