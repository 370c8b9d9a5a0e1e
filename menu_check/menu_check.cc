// CheckMenu: the menu's reading order, with every fault noted where the menu would stop, and the
// reading carried on wherever it still can, so that one run shows everything.
#include "menu_check/menu_check.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "menu_check/checks/argument_words.h"
#include "menu_check/checks/caption_width.h"
#include "menu_check/checks/command_check.h"
#include "menu_check/checks/icon_folder_check.h"
#include "menu_check/checks/invisible_characters.h"
#include "menu_check/checks/path_hint.h"
#include "menu_check/checks/show_if_check.h"
#include "menu_check/checks/system_fit_check.h"
#include "menu_check/directive_check.h"
#include "menu_check/model/view_probe.h"
#include "menu_form/command_kind.h"
#include "menu_form/definition_reader.h"
#include "menu_form/form_layout.h"
#include "menu_form/menu_entry.h"
#include "picture/picture_header.h"
#include "shared_routines/command_line_words.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

// How far a picture's proportions may stray from the picture area's before the checker notes it:
// stretched by a factor of 1.5 or less, drawings and text still read as meant.
constexpr double kMostStretch = 1.5;

// The checker's side of reading the menu file: every fault is noted where the menu would stop, and
// the reader goes on wherever the file still makes sense.
class Checker : public DefinitionSink {
 public:
  Checker(TextInput& file, ViewProbe& probe, CheckReport& report,
          const std::string& decimal_separator, const Targets& targets, const Targets& widths)
      : file_(file),
        reader_(file, decimal_separator),
        probe_(probe),
        report_(report),
        targets_(targets),
        widths_(widths) {}

  // Throws RunTimeError kCannotOpen when the file cannot be read on; every other fault is noted.
  void Run() {
    if (reader_.Read(*this)) {
      CheckLinesAfterTheLastEntry(report_.entries);
      CheckEachSystemListsSomething();
      for (std::string& empty : show_if_.EmptyLists()) Warn(0, std::move(empty));
    }
    for (Finding& summary : directives_.Summaries()) {
      if (!shifted_) report_.findings.push_back(std::move(summary));
    }
    if (invisible_found_ > kMostFindingsOfAKind) {
      Warn(first_invisible_unnamed_,
           "and " + std::to_string(invisible_found_ - kMostFindingsOfAKind) +
               " more texts with characters that show nothing, from this line on: the checker "
               "names only the first " +
               std::to_string(kMostFindingsOfAKind));
    }
    report_.directives = std::move(directives_.records);
    report_.fields_shifted = shifted_;
  }

