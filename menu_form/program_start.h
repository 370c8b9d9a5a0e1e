// ProgramStart: how Launch starts the program an entry names, or opens its link. One body per
// platform; tests fake it.
#ifndef TOLVAR_MENU_FORM_PROGRAM_START_H_
#define TOLVAR_MENU_FORM_PROGRAM_START_H_

#include <string>

#include "menu_form/command_kind.h"
#include "menu_form/result.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {

// What Launch asks for: the program and what the entry's directives add to its start.
struct LaunchRequest {
  std::string path;       // as the menu file writes it, checked to exist just before
  std::string arguments;  // as written in the menu file; "" for none
  std::string directory;  // a folder of the medium, written as a path is; "" for the menu's own
  bool run_as_administrator = false;
};

class ProgramStart {
 public:
  virtual ~ProgramStart() = default;

  // Starts the program at `request.path`, minimised and active where the platform can ask for
  // that, with the request's arguments (passed as written on Windows; split into words by
  // CommandLineWords elsewhere, never through a shell), in the request's directory or else the
  // current one, with the menu's environment, and returns without waiting. A file that is not a
  // program is opened the way the desktop opens its type. When neither works, returns the failure
  // with the system's reason; nothing has been started then. When the person says no to the
  // system's elevation prompt, returns Result::Declined(): nothing started, nothing to warn about.
  // A path or directory that names no local file (NamesNoLocalFile) is refused as missing, before
  // the system sees it. A text holding a NUL is refused whoever asks: every system ends a name or
  // an argument at its first NUL and would start some other file, or pass other arguments.
  Result Start(const LaunchRequest& request) {
    for (const std::string* text : {&request.path, &request.arguments, &request.directory}) {
      if (text->find('\0') != std::string::npos) {
        return Result::Failure(text == &request.path ? "the file name holds a NUL character"
                               : text == &request.arguments
                                   ? "the arguments hold a NUL character"
                                   : "the directory's name holds a NUL character");
      }
    }
    // A share on another machine is looked up, with the user's credentials, as soon as the system
    // sees its name: such a path is missing, whatever the system would find there.
    if (NamesNoLocalFile(request.path)) return Result::Failure("the file cannot be found");
    if (NamesNoLocalFile(request.directory)) {
      return Result::Failure("the folder " + QuotedText(request.directory, kLongestPathShown) +
                             " cannot be found");
    }
    return StartFile(request);
  }
  // Start with no directive: the path alone.
  Result Start(const std::string& path) { return Start(LaunchRequest{path, "", "", false}); }

  // Opens `link` (an https, http or mailto link, checked by the caller) in the user's default
  // program for it, without waiting, as LinkAsOpened writes it: without a mailto: link's
  // attachments, and with every byte that could end an argument of the handler percent-encoded.
  // Returns the failure with the system's reason when nothing opened it.
  Result OpenLink(const std::string& link) {
    if (link.find('\0') != std::string::npos) {
      return Result::Failure("the link holds a NUL character");
    }
    return OpenUri(LinkAsOpened(link));
  }

  // Shows the folder `path` (a folder of the medium, checked by the caller, as the menu file writes
  // it) in the user's file manager, without waiting. Returns the failure with the system's reason
  // when nothing showed it. Refused, as Start refuses them, for a text holding a NUL and for a
  // path that names no local file.
  Result OpenFolder(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
      return Result::Failure("the folder's name holds a NUL character");
    }
    if (NamesNoLocalFile(path)) return Result::Failure("the folder cannot be found");
    return BrowseFolder(path);
  }

 protected:
  // Start and OpenLink, for texts without a NUL: the platform's part.
  virtual Result StartFile(const LaunchRequest& request) = 0;
  virtual Result OpenUri(const std::string& link) = 0;
  // OpenFolder, for a path without a NUL that names a local file.
  virtual Result BrowseFolder(const std::string& path) = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_PROGRAM_START_H_
