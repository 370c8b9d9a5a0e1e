// CheckMenu: the menu's reading order, with every fault noted where the menu would stop, and the
// reading carried on wherever it still can, so that one run shows everything.
#include "menu_check/menu_check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "menu_check/caption_width.h"
#include "menu_check/execute_permission.h"
#include "menu_check/medium_probe.h"
#include "menu_form/definition_reader.h"
#include "menu_form/form_layout.h"
#include "menu_form/menu_entry.h"
#include "picture/picture_file.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "shared_routines/batch_file.h"
#include "shared_routines/case_match.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_decode.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

constexpr char kNotFound[] = "Launch says \"Can't find file!!\": ";

// How far a picture's proportions may stray from the picture area's before the checker notes it:
// stretched by a factor of 1.5 or less, drawings and text still read as meant.
constexpr double kMostStretch = 1.5;

// Characters that show nothing themselves but change how the text around them reads: a caption
// "Read me\u202Ehs.txt" shows as "Read me txt.sh", and a zero-width space makes two names that look
// alike differ.
const char* InvisibleName(char32_t code) {
  switch (code) {
    case 0x00AD:
      return "soft hyphen";
    case 0x061C:
      return "Arabic letter mark";
    case 0x200B:
      return "zero-width space";
    case 0x200C:
      return "zero-width non-joiner";
    case 0x200D:
      return "zero-width joiner";
    case 0x200E:
      return "left-to-right mark";
    case 0x200F:
      return "right-to-left mark";
    case 0x202A:
      return "left-to-right embedding";
    case 0x202B:
      return "right-to-left embedding";
    case 0x202C:
      return "pop directional formatting";
    case 0x202D:
      return "left-to-right override";
    case 0x202E:
      return "right-to-left override";
    case 0x2060:
      return "word joiner";
    case 0x2061:
    case 0x2062:
    case 0x2063:
    case 0x2064:
      return "invisible operator";
    case 0x2066:
      return "left-to-right isolate";
    case 0x2067:
      return "right-to-left isolate";
    case 0x2068:
      return "first strong isolate";
    case 0x2069:
      return "pop directional isolate";
    case 0xFEFF:
      return "zero-width no-break space";
    default:
      return nullptr;
  }
}

// "U+202E (right-to-left override) at character 8, ..." for each invisible character in `text`
// (UTF-8, as the reader decodes every line), counted from 1; empty when there is none.
std::string InvisibleCharacters(const std::string& text) {
  std::string found;
  int position = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const size_t length = Utf8SequenceAt(text, i, &code);
    ++position;
    if (const char* name = length > 0 ? InvisibleName(code) : nullptr) {
      char number[8];
      std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(code));
      found += std::string(found.empty() ? "" : ", ") + "U+" + number + " (" + name +
               ") at character " + std::to_string(position);
    }
    i += length > 0 ? length : 1;
  }
  return found;
}

// FileExists(`path`) as the menu answers it, without the directory scan per path that the case
// matching makes for a name missing as written: the probe's listings, read once per folder, tell
// already. A menu of thousands of entries naming missing files in one big folder stays quick.
bool FileFound(MediumProbe& probe, const std::string& path) {
  namespace fs = std::filesystem;
  const std::string native = NativePath(path);
  if (native.empty() || native[0] == '/' || native[0] == '\\' ||
      native.find(':') != std::string::npos || native.find_first_of("*?") != std::string::npos) {
    return FileExists(path);
  }
  if (!probe.CaseVariant(path).empty()) return probe.CaseVariantIsUnique(path);
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::u8path(native), error)) && FileExists(path);
}

