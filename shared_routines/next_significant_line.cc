// ReadFieldLine: a significant line read whole within its bound, or an error that names the line.
#include "shared_routines/next_significant_line.h"

#include "shared_routines/run_time_error.h"

namespace tolvar {

namespace {

// What was expected, in words; made only for an error, since the file is read once for each of
// its thousands of fields.
std::string Expected(std::string_view expected, int entry) {
  std::string text(expected);
  if (entry != 0) text += " " + std::to_string(entry);
  return text;
}

}  // namespace

std::string_view ReadFieldLine(TextInput& file, bool follows, std::string* storage,
                               std::string_view expected, int entry) {
  if (!follows) {
    throw RunTimeError(RunTimeError::Kind::kEndOfFile, file.display_name(), file.line_number() + 1,
                       "the file ends where " + Expected(expected, entry) + " was expected");
  }
  std::string_view line;
  if (file.ReadLine(kLongestSignificantLine, storage, &line)) return line;
  throw RunTimeError(RunTimeError::Kind::kLineTooLong, file.display_name(), file.line_number(),
                     "the line is longer than " + std::to_string(kLongestSignificantLine) +
                         " bytes, far too long for " + Expected(expected, entry));
}

}  // namespace tolvar
