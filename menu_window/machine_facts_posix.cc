// POSIX body of MachineFacts: the architecture from uname, paths through the medium's letter-case
// rule, "~" from $HOME. Linux has no registry and no Windows release: those are never asked here,
// and nothing about what a condition means belongs in this file.
#include <sys/stat.h>
#include <sys/utsname.h>

#include <cstdlib>

#include "menu_window/machine_facts.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

System MachineFacts::OnSystem() const { return System::kLinux; }

WindowsRelease MachineFacts::Release() const { return WindowsRelease::kOlder; }

Architecture MachineFacts::Machine() const {
  utsname names;
  if (uname(&names) != 0) return Architecture::kOther;
  const std::string machine = names.machine;
  if (machine == "x86_64" || machine == "amd64") return Architecture::kX64;
  if (machine == "aarch64" || machine == "arm64") return Architecture::kArm64;
  if (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86") {
    return Architecture::kX86;  // i386 to i686
  }
  return Architecture::kOther;
}

bool MachineFacts::PathExists(const std::string& path) const {
  if (path.empty() || path.find('\0') != std::string::npos || NamesNoLocalFile(path)) {
    return false;
  }
  struct stat info;
  return stat(MatchCase(NativePath(path)).c_str(), &info) == 0;
}

bool MachineFacts::KeyExists(RegistryRoot, const std::string&) const { return false; }

std::string MachineFacts::NamedFolder(std::string_view name) const {
  if (name != "~") return "";
  const char* home = std::getenv("HOME");
  // A relative or empty HOME names no folder of the user's; the medium's would be looked at.
  return home != nullptr && home[0] == '/' ? home : "";
}

}  // namespace tolvar
