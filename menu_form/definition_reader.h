// DefinitionReader: the menu file's fields in the order they stand (title, splash, count, then
// caption and command for each entry), each read with NextSignificantLine and checked, with errors
// that say which field was wanted. Shared by the menu and every tool that must read a file as the
// menu does.
#ifndef TOLVAR_MENU_FORM_DEFINITION_READER_H_
#define TOLVAR_MENU_FORM_DEFINITION_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "menu_form/menu_entry.h"
#include "menu_form/text_store.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {

// Each method reads the next field and throws RunTimeError kEndOfFile, naming the field, when the
// file ends first.
class DefinitionReader {
 public:
  DefinitionReader(TextInput& file, std::string decimal_separator);

  // The title and the captions are shown in the window, where a NUL would cut them short: each NUL
  // comes back as U+FFFD. Commands and the splash path come back exactly as written.
  std::string ReadTitle();
  std::string ReadSplash();

  // The entry count, 1..kMaxEntries. Throws RunTimeError kTypeMismatch when the line is not a
  // number, kOverflow when it is above kMaxEntries or outside 16 bits, kSubscriptOutOfRange when
  // below 1.
  int ReadCount();

  // The caption and the command of entry `index` (1-based).
  std::string ReadCaption(int index);
  std::string ReadCommand(int index);
  // Both, kept in `store`, counted against kMaxKeptText: throws RunTimeError kOutOfMemory at the
  // line where the entries read so far hold more.
  MenuEntry ReadEntry(int index, TextStore& store);

  // The error for memory that ran out while the file was read, at the last line read.
  RunTimeError OutOfMemory() const;

  // The error for a splash line that names an existing file the platform cannot show as a picture
  // (`reason`: the platform's words), at the splash line, which must be the last field read.
  RunTimeError InvalidSplash(const std::string& splash, const std::string& reason) const;

  // The line number of the last field read.
  int64_t line_number() const { return file_.line_number(); }

 private:
  TextInput& file_;
  std::string decimal_separator_;
  // Read a caption or a command, valid until the next read: in the file's buffer, or in line_,
  // whose storage every entry's lines reuse.
  std::string_view CaptionLine(int index);
  std::string_view CommandLine(int index);

  size_t kept_text_ = 0;
  std::string line_;
};

// All captions and commands together: 32766 entries of 1 KiB each fit many times over, while a
// file of 64 KiB lines cannot take gigabytes (or a 32-bit program's address space).
inline constexpr size_t kMaxKeptText = size_t{64} << 20;

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_DEFINITION_READER_H_
