// Linux body of ProgramFolder and EnterFolder: the kernel's link to the running program, and
// chdir. Only the system calls belong here.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "menu_window/program_folder.h"

namespace tolvar {

Expected<std::string> ProgramFolder() {
  // The link names the file that was executed, through any link the person started it by; a
  // program started through the dynamic loader (autorun.sh does that on a medium without execute
  // permission) finds the loader here, but then its working folder is the medium's root already.
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return Expected<std::string>::Failure(std::strerror(errno));
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.rfind('/');
  if (path.empty() || path[0] != '/' || slash == std::string::npos) {
    return Expected<std::string>::Failure("the system names it \"" + path + "\"");
  }
  return path.substr(0, slash == 0 ? 1 : slash);
}

Result EnterFolder(const std::string& folder) {
  if (chdir(folder.c_str()) != 0) return Result::Failure(std::strerror(errno));
  return Result::Ok();
}

}  // namespace tolvar
