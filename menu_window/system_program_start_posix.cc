// POSIX body of SystemProgramStart: posix_spawn of the path itself, never through a shell.
#include <spawn.h>
#include <sys/types.h>

#include <cstring>

#include "menu_window/system_program_start.h"
#include "shared_routines/native_path.h"

extern char** environ;

namespace tolvar {

Result SystemProgramStart::Start(const std::string& path) {
  std::string native = NativePath(path);
  // A bare name is a file in the current directory, never a search along PATH.
  if (native.find('/') == std::string::npos) native = "./" + native;
  char* argv[] = {&native[0], nullptr};
  pid_t child;
  const int error = posix_spawn(&child, native.c_str(), nullptr, nullptr, argv, environ);
  if (error != 0) return Result::Failure(std::strerror(error));
  return Result::Ok();
}

}  // namespace tolvar
