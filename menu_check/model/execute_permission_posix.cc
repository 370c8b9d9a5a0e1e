// POSIX body of ExecuteBitMissing: the permission bits, then the file's first bytes.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "menu_check/model/execute_permission.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path native = fs::u8path(MatchCase(NativePath(path)));
  std::error_code error;
  const fs::perms permissions = fs::status(native, error).permissions();
  const fs::perms execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if (error || (permissions & execute) != fs::perms::none) return std::nullopt;
  // Without blocking: a file of /proc (the kernel's log) would wait for ever in read().
  std::string head(kProgramHeadBytes, '\0');
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  const ssize_t got = read(fd, head.data(), head.size());
  close(fd);
  if (got < 0) return std::nullopt;
  head.resize(static_cast<size_t>(got));
  return LaunchWithoutExecuteBit(head);
}

bool FolderKeepsPermissions() { return true; }

}  // namespace tolvar
