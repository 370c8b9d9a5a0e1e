// DefinitionReader: the menu file's grammar, once: its fields in the order they stand (title,
// splash, count, then caption and command for each entry), each checked, with errors that say which
// field was wanted, told to a sink with the line it stands on. The menu and every tool that must
// read a file as the menu does read it through here.
#ifndef TOLVAR_MENU_FORM_DEFINITION_READER_H_
#define TOLVAR_MENU_FORM_DEFINITION_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "menu_form/directive.h"
#include "menu_form/menu_entry.h"
#include "menu_form/result.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"

namespace tolvar {

// What a reader of the menu file does with each field. Text handed over as a string_view is valid
// only during the call. `line` is the 1-based line the field stands on.
class DefinitionSink {
 public:
  virtual ~DefinitionSink() = default;

  // The title, each NUL shown as U+FFFD (the window would cut the text short at it).
  virtual void Title(std::string_view title, int64_t line) = 0;
  // The splash line exactly as written, $null$ included. A failure (an existing file that cannot
  // be shown as a picture, `reason` in the platform's words) becomes the fault kInvalidPicture at
  // this line.
  virtual Result Splash(const std::string& splash, int64_t line) = 0;
  // The entry count, 1..kMaxEntries, before any entry is read.
  virtual void Count(int count, int64_t line) = 0;
  // Entry `index` (1-based): its caption (NULs shown as in the title), then its command exactly as
  // written.
  virtual void Caption(int index, std::string_view caption, int64_t line) = 0;
  virtual void Command(int index, std::string_view command, int64_t line) = 0;
  // A fault the menu stops at, with its file and line. Returns false to stop the reading there, as
  // the menu does; true to let the reader go on where the file still makes sense: after a splash
  // that cannot be shown, with the count; after a count that is no valid number, with the caption
  // and command pairs that follow it, as many as there are. After any other fault nothing more is
  // read, whatever it returns.
  virtual bool Fault(const RunTimeError& fault) = 0;
  // A directive line, wherever it stands, in the order of the file: an entry's directives come
  // before its caption. Its texts are valid only during the call. The name may be unknown and the
  // value outside the directive's set; what it belongs to is in its place and entry. A comment
  // written almost as a directive comes too, marked as one, with its name and no value. A
  // DirectiveInterpreter judges them all.
  virtual void DirectiveLine(const Directive& directive) = 0;
};

class DefinitionReader {
 public:
  DefinitionReader(TextInput& file, std::string decimal_separator);

  // Reads the whole definition from the start of `file`, telling `sink` every field in order.
  // Returns true when every field the count announces was read, false when a fault stopped the
  // reading (and was told to the sink). Throws RunTimeError kCannotOpen when the file cannot be
  // read on: that is the medium's fault, not the file's text. A RunTimeError that the sink throws
  // is told back to it as a fault, as the file's own would be; other exceptions pass through.
  bool Read(DefinitionSink& sink);

  // After a Read that returned true: passes over the lines that follow the last entry, telling
  // each directive among them to `sink` (placed kAfterLastEntry); true when a significant line
  // follows, which the menu never reads.
  bool SignificantLineFollows(DefinitionSink& sink);

  // The error for memory that ran out while the file was read, at the last line read.
  RunTimeError OutOfMemory() const;

  // The line number of the last line read.
  int64_t line_number() const { return file_.line_number(); }

 private:
  // The only two places where the lines between fields (blank lines, comments, directives) are
  // passed over, each directive told to the sink with the current place. FieldFollows passes over
  // them where no field need follow; false when the file ends first.
  bool FieldFollows();
  // Reads the directive line ahead and tells it to the sink.
  void ReadDirective();
  // Tells the sink of the comment ahead, written almost as a directive named `name`; reads
  // nothing.
  void TellComment(std::string_view name);
  // Where the lines read next stand: directives there belong to the entry `entry`.
  void Place(DirectivePlace place, int entry = 0) {
    place_ = place;
    entry_ = entry;
  }
  // The next field's line, valid until the next read. Throws RunTimeError kEndOfFile naming the
  // field (`expected`, followed by `index` unless it is 0) when the file ends first.
  std::string_view FieldLine(std::string_view expected, int index = 0);
  // Each throws RunTimeError, as FieldLine and with the field's own faults.
  std::string ReadTitle();
  std::string ReadSplash();
  int ReadCount();
  std::string_view ReadCaption(int index);
  std::string_view ReadCommand(int index);
  // The fault for captions, commands and directive values up to entry `index` (0: above the
  // title) that hold more than kMaxKeptText.
  RunTimeError TooMuchText(int index) const;

  // Read without its handler: throws each fault that ends the reading.
  bool ReadFields(DefinitionSink& sink);
  // Reads `count` entries into `sink`; when not `counted` (after a count that is no valid number),
  // the caption and command pairs that follow, until the file ends. One body for both, so that
  // how an entry is read is written once.
  template <bool counted>
  void ReadEntries(DefinitionSink& sink, int count);

  TextInput& file_;
  std::string decimal_separator_;
  size_t kept_text_ = 0;
  std::string line_;  // the storage every field's line reuses when it is not in the file's buffer
  std::string directive_line_;      // the same for directive lines, which come between fields
  DefinitionSink* sink_ = nullptr;  // during Read
  DirectivePlace place_ = DirectivePlace::kAboveTitle;
  int entry_ = 0;
};

// How many of a comment's first bytes tell a directive, or a comment written almost as one.
inline constexpr size_t kDirectivePeek = kDirectivePrefix + 16;
// A directive of an unknown name whose line is longer is told without its value.
inline constexpr size_t kUnknownValuePeek = 1024;

// All captions, commands and directive values together: 32766 entries of 1 KiB each fit many times
// over, while a file of 64 KiB lines cannot take gigabytes (or a 32-bit program's address space).
inline constexpr size_t kMaxKeptText = size_t{64} << 20;

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_DEFINITION_READER_H_