// What Launch would do with `command` that its author cannot have meant; empty when none.
std::string CommandWarning(MediumProbe& probe, const std::string& command, const Targets& targets) {
  if (command == kNullKeyword || command == kExitKeyword) return "";
  for (const char* keyword : {kNullKeyword, kExitKeyword}) {
    if (LooksLikeKeyword(command, keyword)) {
      return QuotedText(command) + " is not the keyword " + keyword +
             " (keywords match only exactly: lower case, no blanks): Launch looks for a file of "
             "that name and says \"Can't find file!!\"";
    }
  }
  if (command.find_first_of("*?") != std::string::npos) {
    return "the command " + QuotedText(command) +
           " holds a wildcard (* or ?): Launch cannot start a " +
           (FileExists(command) ? "pattern, even one that matches a file"
                                : "pattern, and says \"Can't find file!!\"");
  }
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
    return "the file is spelled " + QuotedText(variant) +
           " on the medium, beside a name that differs from it only in letter case: Launch "
           "finds " +
           QuotedText(command) + " on Windows, but says \"Can't find file!!\" on Linux";
  }
  if (FileFound(probe, command)) {
    const std::string batch_refusal = targets.for_windows ? BatchFileRefusal(command) : "";
    if (!batch_refusal.empty()) {
      return "Launch on Windows does not start " + QuotedText(command) + ": " + batch_refusal;
    }
    if (!targets.for_linux || !LacksExecutePermission(command)) return "";
    return QuotedText(command) +
           " is a program without the execute permission: Linux will not run it";
  }
  return kNotFound + probe.WhyNotFound(command);
}

// The checker's side of reading the menu file: every fault is noted where the menu would stop, and
// the reader goes on wherever the file still makes sense.
class Checker : public DefinitionSink {
 public:
  Checker(TextInput& file, MediumProbe& probe, CheckReport& report,
          const std::string& decimal_separator, const Targets& targets)
      : file_(file),
        reader_(file, decimal_separator),
        probe_(probe),
        report_(report),
        targets_(targets) {}

  // Throws RunTimeError kCannotOpen when the file cannot be read on; every other fault is noted.
  void Run() {
    if (reader_.Read(*this)) CheckLinesAfterTheLastEntry(report_.entries);
  }

  void Title(std::string_view, int64_t) override {}
  Result Splash(const std::string& splash, int64_t line) override {
    if (splash == kNullKeyword) return Result::Ok();
    if (FileFound(probe_, splash)) {
      const Result picture = CheckPicture(splash);
      if (!picture.ok) return picture;
      NoteStretchedPicture(splash, line);
    }
    CheckSplashName(splash, line);
    return Result::Ok();
  }
  void Count(int count, int64_t) override { report_.entries = count; }
  void Caption(int, std::string_view caption, int64_t line) override {
    caption_.assign(caption);
    caption_line_ = line;
  }
  void Command(int index, std::string_view command, int64_t line) override {
    CheckEntry(index, caption_, caption_line_, std::string(command), line);
  }
  bool Fault(const RunTimeError& fault) override {
    Fail(fault);
    return true;
  }
  void DirectiveLine(const Directive&) override {}

