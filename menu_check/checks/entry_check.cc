// EntryCheck: an entry is checked for the systems that list it; the rules of the others do not
// concern it.
#include "menu_check/checks/entry_check.h"

#include <algorithm>
#include <tuple>

#include "menu_check/checks/argument_words.h"
#include "menu_check/checks/caption_width.h"
#include "menu_check/checks/command_check.h"
#include "menu_check/checks/icon_folder_check.h"
#include "menu_check/checks/path_hint.h"
#include "menu_check/checks/system_fit_check.h"
#include "menu_check/model/view_probe.h"
#include "menu_form/command_kind.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/command_line_words.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {

void EntryCheck::Check(int index, const std::string& caption, int64_t caption_line,
                       const std::string& command, int64_t command_line,
                       const EntryDirectiveTexts& directives) {
  CheckReport& report = findings_.report();
  const std::optional<System> only_on = directives.given.OnlyOn;
  const std::string arguments(directives.given.Arguments);
  report.entry_records.push_back({caption_line, command, arguments, only_on});
  if (!arguments.empty() && report.words.size() < kMostDirectiveRecords &&
      arguments.size() <= kLongestRecordedValue) {
    report.words.push_back({directives.arguments_line, index, CommandLineWords(arguments)});
  }
  const std::optional<ShowIfRecord> shows =
      CheckShowIf(index, directives.given.ShowIf, only_on, caption_line);
  // An entry for one system is listed only there: the other system's rules do not concern it.
  const auto listed = [&](Targets targets) {
    targets.for_windows = targets.for_windows && only_on != System::kLinux;
    targets.for_linux = targets.for_linux && only_on != System::kWindows;
    if (shows) {
      // So is an entry whose conditions hold on one system's machines alone.
      const auto shows_on = [&](std::string_view system) {
        return std::any_of(
            shows->places.begin(), shows->places.end(), [&](const ShowIfPlace& place) {
              return std::string_view(place.machine).substr(0, system.size()) == system;
            });
      };
      targets.for_windows = targets.for_windows && shows_on("windows-");
      targets.for_linux = targets.for_linux && shows_on("linux-");
    }
    return targets;
  };
  const Targets targets = listed(targets_);
  CheckCaption(index, caption, caption_line, command == kNullKeyword, only_on, listed(widths_));
  if (!targets.for_windows && !targets.for_linux) return;
  const std::string entry = "entry " + std::to_string(index);
  CheckDirectiveTexts(entry, directives);
  if (directives.icon_line != 0) {
    // An icon the menu cannot show leaves its place without one: the author learns why.
    const std::string warning = IconWarning(probe_, std::string(directives.given.Icon));
    if (!warning.empty()) {
      findings_.Warn(directives.icon_line,
                     entry + ": " + DirectiveSpelling(DirectiveName::kIcon) + " " + warning);
    }
  }
  findings_.WarnOfInvisibleCharacters(entry + ": the command", command, command_line);
  CheckCommand(entry, command, command_line, arguments, targets);
  if (command == kNullKeyword || command == kExitKeyword || IsLink(command)) return;
  CheckNulInDirectives(entry, directives);
  // Windows programs split their command line themselves; Linux gets the menu's words.
  const std::string rules_differ = targets.for_windows ? ArgumentRulesDiffer(arguments) : "";
  if (!rules_differ.empty()) findings_.Warn(directives.arguments_line, entry + ": " + rules_differ);
  CheckDirectory(entry, directives);
  if (directives.given.RunAsAdministrator && targets.for_linux) {
    findings_.Note(directives.run_as_line,
                   entry + ": " + DirectiveSpelling(DirectiveName::kRunAs) +
                       " administrator is for Windows, which asks the user's consent "
                       "first: Linux starts the program as usual, with the user's own rights");
  }
}

// What Launch does with the command on the systems that list the entry.
void EntryCheck::CheckCommand(const std::string& entry, const std::string& command, int64_t line,
                              const std::string& arguments, const Targets& targets) {
  const std::string warning = CommandWarning(probe_, command, arguments, targets);
  if (!warning.empty()) findings_.Warn(line, entry + ": " + warning);
  // A command Launch cannot use at all has its one warning already.
  if (!warning.empty()) return;
  const std::string misfit = OtherSystemsProgram(command, targets);
  if (!misfit.empty()) findings_.Warn(line, entry + ": " + misfit);
  const std::optional<WithoutExecuteBit> without_bit =
      targets.for_linux ? probe_.ExecuteBitMissing(command) : std::nullopt;
  if (without_bit == WithoutExecuteBit::kStartedAnyway) {
    // The menu starts it anyway; a file manager, or a medium mounted noexec, will not.
    findings_.Note(line, entry + ": " + QuotedText(command) +
                             " is a program without the execute permission: the Linux menu "
                             "starts it all the same, through the program loader or the "
                             "interpreter its first line names (an ELF program not from a medium "
                             "mounted noexec), but a file manager will not run it");
  } else if (without_bit == WithoutExecuteBit::kOpenedNotStarted) {
    findings_.Warn(line, entry + ": " + QuotedText(command) +
                             " is a program without the execute permission that nothing but the "
                             "permission starts: a static ELF program has no program loader, and "
                             "a #! line must name its interpreter by an absolute path such as "
                             "#!/bin/sh; Launch on Linux hands it to the desktop, which opens it "
                             "as a document");
  }
}

