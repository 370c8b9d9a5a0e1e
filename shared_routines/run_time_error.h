// The one error type for every run-time failure that ends the menu: it carries what kind of failure
// it is and a message that names the file, the line and what was wrong, in words a medium's author
// can act on.
#ifndef TOLVAR_SHARED_ROUTINES_RUN_TIME_ERROR_H_
#define TOLVAR_SHARED_ROUTINES_RUN_TIME_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tolvar {

class RunTimeError : public std::runtime_error {
 public:
  enum class Kind {
    kEndOfFile,            // the file ended before a line that had to be there
    kTypeMismatch,         // a line that must be a number is not one
    kOverflow,             // a number too large for the menu
    kSubscriptOutOfRange,  // a count of zero or less: no entries can be made
    kInvalidPicture,       // an existing file that is not a picture the platform can load
    kCannotOpen,           // an existing file that cannot be opened or read
    kLineTooLong,          // a significant line far longer than any title, caption or path
    kOutOfMemory,          // more text than the menu keeps, or memory ran out while loading
  };

  // `line` is 1-based; 0 when the failure concerns the file as a whole.
  RunTimeError(Kind kind, std::string file, int64_t line, const std::string& detail);

  Kind kind() const { return kind_; }
  const std::string& file() const { return file_; }
  int64_t line() const { return line_; }
  // What was wrong, without the file and the line: for reports that name those themselves.
  const std::string& detail() const { return detail_; }

 private:
  Kind kind_;
  std::string file_;
  int64_t line_;
  std::string detail_;
};

// A short name of the kind for reports and logs, e.g. "end of file".
const char* KindName(RunTimeError::Kind kind);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_RUN_TIME_ERROR_H_
