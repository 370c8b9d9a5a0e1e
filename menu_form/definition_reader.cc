// DefinitionReader: the field order and the count's range, with messages for the medium's author.
#include "menu_form/definition_reader.h"

#include <utility>

#include "menu_form/count_conversion.h"
#include "shared_routines/native_path.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/run_time_error.h"

namespace tolvar {
namespace {

// The line as found, quoted, and cut short when it would drown the message.
std::string Quote(const std::string& text) {
  constexpr size_t kLongest = 60;
  if (text.size() <= kLongest) return "\"" + text + "\"";
  size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8
  return "\"" + text.substr(0, cut) + "...\"";
}

}  // namespace

DefinitionReader::DefinitionReader(TextInput& file, std::string decimal_separator)
    : file_(file), decimal_separator_(std::move(decimal_separator)) {}

std::string DefinitionReader::ReadTitle() { return NextSignificantLine(file_, "the title"); }

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
      throw fail(RunTimeError::Kind::kTypeMismatch,
                 "the number of entries must be " + range + ", but the line reads " + Quote(line));
    case Integer16Conversion::Outcome::kOverflow:
      throw fail(RunTimeError::Kind::kOverflow, "the number of entries must be " + range +
                                                    ", but " + Quote(line) + " is too large");
    case Integer16Conversion::Outcome::kOk:
      break;
  }
  if (count.value < 1) {
    throw fail(RunTimeError::Kind::kSubscriptOutOfRange,
               "the number of entries must be " + range + ", but it is " + Quote(line));
  }
  if (count.value > kMaxEntries) {
    throw fail(RunTimeError::Kind::kOverflow,
               "the number of entries must be " + range + ", but " + Quote(line) + " is too large");
  }
  return count.value;
}

std::string DefinitionReader::ReadCaption(int index) {
  return NextSignificantLine(file_, "the caption of entry " + std::to_string(index));
}

std::string DefinitionReader::ReadCommand(int index) {
  return NextSignificantLine(file_, "the command of entry " + std::to_string(index));
}

MenuEntry DefinitionReader::ReadEntry(int index) {
  MenuEntry entry;
  entry.Caption = ReadCaption(index);
  entry.Command = ReadCommand(index);
  return entry;
}

RunTimeError DefinitionReader::InvalidSplash(const std::string& splash,
                                             const std::string& reason) const {
  return RunTimeError(
      RunTimeError::Kind::kInvalidPicture, file_.display_name(), file_.line_number(),
      "the splash picture \"" + DisplayPath(splash) + "\" cannot be shown: " + reason);
}

}  // namespace tolvar