 private:
  // The window stretches the picture to its area without keeping its proportions, so a picture
  // shaped much unlike the area shows squeezed. A format whose size the header does not give
  // (WMF, EMF, ICO) is not judged.
  void NoteStretchedPicture(const std::string& splash, int64_t line) {
    std::string bytes;
    if (!ReadPictureFile(MatchCase(NativePath(splash)), &bytes).empty()) return;
    const PictureHeader header = ReadPictureHeader(bytes);
    if (header.width == 0 || header.height == 0) return;
    const int area_width = TwipsToPixels(kSplashLayout.twips.width, kDesignDpi);
    const int area_height = TwipsToPixels(kSplashLayout.twips.height, kDesignDpi);
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
      Warn(line, "the picture is spelled " + QuotedText(variant) + " on the medium: " +
                     (probe_.CaseVariantIsUnique(splash)
                          ? "the menu shows it on Windows and Linux only because letter case is "
                            "ignored"
                          : "beside a name that differs from it only in letter case, the menu "
                            "shows it on Windows, but not on Linux"));
    } else if (!FileFound(probe_, splash) && !LooksLikeKeyword(splash, kNullKeyword)) {
      // "$NULL$" shows no picture, which is what it asks for.
      Warn(line, "no picture is shown: " + probe_.WhyNotFound(splash));
    }
  }

  void CheckEntry(int index, const std::string& caption, int64_t caption_line,
                  const std::string& command, int64_t command_line) {
    const std::string entry = "entry " + std::to_string(index);
    const int width = EstimatedCaptionWidth(caption);
    if (width > kListTextWidth) {
      Warn(caption_line, entry + ": the caption is about " + std::to_string(width) +
                             " pixels wide, but the list shows about " +
                             std::to_string(kListTextWidth) + " of it: its end is cut off");
    }
    const bool does_nothing = command == kNullKeyword;
    const auto first = captions_.emplace(caption, FirstUse{index, caption_line, does_nothing});
    // Repeated headings and spacers ($null$ entries) are laid out on purpose.
    if (!first.second && !(does_nothing && first.first->second.does_nothing)) {
      Warn(caption_line, entry + " has the same caption as entry " +
                             std::to_string(first.first->second.index) + " (line " +
                             std::to_string(first.first->second.line) + "), " +
                             QuotedText(caption) + ": the list shows two entries alike");
    }
    const std::string hidden_in_caption = InvisibleCharacters(caption);
    if (!hidden_in_caption.empty()) {
      Warn(caption_line,
           entry + ": the caption " + QuotedText(caption) +
               " holds characters that show nothing but change how it reads: " + hidden_in_caption);
    }
    const std::string hidden_in_command = InvisibleCharacters(command);
    if (!hidden_in_command.empty()) {
      Warn(command_line, entry + ": the command " + QuotedText(command) +
                             " holds characters that show nothing but change how it "
                             "reads: " +
                             hidden_in_command);
    }
    const std::string warning = CommandWarning(probe_, command, targets_);
    if (!warning.empty()) Warn(command_line, entry + ": " + warning);
  }

  void CheckLinesAfterTheLastEntry(int count) {
    if (!SkipToSignificantLine(file_)) return;
    const int64_t first_line = file_.line_number() + 1;
    int64_t lines = 0;
    do {
      file_.SkipLine();
      ++lines;
    } while (SkipToSignificantLine(file_));
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

  void Warn(int64_t line, std::string message) {
    report_.findings.push_back({line, Severity::kWarning, std::move(message)});
  }
  void Note(int64_t line, std::string message) {
    report_.findings.push_back({line, Severity::kNote, std::move(message)});
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
  MediumProbe& probe_;
  CheckReport& report_;
  const Targets targets_;
  std::unordered_map<std::string, FirstUse> captions_;
  std::string caption_;  // the caption of the entry being read
  int64_t caption_line_ = 0;
};

}  // namespace

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

CheckReport CheckMenu(const std::string& decimal_separator, const Targets& targets) {
  CheckReport report;
  report.file = DisplayPath(kDefinitionPath);
  MediumProbe probe;
  const bool found = FileExists(kDefinitionPath);
  const std::string variant = probe.CaseVariant(kDefinitionPath);
  if (!found && variant.empty()) {
    report.checked = false;
    report.findings.push_back(
        {0, Severity::kError,
         std::string(kDefinitionMissingText) + " (" + probe.WhyNotFound(kDefinitionPath) + ")"});
    return report;
  }
  if (!variant.empty() && targets.for_linux) {
    report.findings.push_back(
        {0, Severity::kWarning,
         "the menu file is spelled " + QuotedText(DisplayPath(variant)) + " on the medium: " +
             (found ? std::string("the menu finds it on Windows and Linux only because letter "
                                  "case is ignored")
                    : std::string("beside a name that differs from it only in letter case, the "
                                  "menu finds it on Windows, but on Linux it says \"") +
                          kDefinitionMissingText + "\"")});
  }
  try {
    TextInput file(variant.empty() ? kDefinitionPath : variant);  // as spelled on the medium
    report.file = file.display_name();
    Checker(file, probe, report, decimal_separator, targets).Run();
  } catch (const RunTimeError& error) {  // the file cannot be opened or read
    report.checked = false;
    report.findings.push_back({error.line(), Severity::kError, error.detail()});
  }
  std::stable_sort(report.findings.begin(), report.findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return report;
}

CheckReport UnreadableMedium(const std::string& reason) {
  CheckReport report;
  report.checked = false;
  report.file = DisplayPath(kDefinitionPath);
  report.findings.push_back({0, Severity::kError, "the medium cannot be read: " + reason});
  return report;
}

}  // namespace tolvar
