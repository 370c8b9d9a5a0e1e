// FormatText and FormatJson: the same findings in two shapes.
#include "menu_check/report/report_format.h"

#include <cstdio>

#include "menu_check/checks/invisible_characters.h"
#include "menu_check/checks/argument_words.h"
#include "shared_routines/native_path.h"
#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::kError:
      return "error";
    case Severity::kNote:
      return "note";
    case Severity::kWarning:
      break;
  }
  return "warning";
}

// The file `file` (relative to the medium's root with '/' separators, "." for the medium as a
// whole, empty for the menu file) as the reader of the report opens it: Windows users with
// backslashes, as the menu file's own path is shown there.
std::string FileShown(const std::string& file, const std::string& menu_file,
                      const std::string& root) {
  if (file.empty()) return menu_file;
  if (file == ".") return root.empty() ? "." : WithPreferredSeparators(root);
  if (root.empty()) return WithPreferredSeparators(file);
  return WithPreferredSeparators(root + (root.back() == '/' || root.back() == '\\' ? "" : "/") +
                                 file);
}

const char* PlaceName(DirectivePlace place) {
  switch (place) {
    case DirectivePlace::kAboveTitle:
      return "above-title";
    case DirectivePlace::kAboveEntries:
      return "above-entries";
    case DirectivePlace::kEntry:
      return "entry";
    case DirectivePlace::kAfterLastEntry:
      break;
  }
  return "after-last-entry";
}

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The length of the character at `i` of valid UTF-8 `text` when it is one the report shows by
// its number (a bidirectional control, a line separator), with its number in `code`; else 0.
size_t ShownByNumber(const std::string& text, size_t i, char32_t* code) {
  if (static_cast<unsigned char>(text[i]) < 0xC0) return 0;
  const size_t length = Utf8SequenceAt(text, i, code);
  return length > 0 && ReordersOrBreaksLines(*code) ? length : 0;
}

// A JSON string; file names read from the disk may hold bytes that are not UTF-8. A reader that
// shows the JSON (a terminal, an editor, a web page) would reorder the text after a bidirectional
// control: those are escaped too.
std::string JsonString(const std::string& text) {
  std::string json = "\"";
  const std::string valid = Utf8Lossy(text);
  for (size_t i = 0; i < valid.size(); ++i) {
    const char c = valid[i];
    char32_t code = 0;
    if (const size_t length = ShownByNumber(valid, i, &code); length > 0) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
      json += escaped;
      i += length - 1;
      continue;
    }
    const auto next = i + 1 < valid.size() ? static_cast<unsigned char>(valid[i + 1]) : 0;
    // DEL and the C1 controls (U+0080 to U+009F) are valid in JSON, but act on a terminal that
    // shows the output: escaped like the C0 controls.
    if (c == '\x7F' || (static_cast<unsigned char>(c) == 0xC2 && next >= 0x80 && next <= 0x9F)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c == '\x7F' ? 0x7F : next);
      json += escaped;
      if (c != '\x7F') ++i;
      continue;
    }
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

// Text for a terminal, one line per finding: a control character from a file's name or its text
// (ESC, BEL, a line end, DEL, the C1 controls) would retitle or clear the terminal, or start a line
// that reads as a finding of its own. Each is shown as \xNN (\u00NN for C1) instead, and a
// bidirectional control, which would show the rest of the line reordered (a quoted caption
// "x\u202Eexe.txt" as "xtxt.exe"), or a line separator, as \uNNNN.
std::string TerminalSafe(const std::string& text) {
  const std::string valid = Utf8Lossy(text);
  std::string safe;
  safe.reserve(valid.size());
  for (size_t i = 0; i < valid.size(); ++i) {
    const auto c = static_cast<unsigned char>(valid[i]);
    const auto next = i + 1 < valid.size() ? static_cast<unsigned char>(valid[i + 1]) : 0;
    char escaped[8];
    char32_t code = 0;
    if (const size_t length = ShownByNumber(valid, i, &code); length > 0) {
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(code));
      safe += escaped;
      i += length - 1;
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      safe += escaped;
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
      std::snprintf(escaped, sizeof escaped, "\\u%04X", next);
      safe += escaped;
      ++i;
    } else {
      safe += static_cast<char>(c);
    }
  }
  return safe;
}

}  // namespace

