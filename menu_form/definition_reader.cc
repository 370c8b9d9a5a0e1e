// DefinitionReader: the field order, the count's range and where reading goes on after a fault,
// with messages for the medium's author.
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

bool DefinitionReader::Read(DefinitionSink& sink) {
  sink_ = &sink;
  Place(DirectivePlace::kAboveTitle);
  // One handler for the whole file: a handler per field would cost the largest menu a tenth of
  // its loading time.
  try {
    return ReadFields(sink);
  } catch (const RunTimeError& fault) {
    if (fault.kind() == RunTimeError::Kind::kCannotOpen) throw;
    sink.Fault(fault);  // nothing can be read after it, whatever the sink says
    return false;
  }
}

// Inline: read for each of the largest menu's 65,533 fields.
inline std::string_view DefinitionReader::FieldLine(std::string_view expected, int index) {
  // The end of the file, when it comes first, is the field line's reader's to report. Most
  // fields follow the one before at once: only blank and comment lines need passing over.
  const int first = file_.PeekByte();
  const bool at_once = first >= 0 && first != '\'' && first != '\r' && first != '\n';
  return ReadFieldLine(file_, at_once || FieldFollows(), &line_, expected, index);
}

// Inline: read for every entry, in both of the loops over them.
inline std::string_view DefinitionReader::ReadCaption(int index) {
  const std::string_view caption = FieldLine("the caption of entry", index);
  if (caption.find('\0') == std::string_view::npos) return caption;
  // Decoded text is line_ already; a line still in the file's buffer is copied there.
  if (caption.data() != line_.data()) line_.assign(caption);
  ShowWhole(&line_);
  return line_;
}

template <bool counted>
void DefinitionReader::ReadEntries(DefinitionSink& sink, int count) {
  for (int i = 1; counted ? i <= count : FieldFollows(); ++i) {
    Place(DirectivePlace::kEntry, i);
    const std::string_view caption = ReadCaption(i);
    // Only the size outlives the call: reading the command may reuse the caption's storage.
    const size_t caption_size = caption.size();
    sink.Caption(i, caption, line_number());
    // Pairs after a bad count are read as the author presumably meant them; a caption left
    // without a command is no fault there, since no count asked for it.
    if (!counted && !FieldFollows()) return;
    const std::string_view command = ReadCommand(i);
    kept_text_ += caption_size + command.size();
    if (kept_text_ > kMaxKeptText) throw TooMuchText(i);
    sink.Command(i, command, line_number());
    // Directives below the last entry belong to none.
    if (counted && i == count) Place(DirectivePlace::kAfterLastEntry);
  }
}

bool DefinitionReader::ReadFields(DefinitionSink& sink) {
  const std::string title = ReadTitle();
  sink.Title(title, line_number());
  Place(DirectivePlace::kAboveEntries);

  const std::string splash = ReadSplash();
  const Result shown = sink.Splash(splash, line_number());
  if (!shown.ok && !sink.Fault(RunTimeError(
                       RunTimeError::Kind::kInvalidPicture, file_.display_name(), line_number(),
                       "the splash picture " + QuotedText(DisplayPath(splash), kLongestPathShown) +
                           " cannot be shown: " + shown.reason))) {
    return false;
  }

  int count = 0;
  try {
    count = ReadCount();
  } catch (const RunTimeError& fault) {
    if (fault.kind() == RunTimeError::Kind::kCannotOpen ||
        fault.kind() == RunTimeError::Kind::kEndOfFile) {
      throw;
    }
    // A count that is there but wrong still leaves the entries after it worth reading.
    if (sink.Fault(fault)) ReadEntries<false>(sink, 0);
    return false;
  }
  sink.Count(count, line_number());
  Place(DirectivePlace::kEntry, 1);
  ReadEntries<true>(sink, count);
  return true;
}

bool DefinitionReader::FieldFollows() {
  for (;;) {
    const int first = file_.PeekByte();
    if (first < 0) return false;
    if (first != '\'' && first != '\r' && first != '\n') return true;
    // A comment is skipped unread, however long; only its first bytes tell a directive.
    if (first == '\'') {
      const std::string_view start = file_.PeekLineStart(kDirectivePeek);
      if (BeginsDirective(start)) {
        ReadDirective();
        continue;
      }
      const std::string_view near_name = NearDirectiveName(start);
      if (!near_name.empty()) TellComment(near_name);
    }
    file_.SkipLine();
  }
}

void DefinitionReader::TellComment(std::string_view name) {
  Directive comment;
  comment.comment = true;
  comment.written_name = name;
  comment.name = DirectiveName::kUnknown;
  comment.line = line_number() + 1;  // the line ahead, not read yet
  comment.place = place_;
  comment.entry = place_ == DirectivePlace::kEntry ? entry_ : 0;
  sink_->DirectiveLine(comment);
}

void DefinitionReader::ReadDirective() {
  // A name the menu does not know makes the line a comment, of any length: a long one is told
  // without its value. A known name's value is a field's text, read with a field's limit.
  const std::string_view start = file_.PeekLineStart(kUnknownValuePeek);
  const bool known = ParseDirective(start).name != DirectiveName::kUnknown;
  Directive directive;
  if (known || start.size() < kUnknownValuePeek) {
    directive = ParseDirective(ReadFieldLine(file_, true, &directive_line_, "a directive"));
  } else {
    directive_line_.assign(start.substr(0, start.find(':') + 1));
    file_.SkipLine();
    directive = ParseDirective(directive_line_);
  }
  directive.line = line_number();
  directive.place = place_;
  directive.entry = place_ == DirectivePlace::kEntry ? entry_ : 0;
  // The values the menu may keep count as its captions and commands do, kept or overridden: a
  // file cannot make the menu hold more through directives than through entries.
  if (known && (place_ == DirectivePlace::kAboveTitle || place_ == DirectivePlace::kEntry)) {
    kept_text_ += directive.value.size();
    if (kept_text_ > kMaxKeptText) throw TooMuchText(entry_);
  }
  sink_->DirectiveLine(directive);
}

bool DefinitionReader::SignificantLineFollows(DefinitionSink& sink) {
  sink_ = &sink;
  Place(DirectivePlace::kAfterLastEntry);
  try {
    return FieldFollows();
  } catch (const RunTimeError& fault) {
    if (fault.kind() == RunTimeError::Kind::kCannotOpen) throw;
    sink.Fault(fault);
    return false;
  }
}

std::string DefinitionReader::ReadTitle() {
  std::string title(FieldLine("the title"));
  ShowWhole(&title);
  return title;
}

std::string DefinitionReader::ReadSplash() {
  return std::string(FieldLine("the splash picture's path (or $null$)"));
}

int DefinitionReader::ReadCount() {
  const std::string line(FieldLine("the number of entries"));
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

std::string_view DefinitionReader::ReadCommand(int index) {
  return FieldLine("the command of entry", index);
}

RunTimeError DefinitionReader::TooMuchText(int index) const {
  return RunTimeError(
      RunTimeError::Kind::kOutOfMemory, file_.display_name(), file_.line_number(),
      (index == 0 ? std::string("the directives above the title")
                  : "the captions, commands and directives up to entry " + std::to_string(index)) +
          " hold more than the " + std::to_string(kMaxKeptText >> 20) +
          " MiB of text a menu may have");
}

RunTimeError DefinitionReader::OutOfMemory() const {
  return RunTimeError(RunTimeError::Kind::kOutOfMemory, file_.display_name(), file_.line_number(),
                      "no memory is left to read the menu file on");
}

}  // namespace tolvar
