// CommandWarning: Launch's own order of decisions, with the author's likely meaning at each.
#include "menu_check/checks/command_check.h"

#include "menu_check/checks/icon_folder_check.h"
#include "menu_check/checks/path_hint.h"
#include "menu_form/command_kind.h"
#include "menu_form/folder_command.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/batch_file.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/wildcard.h"

namespace tolvar {

std::string SchemeWarning(const std::string& command) {
  if (!NamesOtherScheme(command)) return "";
  return "the command " + QuotedText(command) + " starts with the scheme " +
         QuotedText(command.substr(0, command.find(':') + 1)) +
         ", which the menu never hands to the system, since such schemes can start programs: "
         "Launch says \"Can't find file!!\"; only https://, http:// and mailto: links are "
         "opened";
}

std::string CommandWarning(ViewProbe& probe, const std::string& command,
                           const std::string& arguments, const Targets& targets) {
  if (command == kNullKeyword || command == kExitKeyword) return "";
  for (const char* keyword : {kNullKeyword, kExitKeyword}) {
    if (LooksLikeKeyword(command, keyword)) {
      return QuotedText(command) + " is not the keyword " + keyword +
             " (keywords match only exactly: lower case, no blanks): Launch looks for a file of "
             "that name and says \"Can't find file!!\"";
    }
  }
  if (IsLink(command)) return LinkHint(command);  // opened by the user's browser or mail program
  if (NamesOtherScheme(command)) return SchemeWarning(command);
  // "\\?\" holds a wildcard too; no probe may look a share up.
  if (NamesNoLocalFile(command)) return PathHint(command, "Launch says \"Can't find file!!\"");
  if (HoldsWildcard(command)) {
    return "the command " + QuotedText(command) +
           " holds a wildcard (* or ?): Launch cannot start a " +
           (probe.Exists(command) ? "pattern, even one that matches a file"
                                  : "pattern, and says \"Can't find file!!\"");
  }
  const std::string hint = PathHint(command, "Launch says \"Can't find file!!\"");
  if (!hint.empty()) return hint;
  // A folder to browse, which the file manager shows.
  if (AsksForFolder(command)) return FolderCommandWarning(probe, command);
  // Windows finds these anyway: they concern Linux alone.
  if (probe.EndsInBlanksWindowsDrops(command)) {
    if (!targets.for_linux) return "";
    return "the line ends in blanks after the path: Launch on Windows ignores them, but on Linux "
           "says \"Can't find file!!\"";
  }
  const std::string variant = probe.CaseVariant(command);
  if (!variant.empty() && !targets.for_linux) return "";
  if (!variant.empty()) {
    // Linux matches the name without regard to case only where one name alone fits.
    if (probe.CaseVariantIsUnique(command)) {
      return "the file is spelled " + QuotedText(variant) + " on the medium: Launch finds " +
             QuotedText(command) + " on Windows and Linux only because letter case is ignored";
    }
    return "the file is spelled " + QuotedText(variant) + " on the medium, " +
           WhyLinuxMisses(command, variant) + ": Launch finds " + QuotedText(command) +
           " on Windows, but says \"Can't find file!!\" on Linux";
  }
  if (probe.Exists(command)) {
    const std::string batch_refusal =
        targets.for_windows ? BatchFileRefusal(command, arguments) : "";
    if (!batch_refusal.empty()) {
      return "Launch on Windows does not start " + QuotedText(command) + ": " + batch_refusal;
    }
    return "";
  }
  return kNotFound + probe.WhyNotFound(command);
}

}  // namespace tolvar
