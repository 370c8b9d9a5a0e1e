// PathHint: the shapes of a path that tie a medium to its author's machine.
#include "menu_check/checks/path_hint.h"

#include "menu_form/command_kind.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when ".." components take `path` above the folder it starts from, at any point: the
// menu's folder is the medium's root, so "programs\..\..\x" leaves the medium as "..\x" does.
bool LeavesTheRoot(const std::string& path) {
  int depth = 0;
  for (size_t start = 0; start <= path.size();) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string component = path.substr(start, end - start);
    if (component == "..") {
      if (--depth < 0) return true;
    } else if (!component.empty() && component != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return false;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string PathHint(const std::string& written, const std::string& consequence) {
  const std::string path = TrimBlanks(written);
  if (path.empty()) return "";
  if (path[0] == '"') {
    return "the path is in double quotes, which the menu takes as part of the name: " +
           consequence + "; write it without them";
  }
  // Before the root's hint: these start with a separator too, and reach much further.
  if (NamesNoLocalFile(path)) {
    return "the path names a share on another machine or a device of the system, not a file of "
           "the medium: Windows would ask that machine for it with the user's credentials, so "
           "the menu takes it as missing on every system, and " +
           consequence + "; write the path from the medium's root";
  }
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    return "the path starts with the drive letter " + QuotedText(path.substr(0, 2)) +
           ", the medium's on the author's machine: on the user's machine the medium has "
           "another letter (and on Linux none), and " +
           consequence + "; write the path from the medium's root, without the drive";
  }
  if (IsSeparator(path[0])) {
    return "the path starts at a root: Linux looks for it in the system's root folder, not the "
           "medium's, and " +
           consequence +
           " there; Windows looks in the root of the current drive, which is the medium only "
           "where the medium is a drive of its own; write the path from the medium's root, "
           "without the leading " +
           QuotedText(path.substr(0, 1));
  }
  if (LeavesTheRoot(path)) {
    return "the path leads out of the medium through \"..\": it names a file beside the medium "
           "on the author's machine, which the user's machine does not have, so " +
           consequence + "; keep every file the menu names on the medium";
  }
  return "";
}

std::string MenuFileLeavesMedium(const std::string& path) {
  const bool plain = path == kDefinitionPath || DisplayPath(path) == DisplayPath(kDefinitionPath);
  return QuotedText(DisplayPath(path)) +
         " is a link to a file outside the medium: the menu reads no file from outside it, so " +
         (plain ? "it says \"" + std::string(kDefinitionMissingText) + "\""
                : std::string("it reads the next menu file for the user's languages")) +
         "; put the file itself on the medium";
}

std::string LinkHint(const std::string& link) {
  if (WithoutAttachments(link) == link) return "";
  return "the mailto: link asks the mail program to attach a file (attach= or attachment=), which "
         "several mail programs do without asking: the menu drops that part and opens " +
         QuotedText(WithoutAttachments(link)) + "; leave attachments to the person who writes";
}

}  // namespace tolvar
