// CheckMenu: the menu's reading order, with every fault noted where the menu would stop, and the
// reading carried on wherever it still can, so that one run shows everything.
#include "menu_check/menu_check.h"

#include <algorithm>
#include <cstdio>

#include "menu_check/checks/caption_width.h"
#include "menu_check/checks/directive_check.h"
#include "menu_check/checks/entry_check.h"
#include "menu_check/checks/icon_folder_check.h"
#include "menu_check/checks/menu_findings.h"
#include "menu_check/checks/path_hint.h"
#include "menu_check/model/view_probe.h"
#include "menu_form/command_kind.h"
#include "menu_form/definition_reader.h"
#include "menu_form/form_layout.h"
#include "menu_form/menu_entry.h"
#include "picture/picture_header.h"
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
      entries_.CheckEachSystemListsSomething();
      for (std::string& empty : entries_.show_if().EmptyLists()) Warn(0, std::move(empty));
    }
    for (Finding& summary : directives_.Summaries()) {
      if (!findings_.shifted()) report_.findings.push_back(std::move(summary));
    }
    findings_.CountInvisibleCharacters();
    report_.directives = std::move(directives_.records);
    report_.fields_shifted = findings_.shifted();
  }

  void Title(std::string_view title, int64_t line) override {
    NoteIndentedComment(title, line, "the title");
    findings_.WarnOfInvisibleCharacters("the title", std::string(title), line);
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
    entries_.Check(index, caption_, caption_line_, std::string(command), line,
                   directives_.ForEntry(index));
  }
  bool Fault(const RunTimeError& fault) override {
    findings_.Error(fault.line(), fault.detail());
    return true;
  }
  void DirectiveLine(const Directive& directive) override {
    const std::string warning = directives_.Check(directive);
    if (!warning.empty()) Warn(directive.line, warning);
    if (warning.empty() && directive.place == DirectivePlace::kAboveTitle) {
      const std::string cut =
          ButtonCaptionWarning(directive.name, std::string(directive.value), widths_);
      if (!cut.empty()) Warn(directive.line, cut);
      if (directive.name == DirectiveName::kWindowIcon) CheckWindowIcon(directive);
    }
    if (warning.empty() && directive.place == DirectivePlace::kEntry &&
        directive.name == DirectiveName::kShowIf) {
      const std::string condition = entries_.show_if().CheckLine(directive);
      if (!condition.empty()) Warn(directive.line, condition);
    }
    // An entry's values are looked at with the entry, for the systems that list it.
    if (!directive.comment && directive.place == DirectivePlace::kAboveTitle &&
        IsMenuDirective(directive.name)) {
      findings_.WarnOfInvisibleCharacters(DirectiveSpelling(directive.written_name),
                                          std::string(directive.value), directive.line);
    }
  }

 private:
  // An icon the menu cannot show leaves the window without one: the author learns why.
  void CheckWindowIcon(const Directive& directive) {
    const std::string warning = IconWarning(probe_, std::string(directive.value));
    if (!warning.empty()) {
      Warn(directive.line, DirectiveSpelling(directive.name) + " " + warning);
    }
  }

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

  // A comment line with blanks before its apostrophe is a field to the menu, and every field
  // below it is read one line off: what the checker would say of them follows from this line
  // alone, so only this line is named, and the errors the menu stops at.
  void NoteIndentedComment(std::string_view text, int64_t line, const std::string& field) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == 0 || first == std::string_view::npos || text[first] != '\'') return;
    Warn(line, QuotedText(std::string(text)) + " is read as " + field +
                   ", not as a comment: the apostrophe must be the line's first character; the "
                   "fields below it are read one line off, and the checker leaves out what "
                   "follows from that");
    findings_.Shift();
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

  void Warn(int64_t line, std::string message) { findings_.Warn(line, std::move(message)); }
  void Note(int64_t line, std::string message) { findings_.Note(line, std::move(message)); }

  TextInput& file_;
  DefinitionReader reader_;
  ViewProbe& probe_;
  CheckReport& report_;
  const Targets targets_;
  // The systems the whole check is for: the widths of captions and the machines an entry shows on
  // hang on the text alone, so each system's check words them for all these at once, and the
  // merged report says them once.
  const Targets widths_;
  MenuFindings findings_{report_};
  DirectiveCheck directives_;
  EntryCheck entries_{probe_, findings_, targets_, widths_};
  std::string caption_;  // the caption of the entry being read
  int64_t caption_line_ = 0;
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