  void Title(std::string_view title, int64_t line) override {
    NoteIndentedComment(title, line, "the title");
    WarnOfInvisibleCharacters("the title", std::string(title), line);
  }
  Result Splash(const std::string& splash, int64_t line) override {
    NoteIndentedComment(splash, line, "the picture's path");
    if (splash == kNullKeyword) return Result::Ok();
    const std::string hint = PathHint(splash, "no picture is shown");
    if (!hint.empty()) {
      Warn(line, hint);
      return Result::Ok();
    }
    // The menu opens what the link leads to on the machine it runs on; the checker reads nothing
    // from outside the medium, and users' machines do not have it.
    if (probe_.LeadsOutside(splash)) {
      return Result::Failure(
          "it is a link to a file outside the medium, which the checker does not read and the "
          "users' machines do not have; put the picture itself on the medium");
    }
    if (probe_.Exists(splash)) {
      const Result picture = probe_.CheckPicture(splash);
      if (!picture.ok) return picture;
      NoteStretchedPicture(splash, line);
    }
    CheckSplashName(splash, line);
    return Result::Ok();
  }
  void Count(int count, int64_t) override { report_.entries = count; }
  void Caption(int index, std::string_view caption, int64_t line) override {
    NoteIndentedComment(caption, line, "the caption of entry " + std::to_string(index));
    caption_.assign(caption);
    caption_line_ = line;
  }
  void Command(int index, std::string_view command, int64_t line) override {
    NoteIndentedComment(command, line, "the command of entry " + std::to_string(index));
    CheckEntry(index, caption_, caption_line_, std::string(command), line);
  }
  bool Fault(const RunTimeError& fault) override {
    Fail(fault);
    return true;
  }
  void DirectiveLine(const Directive& directive) override {
    const std::string warning = directives_.Check(directive);
    if (!warning.empty()) Warn(directive.line, warning);
    if (warning.empty() && directive.place == DirectivePlace::kAboveTitle) {
      CheckButtonCaption(directive);
      if (directive.name == DirectiveName::kWindowIcon) {
        CheckIcon(directive.line, "", directive.name, directive.value);
      }
    }
    if (warning.empty() && directive.place == DirectivePlace::kEntry &&
        directive.name == DirectiveName::kShowIf) {
      const std::string condition = show_if_.CheckLine(directive);
      if (!condition.empty()) Warn(directive.line, condition);
    }
    // An entry's values are looked at with the entry, for the systems that list it.
    if (!directive.comment && directive.place == DirectivePlace::kAboveTitle &&
        IsMenuDirective(directive.name)) {
      WarnOfInvisibleCharacters(DirectiveSpelling(directive.written_name),
                                std::string(directive.value), directive.line);
    }
  }

  // An icon the menu cannot show leaves its place without one: the author learns why.
  void CheckIcon(int64_t line, const std::string& lead, DirectiveName name, std::string_view path) {
    if (line == 0) return;
    const std::string warning = IconWarning(probe_, std::string(path));
    if (!warning.empty()) Warn(line, lead + DirectiveSpelling(name) + " " + warning);
  }

 private:
  // The window stretches the picture to its area without keeping its proportions, so a picture
  // shaped much unlike the area shows squeezed. A picture whose header gives no size is refused
  // before this, by the picture check.
  void NoteStretchedPicture(const std::string& splash, int64_t line) {
    std::string bytes;
    if (!probe_.ReadPicture(splash, &bytes)) return;
    const Expected<PictureHeader> read = ReadPictureHeader(bytes);
    if (!read || read->width == 0 || read->height == 0) return;
    const PictureHeader& header = read.value();
    const int area_width = kPictureAreaAtDesignDpi.width;
    const int area_height = kPictureAreaAtDesignDpi.height;
    const double shape = (static_cast<double>(header.width) / static_cast<double>(header.height)) /
                         (static_cast<double>(area_width) / area_height);
    const double stretch = std::max(shape, 1 / shape);
    if (stretch <= kMostStretch) return;
    char factor[16];
    std::snprintf(factor, sizeof factor, "%.1f", stretch);
    Note(line, "the picture is " + std::to_string(header.width) + " x " +
                   std::to_string(header.height) +
                   " pixels and is stretched to the picture area, " + "about " +
                   std::to_string(area_width) + " x " + std::to_string(area_height) +
                   " at 96 DPI, without keeping its proportions: it shows " +
                   (shape > 1 ? "squeezed from the sides" : "squeezed from above and below") +
                   " by a factor of " + factor);
  }

  // What shows on one platform only, whichever the checker runs on.
  void CheckSplashName(const std::string& splash, int64_t line) {
    const std::string variant = probe_.CaseVariant(splash);
    if (!targets_.for_linux && (probe_.EndsInBlanksWindowsDrops(splash) || !variant.empty())) {
      return;  // Windows shows these
    }
    if (probe_.EndsInBlanksWindowsDrops(splash)) {
      Warn(line,
           "the line ends in blanks after the path: the menu on Windows ignores them and "
           "shows the picture, but on Linux shows none");
    } else if (!variant.empty()) {
      Warn(line, "the picture is spelled " + QuotedText(variant) + " on the medium" +
                     (probe_.CaseVariantIsUnique(splash)
                          ? ": the menu shows it on Windows and Linux only because letter case is "
                            "ignored"
                          : ", " + WhyLinuxMisses(splash, variant) +
                                ": the menu shows it on Windows, but not on Linux"));
    } else if (!probe_.Exists(splash) && !LooksLikeKeyword(splash, kNullKeyword)) {
      // "$NULL$" shows no picture, which is what it asks for.
      Warn(line, "no picture is shown: " + probe_.WhyNotFound(splash));
    }
  }

