// NextSignificantLine: comments and blank lines are skipped without being kept, however long.
#include "shared_routines/next_significant_line.h"

#include "shared_routines/run_time_error.h"

namespace tolvar {

std::string NextSignificantLine(TextInput& file, const std::string& expected) {
  if (!SkipToSignificantLine(file)) {
    throw RunTimeError(RunTimeError::Kind::kEndOfFile, file.display_name(), file.line_number() + 1,
                       "the file ends where " + expected + " was expected");
  }
  std::string line;
  if (file.ReadLine(kLongestSignificantLine, &line)) return line;
  throw RunTimeError(RunTimeError::Kind::kLineTooLong, file.display_name(), file.line_number(),
                     "the line is longer than " + std::to_string(kLongestSignificantLine) +
                         " bytes, far too long for " + expected);
}

bool SkipToSignificantLine(TextInput& file) {
  for (;;) {
    const int first = file.PeekByte();
    if (first < 0) return false;
    if (first != '\'' && first != '\r' && first != '\n') return true;
    file.SkipLine();
  }
}

}  // namespace tolvar
