// POSIX body of LacksExecutePermission: the permission bits, then the file's first bytes.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "menu_check/execute_permission.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

bool LacksExecutePermission(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path native = fs::u8path(MatchCase(NativePath(path)));
  std::error_code error;
  const fs::perms permissions = fs::status(native, error).permissions();
  const fs::perms execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if (error || (permissions & execute) != fs::perms::none) return false;
  // Without blocking: a file of /proc (the kernel's log) would wait for ever in read().
  char start[4] = {};
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const ssize_t got = read(fd, start, sizeof start);
  close(fd);
  if (got < 2) return false;
  return std::string(start, 4) ==
             "\x7f"
             "ELF" ||
         std::string(start, 2) == "#!";
}

bool FolderKeepsPermissions() { return true; }

}  // namespace tolvar