  void CheckEntry(int index, const std::string& caption, int64_t caption_line,
                  const std::string& command, int64_t command_line) {
    const EntryDirectiveTexts& directives = directives_.ForEntry(index);
    const std::optional<System> only_on = directives.given.OnlyOn;
    const std::string arguments(directives.given.Arguments);
    report_.entry_records.push_back({caption_line, command, arguments, only_on});
    if (!arguments.empty() && report_.words.size() < kMostDirectiveRecords &&
        arguments.size() <= kLongestRecordedValue) {
      report_.words.push_back({directives.arguments_line, index, CommandLineWords(arguments)});
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
    CheckIcon(directives.icon_line, entry + ": ", DirectiveName::kIcon, directives.given.Icon);
    WarnOfInvisibleCharacters(entry + ": the command", command, command_line);
    const std::string warning = CommandWarning(probe_, command, arguments, targets);
    if (!warning.empty()) Warn(command_line, entry + ": " + warning);
    // A command Launch cannot use at all has its one warning already.
    const std::string misfit = warning.empty() ? OtherSystemsProgram(command, targets) : "";
    if (!misfit.empty()) Warn(command_line, entry + ": " + misfit);
    const std::optional<WithoutExecuteBit> without_bit =
        warning.empty() && targets.for_linux ? probe_.ExecuteBitMissing(command) : std::nullopt;
    if (without_bit == WithoutExecuteBit::kStartedAnyway) {
      // The menu starts it anyway; a file manager, or a medium mounted noexec, will not.
      Note(command_line, entry + ": " + QuotedText(command) +
                             " is a program without the execute permission: the Linux menu "
                             "starts it all the same, through the program loader or the "
                             "interpreter its first line names (an ELF program not from a medium "
                             "mounted noexec), but a file manager will not run it");
    } else if (without_bit == WithoutExecuteBit::kOpenedNotStarted) {
      Warn(command_line, entry + ": " + QuotedText(command) +
                             " is a program without the execute permission that nothing but the "
                             "permission starts: a static ELF program has no program loader, and "
                             "a #! line must name its interpreter by an absolute path such as "
                             "#!/bin/sh; Launch on Linux hands it to the desktop, which opens it "
                             "as a document");
    }
    if (command == kNullKeyword || command == kExitKeyword || IsLink(command)) return;
    CheckNulInDirectives(entry, directives);
    // Windows programs split their command line themselves; Linux gets the menu's words.
    const std::string rules_differ = targets.for_windows ? ArgumentRulesDiffer(arguments) : "";
    if (!rules_differ.empty()) Warn(directives.arguments_line, entry + ": " + rules_differ);
    CheckDirectory(entry, directives);
    if (directives.given.RunAsAdministrator && targets.for_linux) {
      Note(directives.run_as_line,
           entry + ": " + DirectiveSpelling(DirectiveName::kRunAs) +
               " administrator is for Windows, which asks the user's consent "
               "first: Linux starts the program as usual, with the user's own rights");
    }
  }

  void CheckCaption(int index, const std::string& caption, int64_t line, bool does_nothing,
                    std::optional<System> only_on, const Targets& widths) {
    const std::string entry = "entry " + std::to_string(index);
    CheckCaptionWidth(entry, caption, line, widths);
    // Entries for different systems are never listed together.
    for (const System system : {System::kWindows, System::kLinux}) {
      if (only_on.has_value() && *only_on != system) continue;
      const auto first =
          captions_[system == System::kLinux].emplace(caption, FirstUse{index, line, does_nothing});
      // Repeated headings and spacers ($null$ entries) are laid out on purpose.
      if (!first.second && !(does_nothing && first.first->second.does_nothing)) {
        Warn(line, entry + " has the same caption as entry " +
                       std::to_string(first.first->second.index) + " (line " +
                       std::to_string(first.first->second.line) + "), " + QuotedText(caption) +
                       ": the list shows two entries alike");
        break;
      }
    }
    WarnOfInvisibleCharacters(entry + ": the caption", caption, line);
  }

  // The entry's texts from its directives, as the menu shows or passes them.
  void CheckDirectiveTexts(const std::string& entry, const EntryDirectiveTexts& directives) {
    WarnOfInvisibleCharacters(entry + ": the description",
                              std::string(directives.given.Description),
                              directives.description_line);
    for (const auto& [name, text, line] :
         {std::tuple(DirectiveName::kArguments, directives.given.Arguments,
                     directives.arguments_line),
          std::tuple(DirectiveName::kDirectory, directives.given.Directory,
                     directives.directory_line)}) {
      WarnOfInvisibleCharacters(entry + ": " + DirectiveSpelling(name), std::string(text), line);
    }
  }

  // Every system ends an argument or a name at a NUL, and would pass other arguments or start in
  // another folder than written: the menu refuses to start such a program at all.
  void CheckNulInDirectives(const std::string& entry, const EntryDirectiveTexts& directives) {
    for (const auto& [name, text, line, what] :
         {std::tuple(DirectiveName::kArguments, directives.given.Arguments,
                     directives.arguments_line, "an argument"),
          std::tuple(DirectiveName::kDirectory, directives.given.Directory,
                     directives.directory_line, "a folder's name")}) {
      if (text.find('\0') == std::string_view::npos) continue;
      report_.findings.push_back({line, Severity::kError,
                                  entry + ": " + DirectiveSpelling(name) + " " +
                                      QuotedText(std::string(text)) +
                                      " holds a NUL character, at which every system ends " + what +
                                      ": Launch says \"Can't start\" instead of "
                                      "starting the program"});
    }
  }

  // `what` holding `text` names the characters in it that show nothing but change how it reads;
  // after kMostFindingsOfAKind of these, the rest are counted, as the directives' findings are.
  void WarnOfInvisibleCharacters(const std::string& what, const std::string& text, int64_t line) {
    const std::string hidden = InvisibleCharacters(text);
    if (hidden.empty() || shifted_) return;
    if (++invisible_found_ > kMostFindingsOfAKind) {
      if (first_invisible_unnamed_ == 0) first_invisible_unnamed_ = line;
      return;
    }
    Warn(line, what + " " + QuotedText(text) +
                   " holds characters that show nothing but change how it reads: " + hidden);
  }

  // The author's caption for a button keeps the button's designed width: a longer one is cut.
  void CheckButtonCaption(const Directive& directive) {
    const ControlLayout* button = directive.name == DirectiveName::kLaunchCaption ? &kGoBoxLayout
                                  : directive.name == DirectiveName::kQuitCaption ? &kExitBoxLayout
                                                                                  : nullptr;
    if (button == nullptr) return;
    const std::string caption(directive.value);
    std::string cut;
    for (const auto& [system, wanted, name] :
         {std::tuple(System::kWindows, widths_.for_windows, "Windows"),
          std::tuple(System::kLinux, widths_.for_linux, "Linux")}) {
      const int width = EstimatedButtonCaptionWidth(caption, system);
      if (!wanted || width <= ButtonTextWidth(*button)) continue;
      cut += std::string(cut.empty() ? "" : "; ") + "on " + name + " it is about " +
             std::to_string(width) + " pixels wide";
    }
    if (cut.empty()) return;
    Warn(directive.line, "the caption " + QuotedText(caption) +
                             " is longer than its button shows (" +
                             std::to_string(ButtonTextWidth(*button)) +
                             " pixels at 96 DPI): " + cut + ", and its end is cut off");
  }

  // The closed list shows the caption in each system's own font, cut at the list's end.
  void CheckCaptionWidth(const std::string& entry, const std::string& caption, int64_t line,
                         const Targets& targets) {
    std::string cut;
    std::string names;
    for (const auto& [system, wanted, name] :
         {std::tuple(System::kWindows, targets.for_windows, "Windows"),
          std::tuple(System::kLinux, targets.for_linux, "Linux")}) {
      const int width = EstimatedCaptionWidth(caption, system);
      if (!wanted || width <= ListTextWidth(system)) continue;
      cut += std::string(cut.empty() ? "" : "; ") + "on " + name + " it is about " +
             std::to_string(width) + " pixels wide and the list shows about " +
             std::to_string(ListTextWidth(system));
      names += std::string(names.empty() ? "" : " and ") + name;
    }
    if (!cut.empty()) Warn(line, entry + ": the caption's end is cut off on " + names + ": " + cut);
  }

  // '#directory: names the folder the program starts in, which must be one of the medium's.
  void CheckDirectory(const std::string& entry, const EntryDirectiveTexts& directives) {
    const std::string folder(directives.given.Directory);
    if (folder.empty()) return;
    const std::string consequence = "Launch says \"Can't start\" instead of starting the program";
    const std::string hint = PathHint(folder, consequence);
    if (!hint.empty()) {
      Warn(directives.directory_line,
           entry + ": " + DirectiveSpelling(DirectiveName::kDirectory) + " " + hint);
    } else if (!probe_.IsFolder(folder)) {
      Warn(directives.directory_line, entry + ": " + DirectiveSpelling(DirectiveName::kDirectory) +
                                          " names " + QuotedText(folder) +
                                          ", which is no folder of the medium: " + consequence);
    }
  }

  // A comment line with blanks before its apostrophe is a field to the menu, and every field
  // below it is read one line off: what the checker would say of them follows from this line
  // alone, so only this line is named, and the errors the menu stops at.
  void NoteIndentedComment(std::string_view text, int64_t line, const std::string& field) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == 0 || first == std::string_view::npos || text[first] != '\'') return;
    if (!shifted_) {
      report_.findings.push_back(
          {line, Severity::kWarning,
           QuotedText(std::string(text)) + " is read as " + field +
               ", not as a comment: the apostrophe must be the line's first character; the "
               "fields below it are read one line off, and the checker leaves out what follows "
               "from that"});
    }
    shifted_ = true;
  }

  // Where the entry shows, when it has conditions; nothing when it has none.
  std::optional<ShowIfRecord> CheckShowIf(int index, std::string_view joined,
                                          std::optional<System> only_on, int64_t caption_line) {
    std::string never;
    ShowIfRecord record = show_if_.CheckEntry(index, joined, only_on, &never);
    if (!never.empty()) Warn(caption_line, never);
    if (joined.empty()) return std::nullopt;
    record.line = caption_line;
    if (!record.places.empty()) Note(caption_line, DescribePlaces(record));
    report_.show_if.push_back(record);
    return record;
  }

  // Every entry may be for the other system ('#system:), which leaves the list with its prompt
  // alone.
  void CheckEachSystemListsSomething() {
    for (const auto& [system, wanted, name, other] :
         {std::tuple(System::kWindows, targets_.for_windows, "Windows", "Linux"),
          std::tuple(System::kLinux, targets_.for_linux, "Linux", "Windows")}) {
      if (!wanted || report_.entry_records.empty()) continue;
      const bool none = std::all_of(report_.entry_records.begin(), report_.entry_records.end(),
                                    [&, system = system](const EntryRecord& entry) {
                                      return entry.only_on.has_value() && *entry.only_on != system;
                                    });
      if (none) {
        Warn(0, std::string("the list on ") + name + " shows no entry: every entry is for " +
                    other + " alone (" + DirectiveSpelling(DirectiveName::kSystem) + ")");
      }
    }
  }

  void CheckLinesAfterTheLastEntry(int count) {
    if (!reader_.SignificantLineFollows(*this)) return;
    const int64_t first_line = file_.line_number() + 1;
    int64_t lines = 0;
    do {
      file_.SkipLine();
      ++lines;
    } while (reader_.SignificantLineFollows(*this));
    std::string message = (lines == 1 ? std::string("a significant line follows")
                                      : std::to_string(lines) + " significant lines follow") +
                          " the last entry the count announces (" + std::to_string(count) +
                          ") and " + (lines == 1 ? "is" : "are") +
                          " never read: is the count too small?";
    if (lines % 2 == 0 && count + lines / 2 <= kMaxEntries) {
      message += " With them it would be " + std::to_string(count + lines / 2) + ".";
    }
    Warn(first_line, message);
  }

  // After a comment read as a field, warnings and notes follow from it; errors stay.
  void Warn(int64_t line, std::string message) {
    if (!shifted_) report_.findings.push_back({line, Severity::kWarning, std::move(message)});
  }
  void Note(int64_t line, std::string message) {
    if (!shifted_) report_.findings.push_back({line, Severity::kNote, std::move(message)});
  }
  void Fail(const RunTimeError& error) {
    report_.findings.push_back({error.line(), Severity::kError, error.detail()});
  }

  struct FirstUse {
    int index;
    int64_t line;
    bool does_nothing;
  };

  TextInput& file_;
  DefinitionReader reader_;
  ViewProbe& probe_;
  CheckReport& report_;
  const Targets targets_;
  // The systems the whole check is for: the widths of captions and the machines an entry shows on
  // hang on the text alone, so each system's check words them for all these at once, and the
  // merged report says them once.
  const Targets widths_;
  DirectiveCheck directives_;
  // Where an entry shows hangs on its conditions and the machines, not on one system's side.
  ShowIfCheck show_if_{probe_, widths_};
  // The captions listed so far on Windows [0] and on Linux [1].
  std::unordered_map<std::string, FirstUse> captions_[2];
  std::string caption_;  // the caption of the entry being read
  int64_t caption_line_ = 0;
  bool shifted_ = false;  // a comment was read as a field
  int64_t invisible_found_ = 0;
  int64_t first_invisible_unnamed_ = 0;
};

}  // namespace

