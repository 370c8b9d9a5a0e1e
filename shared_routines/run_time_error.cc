// The run-time error type: builds the "file line N: detail" message once, at construction.
#include "shared_routines/run_time_error.h"

#include <utility>

namespace tolvar {
namespace {

std::string Compose(const std::string& file, int64_t line, const std::string& detail) {
  if (line > 0) return file + " line " + std::to_string(line) + ": " + detail;
  return file + ": " + detail;
}

}  // namespace

RunTimeError::RunTimeError(Kind kind, std::string file, int64_t line, const std::string& detail)
    : std::runtime_error(Compose(file, line, detail)),
      kind_(kind),
      file_(std::move(file)),
      line_(line),
      detail_(detail) {}

const char* KindName(RunTimeError::Kind kind) {
  switch (kind) {
    case RunTimeError::Kind::kEndOfFile:
      return "end of file";
    case RunTimeError::Kind::kTypeMismatch:
      return "type mismatch";
    case RunTimeError::Kind::kOverflow:
      return "overflow";
    case RunTimeError::Kind::kSubscriptOutOfRange:
      return "subscript out of range";
    case RunTimeError::Kind::kInvalidPicture:
      return "invalid picture";
    case RunTimeError::Kind::kCannotOpen:
      return "file cannot be opened";
    case RunTimeError::Kind::kLineTooLong:
      return "line too long";
    case RunTimeError::Kind::kOutOfMemory:
      return "out of memory";
  }
  return "run-time error";
}

}  // namespace tolvar
