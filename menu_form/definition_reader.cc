// DefinitionReader: the field order and the count's range, with messages for the medium's author.
#include "menu_form/definition_reader.h"

#include <utility>

#include "menu_form/count_conversion.h"
#include "shared_routines/native_path.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/run_time_error.h"

namespace tolvar {
namespace {

// Text for the window, where a NUL would silently end it early: shown as U+FFFD instead, so the
// author sees that something is there. Commands keep their NUL; no file can have it in its name.
void ShowWhole(std::string* text) {
  for (size_t at = text->find('\0'); at != std::string::npos; at = text->find('\0', at + 3)) {
    text->replace(at, 1, "\xEF\xBF\xBD");
  }
}

}  // namespace

DefinitionReader::DefinitionReader(TextInput& file, std::string decimal_separator)
    : file_(file), decimal_separator_(std::move(decimal_separator)) {}

std::string DefinitionReader::ReadTitle() {
  std::string title = NextSignificantLine(file_, "the title");
  ShowWhole(&title);
  return title;
}

std::string DefinitionReader::ReadSplash() {
  return NextSignificantLine(file_, "the splash picture's path (or $null$)");
}

int DefinitionReader::ReadCount() {
  const std::string line = NextSignificantLine(file_, "the number of entries");
  const Integer16Conversion count = ConvertToInteger16(line, decimal_separator_);
  const auto fail = [&](RunTimeError::Kind kind, const std::string& detail) {
    return RunTimeError(kind, file_.display_name(), file_.line_number(), detail);
  };
  const std::string range = "a number from 1 to " + std::to_string(kMaxEntries);
  switch (count.outcome) {
    case Integer16Conversion::Outcome::kTypeMismatch:
      // NUL bytes between the characters are what a UTF-16 file without its mark looks like.
      throw fail(RunTimeError::Kind::kTypeMismatch,
                 "the number of entries must be " + range + ", but the line reads " +
                     QuotedText(line) +
                     (line.find('\0') == std::string::npos
                          ? ""
                          : " (the file holds NUL bytes: save it as ANSI or UTF-8, not UTF-16)"));
    case Integer16Conversion::Outcome::kOverflow:
      throw fail(RunTimeError::Kind::kOverflow, "the number of entries must be " + range +
                                                    ", but " + QuotedText(line) + " is too large");
    case Integer16Conversion::Outcome::kOk:
      break;
  }
  if (count.value < 1) {
    throw fail(RunTimeError::Kind::kSubscriptOutOfRange,
               "the number of entries must be " + range + ", but it is " + QuotedText(line));
  }
  if (count.value > kMaxEntries) {
    throw fail(RunTimeError::Kind::kOverflow, "the number of entries must be " + range + ", but " +
                                                  QuotedText(line) + " is too large");
  }
  return count.value;
}

std::string_view DefinitionReader::CaptionLine(int index) {
  const std::string_view caption =
      ReadSignificantLine(file_, &line_, "the caption of entry", index);
  if (caption.find('\0') == std::string_view::npos) return caption;
  // Decoded text is line_ already; a line still in the file's buffer is copied there.
  if (caption.data() != line_.data()) line_.assign(caption);
  ShowWhole(&line_);
  return line_;
}

std::string_view DefinitionReader::CommandLine(int index) {
  return ReadSignificantLine(file_, &line_, "the command of entry", index);
}

std::string DefinitionReader::ReadCaption(int index) { return std::string(CaptionLine(index)); }

std::string DefinitionReader::ReadCommand(int index) { return std::string(CommandLine(index)); }

MenuEntry DefinitionReader::ReadEntry(int index, TextStore& store) {
  MenuEntry entry;
  const std::string_view caption = CaptionLine(index);
  kept_text_ += caption.size();
  entry.Caption = store.Keep(caption);
  const std::string_view command = CommandLine(index);
  kept_text_ += command.size();
  if (kept_text_ > kMaxKeptText) {
    throw RunTimeError(RunTimeError::Kind::kOutOfMemory, file_.display_name(), file_.line_number(),
                       "the captions and commands up to entry " + std::to_string(index) +
                           " hold more than the " + std::to_string(kMaxKeptText >> 20) +
                           " MiB of text a menu may have");
  }
  entry.Command = store.Keep(command);
  return entry;
}

RunTimeError DefinitionReader::OutOfMemory() const {
  return RunTimeError(RunTimeError::Kind::kOutOfMemory, file_.display_name(), file_.line_number(),
                      "no memory is left to read the menu file on");
}

RunTimeError DefinitionReader::InvalidSplash(const std::string& splash,
                                             const std::string& reason) const {
  return RunTimeError(RunTimeError::Kind::kInvalidPicture, file_.display_name(),
                      file_.line_number(),
                      "the splash picture " + QuotedText(DisplayPath(splash), kLongestPathShown) +
                          " cannot be shown: " + reason);
}

}  // namespace tolvar
