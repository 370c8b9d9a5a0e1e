// POSIX body of SystemProgramStart: posix_spawn of the path itself, never through a shell, in a
// session of its own; a file the system will not run is handed to the desktop's default
// application through GIO.
#include <errno.h>
#include <gio/gio.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

#include "menu_window/session_bus.h"
#include "menu_window/system_program_start.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

extern char** environ;

namespace tolvar {
namespace {

Result OpenWithDefaultApplication(const std::string& path) {
  // GIO wants a URI, and a URI wants an absolute path.
  gchar* absolute = g_canonicalize_filename(path.c_str(), nullptr);
  GError* error = nullptr;
  gchar* uri = g_filename_to_uri(absolute, nullptr, &error);
  g_free(absolute);
  // GIO announces every launch on the session bus; with none running, D-Bus "autolaunches" a bus
  // daemon for the X display, which outlives the menu. The menu then names a bus that does not
  // exist, for the length of the call; the application it opens gets the environment unchanged.
  GAppLaunchContext* context = g_app_launch_context_new();
  const bool no_bus = !SessionBusRuns();
  if (no_bus) {
    g_setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", TRUE);
    g_app_launch_context_unsetenv(context, "DBUS_SESSION_BUS_ADDRESS");
  }
  const bool opened = uri != nullptr && g_app_info_launch_default_for_uri(uri, context, &error);
  if (no_bus) g_unsetenv("DBUS_SESSION_BUS_ADDRESS");
  g_object_unref(context);
  g_free(uri);
  if (opened) return Result::Ok();
  Result failure = Result::Failure(error != nullptr ? error->message : "unknown error");
  g_clear_error(&error);
  return failure;
}

// Starts `path` with argv holding only the path, the menu's environment and current directory.
// The program gets a session of its own, so that closing the menu or its terminal does not take
// it down, and default signal handling with nothing blocked, whatever the toolkit set up for the
// menu itself (GIO ignores SIGPIPE, for one).
int Spawn(const std::string& path, pid_t* child) {
  posix_spawnattr_t attributes;
  if (const int error = posix_spawnattr_init(&attributes)) return error;
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  std::string argument = path;  // argv is char*, not const char*
  char* argv[] = {&argument[0], nullptr};
  const int error = posix_spawn(child, path.c_str(), nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  return error;
}

// Collects the child's exit status when it ends, so that no zombie stays behind while the menu
// runs. Only this one process is waited for: the toolkit reaps the children it starts itself and
// must not find them gone, which rules out waiting for any child or ignoring SIGCHLD.
void ReapWhenItEnds(pid_t child) {
  try {
    std::thread([child] {
      int status;
      while (waitpid(child, &status, 0) == -1 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the program still runs, and its zombie goes when the menu ends.
  }
}

}  // namespace

SystemProgramStart::SystemProgramStart() : desktop_open_(OpenWithDefaultApplication) {}

SystemProgramStart::SystemProgramStart(DesktopOpen desktop_open)
    : desktop_open_(std::move(desktop_open)) {}

Result SystemProgramStart::OpenUri(const std::string&) { return Result::Failure("not built yet"); }

Result SystemProgramStart::StartFile(const LaunchRequest& request) {
  const std::string& path = request.path;
  std::string native = MatchCase(NativePath(path));
  // A bare name is a file in the current directory, never a search along PATH.
  if (native.find('/') == std::string::npos) native = "./" + native;

  pid_t child;
  const int error = Spawn(native, &child);
  if (error == 0) {
    ReapWhenItEnds(child);
    return Result::Ok();
  }
  // No execute permission (or a medium mounted without it), or no format the system can run: a
  // document, most likely, which the person expects to see opened.
  if (error == EACCES || error == ENOEXEC) {
    const Result opened = desktop_open_(native);
    if (opened.ok) return opened;
    return Result::Failure(std::string(std::strerror(error)) + "; " + opened.reason);
  }
  return Result::Failure(std::strerror(error));
}

}  // namespace tolvar