// Where the entry shows, when it has conditions; nothing when it has none.
std::optional<ShowIfRecord> EntryCheck::CheckShowIf(int index, std::string_view joined,
                                                    std::optional<System> only_on,
                                                    int64_t caption_line) {
  std::string never;
  ShowIfRecord record = show_if_.CheckEntry(index, joined, only_on, &never);
  if (!never.empty()) findings_.Warn(caption_line, never);
  if (joined.empty()) return std::nullopt;
  record.line = caption_line;
  if (!record.places.empty()) findings_.Note(caption_line, DescribePlaces(record));
  findings_.report().show_if.push_back(record);
  return record;
}

void EntryCheck::CheckCaption(int index, const std::string& caption, int64_t line,
                              bool does_nothing, std::optional<System> only_on,
                              const Targets& widths) {
  const std::string entry = "entry " + std::to_string(index);
  // The closed list shows the caption in each system's own font, cut at the list's end.
  const std::string cut = CaptionCutWarning(entry, caption, widths);
  if (!cut.empty()) findings_.Warn(line, cut);
  // Entries for different systems are never listed together.
  for (const System system : {System::kWindows, System::kLinux}) {
    if (only_on.has_value() && *only_on != system) continue;
    const auto first =
        captions_[system == System::kLinux].emplace(caption, FirstUse{index, line, does_nothing});
    // Repeated headings and spacers ($null$ entries) are laid out on purpose.
    if (!first.second && !(does_nothing && first.first->second.does_nothing)) {
      findings_.Warn(line, entry + " has the same caption as entry " +
                               std::to_string(first.first->second.index) + " (line " +
                               std::to_string(first.first->second.line) + "), " +
                               QuotedText(caption) + ": the list shows two entries alike");
      break;
    }
  }
  findings_.WarnOfInvisibleCharacters(entry + ": the caption", caption, line);
}

// The entry's texts from its directives, as the menu shows or passes them.
void EntryCheck::CheckDirectiveTexts(const std::string& entry,
                                     const EntryDirectiveTexts& directives) {
  findings_.WarnOfInvisibleCharacters(entry + ": the description",
                                      std::string(directives.given.Description),
                                      directives.description_line);
  for (const auto& [name, text, line] :
       {std::tuple(DirectiveName::kArguments, directives.given.Arguments,
                   directives.arguments_line),
        std::tuple(DirectiveName::kDirectory, directives.given.Directory,
                   directives.directory_line)}) {
    findings_.WarnOfInvisibleCharacters(entry + ": " + DirectiveSpelling(name), std::string(text),
                                        line);
  }
}

// Every system ends an argument or a name at a NUL, and would pass other arguments or start in
// another folder than written: the menu refuses to start such a program at all.
void EntryCheck::CheckNulInDirectives(const std::string& entry,
                                      const EntryDirectiveTexts& directives) {
  for (const auto& [name, text, line, what] :
       {std::tuple(DirectiveName::kArguments, directives.given.Arguments, directives.arguments_line,
                   "an argument"),
        std::tuple(DirectiveName::kDirectory, directives.given.Directory, directives.directory_line,
                   "a folder's name")}) {
    if (text.find('\0') == std::string_view::npos) continue;
    findings_.Error(line, entry + ": " + DirectiveSpelling(name) + " " +
                              QuotedText(std::string(text)) +
                              " holds a NUL character, at which every system ends " + what +
                              ": Launch says \"Can't start\" instead of starting the program");
  }
}

// '#directory: names the folder the program starts in, which must be one of the medium's.
void EntryCheck::CheckDirectory(const std::string& entry, const EntryDirectiveTexts& directives) {
  const std::string folder(directives.given.Directory);
  if (folder.empty()) return;
  const std::string consequence = "Launch says \"Can't start\" instead of starting the program";
  const std::string directive = entry + ": " + DirectiveSpelling(DirectiveName::kDirectory) + " ";
  const std::string hint = PathHint(folder, consequence);
  if (!hint.empty()) {
    findings_.Warn(directives.directory_line, directive + hint);
  } else if (!probe_.IsFolder(folder)) {
    findings_.Warn(directives.directory_line,
                   directive + "names " + QuotedText(folder) +
                       ", which is no folder of the medium: " + consequence);
  }
}

// Every entry may be for the other system ('#system:), which leaves the list with its prompt
// alone.
void EntryCheck::CheckEachSystemListsSomething() {
  const std::vector<EntryRecord>& entries = findings_.report().entry_records;
  for (const auto& [system, wanted, name, other] :
       {std::tuple(System::kWindows, targets_.for_windows, "Windows", "Linux"),
        std::tuple(System::kLinux, targets_.for_linux, "Linux", "Windows")}) {
    if (!wanted || entries.empty()) continue;
    const bool none =
        std::all_of(entries.begin(), entries.end(), [&, system = system](const EntryRecord& e) {
          return e.only_on.has_value() && *e.only_on != system;
        });
    if (none) {
      findings_.Warn(0, std::string("the list on ") + name +
                            " shows no entry: every entry is for " + other + " alone (" +
                            DirectiveSpelling(DirectiveName::kSystem) + ")");
    }
  }
}

}  // namespace tolvar