std::string FormatText(const CheckReport& report, const std::string& file, const std::string& root,
                       bool show_words) {
  std::string text;
  for (const Finding& finding : report.findings) {
    text += TerminalSafe(FileShown(finding.file, file, root));
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    text += std::string(": ") + SeverityName(finding.severity) + ": " +
            TerminalSafe(finding.message) + "\n";
  }
  if (show_words) {
    for (const EntryWords& entry : report.words) {
      text += TerminalSafe(FileShown(entry.file, file, root)) + ":" + std::to_string(entry.line) +
              ": words: entry " + std::to_string(entry.entry) + ": " +
              TerminalSafe(WordsShown(entry.words)) + "\n";
    }
  }
  text += TerminalSafe(file) + ": ";
  if (report.image_unreadable) return text + "not checked: the image cannot be read\n";
  if (!report.checked) return text + "not checked: the menu file cannot be read\n";
  if (report.entries > 0) text += Counted(report.entries, "entry", "entries") + ", ";
  return text + Counted(report.Count(Severity::kError), "error", "errors") + ", " +
         Counted(report.Count(Severity::kWarning), "warning", "warnings") + "\n";
}

std::string FormatJson(const CheckReport& report, const std::string& file,
                       const std::string& root) {
  std::string json = "{\n";
  json += "  \"file\": " + JsonString(file) + ",\n";
  json += std::string("  \"checked\": ") + (report.checked ? "true" : "false") + ",\n";
  json += "  \"entries\": " + std::to_string(report.entries) + ",\n";
  json += "  \"errors\": " + std::to_string(report.Count(Severity::kError)) + ",\n";
  json += "  \"warnings\": " + std::to_string(report.Count(Severity::kWarning)) + ",\n";
  json += "  \"exit_status\": " + std::to_string(report.ExitStatus()) + ",\n";
  json += "  \"findings\": [";
  for (size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"file\": " + JsonString(FileShown(finding.file, file, root)) + ", ";
    json += "\"line\": " + (finding.line > 0 ? std::to_string(finding.line) : "null") +
            ", \"severity\": \"" + SeverityName(finding.severity) +
            "\", \"message\": " + JsonString(finding.message) + "}";
  }
  json += report.findings.empty() ? "],\n" : "\n  ],\n";
  json += "  \"directives\": [";
  for (size_t i = 0; i < report.directives.size(); ++i) {
    const DirectiveRecord& directive = report.directives[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"file\": " + JsonString(FileShown(directive.file, file, root)) +
            ", \"line\": " + std::to_string(directive.line) + ", \"place\": \"" +
            PlaceName(directive.place) +
            "\", \"entry\": " + (directive.entry > 0 ? std::to_string(directive.entry) : "null") +
            ", \"name\": " + JsonString(directive.name) +
            ", \"value\": " + JsonString(directive.value) + "}";
  }
  json += report.directives.empty() ? "],\n" : "\n  ],\n";
  json += "  \"show-if\": [";
  for (size_t i = 0; i < report.show_if.size(); ++i) {
    const ShowIfRecord& record = report.show_if[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"entry\": " + std::to_string(record.entry) +
            ", \"line\": " + std::to_string(record.line) + ", \"shows-on\": [";
    for (size_t p = 0; p < record.places.size(); ++p) {
      const ShowIfPlace& place = record.places[p];
      json += std::string(p == 0 ? "" : ", ") + "{\"machine\": " + JsonString(place.machine) +
              ", \"releases\": ";
      if (place.releases.empty()) {
        json += "\"all\"}";
        continue;
      }
      json += "[";
      for (size_t r = 0; r < place.releases.size(); ++r) {
        json += (r == 0 ? "" : ", ") + JsonString(place.releases[r]);
      }
      json += "]}";
    }
    json += "], \"when\": [";
    for (size_t w = 0; w < record.when.size(); ++w) {
      json += (w == 0 ? "" : ", ") + JsonString(record.when[w]);
    }
    json += "]}";
  }
  json += report.show_if.empty() ? "],\n" : "\n  ],\n";
  json += "  \"words\": [";
  for (size_t i = 0; i < report.words.size(); ++i) {
    const EntryWords& entry = report.words[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"file\": " + JsonString(FileShown(entry.file, file, root)) +
            ", \"line\": " + std::to_string(entry.line) +
            ", \"entry\": " + std::to_string(entry.entry) + ", \"words\": [";
    for (size_t w = 0; w < entry.words.size(); ++w) {
      json += (w == 0 ? "" : ", ") + JsonString(entry.words[w]);
    }
    json += "]}";
  }
  json += report.words.empty() ? "]\n" : "\n  ]\n";
  return json + "}\n";
}

}  // namespace tolvar
