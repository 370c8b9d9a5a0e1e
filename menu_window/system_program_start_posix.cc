// POSIX body of SystemProgramStart: posix_spawn of the path itself with the argument words the core
// split, never through a shell, in a session of its own; a file that is plainly a program but that
// the medium gives no execute permission, through the loader or interpreter that runs it anyway;
// a file the system will not run, and a link, go to the desktop's default application through GIO.
// What is started, and with what, is the form's decision and the core's splitting: nothing of that
// policy belongs here.
#include <errno.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "menu_window/session_bus.h"
#include "menu_window/system_program_start.h"
#include "shared_routines/case_match.h"
#include "shared_routines/command_line_words.h"
#include "shared_routines/native_path.h"
#include "shared_routines/plain_program.h"
#include "shared_routines/quoted_text.h"

extern char** environ;

namespace tolvar {
namespace {

// Hands `uri` to the desktop's default application for its type or scheme.
Result LaunchDefaultForUri(const char* uri) {
  // GIO announces every launch on the session bus; with none running, D-Bus "autolaunches" a bus
  // daemon for the X display, which outlives the menu. The menu then names a bus that does not
  // exist, for the length of the call; the application it opens gets the environment unchanged.
  GAppLaunchContext* context = g_app_launch_context_new();
  const bool no_bus = !SessionBusRuns();
  if (no_bus) {
    g_setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", TRUE);
    g_app_launch_context_unsetenv(context, "DBUS_SESSION_BUS_ADDRESS");
  }
  GError* error = nullptr;
  const bool opened = g_app_info_launch_default_for_uri(uri, context, &error);
  if (no_bus) g_unsetenv("DBUS_SESSION_BUS_ADDRESS");
  g_object_unref(context);
  // An application the desktop starts over the bus gets its request in a message that may still
  // be queued: a menu that closes after the launch must not take it down with it.
  if (opened && !no_bus) {
    if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
      g_dbus_connection_flush_sync(bus, nullptr, nullptr);
      g_object_unref(bus);
    }
  }
  if (opened) return Result::Ok();
  // GIO's way of saying that nothing on this system is set to open the file's type (or the
  // link's scheme): the desktop has no default application for it.
  const bool no_application = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
  std::string reason = error != nullptr ? error->message : "unknown error";
  g_clear_error(&error);
  return no_application ? Result::NoApplication(std::move(reason))
                        : Result::Failure(std::move(reason));
}

Result OpenWithDefaultApplication(const std::string& path) {
  // GIO wants a URI, and a URI wants an absolute path.
  gchar* absolute = g_canonicalize_filename(path.c_str(), nullptr);
  GError* error = nullptr;
  gchar* uri = g_filename_to_uri(absolute, nullptr, &error);
  g_free(absolute);
  if (uri == nullptr) {
    Result failure = Result::Failure(error != nullptr ? error->message : "unknown error");
    g_clear_error(&error);
    return failure;
  }
  const Result opened = LaunchDefaultForUri(uri);
  g_free(uri);
  return opened;
}

// The folder a program is to start in, as the platform spells it; a failure naming it as the
// menu file writes it when it is not a folder the program could start in.
Result FindStartFolder(const std::string& written, std::string* native) {
  *native = MatchCase(NativePath(written));
  const std::string name = QuotedText(written, kLongestPathShown);
  struct stat status;
  if (stat(native->c_str(), &status) != 0) {
    return Result::Failure("the folder " + name + ": " + std::strerror(errno));
  }
  if (!S_ISDIR(status.st_mode)) return Result::Failure(name + " is no folder");
  // A folder the program may not enter would fail the start with EACCES, which reads as a file
  // that is no program and would send it to the desktop instead.
  if (access(native->c_str(), X_OK) != 0) {
    return Result::Failure("the folder " + name + ": " + std::strerror(errno));
  }
  return Result::Ok();
}

// What a spawn needs besides the path: its argv after the path, and its folder ("" for ours).
struct SpawnPlan {
  std::vector<std::string> arguments;
  std::string directory;
};

// Starts `path` with argv the path then `plan.arguments`, the menu's environment, /dev/null as its
// standard input and the plan's directory. The program gets a session of its own, so that closing
// the menu or its terminal does not take it down, and default signal handling with nothing
// blocked, whatever the toolkit set up for the menu itself (GIO ignores SIGPIPE, for one). It does
// not share the menu's standard input: started from a terminal, a shell it ran would read what is
// typed there, in a fight with the terminal's own shell.
int Spawn(const std::string& path, const SpawnPlan& plan, pid_t* child) {
  posix_spawnattr_t attributes;
  if (const int error = posix_spawnattr_init(&attributes)) return error;
  posix_spawn_file_actions_t actions;
  if (const int error = posix_spawn_file_actions_init(&actions)) {
    posix_spawnattr_destroy(&attributes);
    return error;
  }
  sigset_t all;
  sigset_t none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  int error = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (error == 0 && !plan.directory.empty()) {
    error = posix_spawn_file_actions_addchdir_np(&actions, plan.directory.c_str());
  }
  if (error == 0) {
    // argv is char*, not const char*: each word gets a copy of its own.
    std::vector<std::string> words{path};
    words.insert(words.end(), plan.arguments.begin(), plan.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    error = posix_spawn(child, path.c_str(), &actions, &attributes, argv.data(), environ);
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return error;
}

// The first bytes of the file at `native`, enough to tell a program by; "" when it cannot be read.
std::string ReadHead(const std::string& native) {
  std::string head(kProgramHeadBytes, '\0');
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::string();
  const ssize_t got = read(fd, &head[0], head.size());
  close(fd);
  head.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return head;
}

// Whether the file system holding `native` forbids running programs from it (noexec), which
// keeps even the dynamic loader from mapping an executable there; a script's interpreter only
// reads it.
bool MountedWithoutPrograms(const std::string& native) {
  struct statvfs file_system;
  return statvfs(native.c_str(), &file_system) == 0 && (file_system.f_flag & ST_NOEXEC) != 0;
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

Result SystemProgramStart::OpenUri(const std::string& link) {
  return LaunchDefaultForUri(link.c_str());
}

// A folder opens where the desktop opens folders (its file manager), as a document opens.
Result SystemProgramStart::BrowseFolder(const std::string& path) {
  return desktop_open_(MatchCase(NativePath(path)));
}

Result SystemProgramStart::StartFile(const LaunchRequest& request) {
  std::string native = MatchCase(NativePath(request.path));
  // A bare name is a file in the current directory, never a search along PATH.
  if (native.find('/') == std::string::npos) native = "./" + native;

  SpawnPlan plan{CommandLineWords(request.arguments), ""};
  if (!request.directory.empty()) {
    const Result found = FindStartFolder(request.directory, &plan.directory);
    if (!found.ok) return found;
    // The path names the file from the menu's folder, not from the one the program starts in.
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(native, ignored);
    if (!absolute.empty()) native = absolute.string();
  }

  pid_t child;
  const int error = Spawn(native, plan, &child);
  if (error == 0) {
    ReapWhenItEnds(child);
    return Result::Ok();
  }
  // No execute permission: where the file is plainly a program, the medium took the permission
  // away (a FAT32 stick, an image without Rock Ridge), and the program that would run it anyway
  // runs it from the file's bytes alone.
  if (error == EACCES) {
    const ProgramRunner runner = PlainProgramRunner(ReadHead(native));
    if (runner.kind != ProgramRunner::Kind::kNone &&
        !(runner.kind == ProgramRunner::Kind::kElf && MountedWithoutPrograms(native))) {
      SpawnPlan through{{runner.words.begin() + 1, runner.words.end()}, plan.directory};
      through.arguments.push_back(native);
      through.arguments.insert(through.arguments.end(), plan.arguments.begin(),
                               plan.arguments.end());
      if (Spawn(runner.words[0], through, &child) == 0) {
        ReapWhenItEnds(child);
        return Result::Ok();
      }
    }
  }
  // Or no format the system can run: a document, most likely, which the person expects to see
  // opened. A document takes no arguments (as on Windows, where they are ignored for one) and
  // opens where the desktop opens it.
  if (error == EACCES || error == ENOEXEC) {
    Result opened = desktop_open_(native);
    if (opened.ok) return opened;
    opened.reason = std::string(std::strerror(error)) + "; " + opened.reason;
    return opened;
  }
  return Result::Failure(std::strerror(error));
}

}  // namespace tolvar