void CheckMenuText(TextInput& file, ViewProbe& probe, const std::string& decimal_separator,
                   const Targets& targets, const Targets& widths, CheckReport* report) {
  try {
    Checker(file, probe, *report, decimal_separator, targets, widths).Run();
  } catch (const RunTimeError& error) {  // the file cannot be read on
    report->checked = false;
    report->findings.push_back({error.line(), Severity::kError, error.detail()});
  }
  std::stable_sort(report->findings.begin(), report->findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

std::string MenuFileSpelling(const std::string& variant, bool found) {
  return "the menu file is spelled " + QuotedText(DisplayPath(variant)) + " on the medium" +
         (found ? std::string(": the menu finds it on Windows and Linux only because letter "
                              "case is ignored")
                : ", " + WhyLinuxMisses(kDefinitionPath, variant) +
                      ": the menu finds it on Windows, but on Linux it says \"" +
                      kDefinitionMissingText + "\"");
}

int CheckReport::Count(Severity severity) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.severity == severity; }));
}

int CheckReport::ExitStatus() const {
  if (image_unreadable) return 4;
  if (!checked) return 3;
  if (Count(Severity::kError) > 0) return 2;
  return Count(Severity::kWarning) > 0 ? 1 : 0;
}

CheckReport UnreadableMedium(const std::string& reason) {
  CheckReport report;
  report.checked = false;
  report.file = DisplayPath(kDefinitionPath);
  report.findings.push_back({0, Severity::kError, "the medium cannot be read: " + reason});
  return report;
}

}  // namespace tolvar
