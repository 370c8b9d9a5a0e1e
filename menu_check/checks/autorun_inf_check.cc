// CheckAutorunInf: autorun.inf as Windows reads it, an INI file in ANSI or UTF-16 with a
// byte-order mark, and a note on what Windows does with it on a disc and on a USB stick.
#include <string>
#include <vector>

#include "menu_check/checks/medium_checks.h"
#include "menu_check/model/view_probe.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/text_decode.h"

namespace tolvar {
namespace {

// UTF-16 after its byte-order mark, as UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUtf16(const std::string& bytes, bool big_endian) {
  std::string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto unit = [&](size_t at) {
      const unsigned a = static_cast<unsigned char>(bytes[at]);
      const unsigned b = static_cast<unsigned char>(bytes[at + 1]);
      return big_endian ? (a << 8 | b) : (b << 8 | a);
    };
    unsigned code = unit(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    AppendUtf8(code, &text);
  }
  return text;
}

// A path in autorun.inf, relative to the root, as a path of the view.
std::string ViewPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  while (!path.empty() && path[0] == '/') path.erase(0, 1);
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  return path;
}

struct Key {
  int64_t line = 0;
  std::string value;
};

class AutorunInf {
 public:
  AutorunInf(const MediumView& view, const std::string& file, std::vector<Finding>* findings)
      : view_(view), file_(file), findings_(findings) {}

  // True when the file names a program for Windows to start.
  bool Check(const std::string& bytes) {
    const std::string text = Decode(bytes);
    Parse(text);
    if (!has_section_) {
      Warn(0, "there is no [autorun] section: Windows ignores the file");
      return false;
    }
    const Key& open = keys_[kOpen].line > 0 ? keys_[kOpen] : keys_[kShellExecute];
    if (open.line == 0) {
      Warn(0, "neither open= nor shellexecute= is in [autorun]: Windows has nothing to start");
    } else {
      CheckProgram(open);
    }
    if (keys_[kIcon].line > 0) CheckIcon(keys_[kIcon]);
    if (keys_[kLabel].line == 0)
      Warn(0, "no label= in [autorun]: the drive shows no name of its own");
    if (keys_[kAction].line == 0) {
      Warn(0,
           "no action= in [autorun]: Windows needs it to offer the program in AutoPlay for "
           "removable drives");
    }
    const std::string action =
        keys_[kAction].line > 0 ? QuotedText(keys_[kAction].value) : std::string("no choice");
    findings_->push_back(
        {0, Severity::kNote,
         "what Windows does with it: from a CD, DVD or Blu-ray disc AutoPlay offers " + action +
             " (or starts it at once, or does nothing, as the user chose); from a USB stick or "
             "other removable drive Windows 7 and later ignore open= and action= and use only "
             "label= and icon=",
         file_});
    return open.line > 0;
  }

 private:
  enum KeyIndex { kOpen, kShellExecute, kIcon, kLabel, kAction, kKeys };

  std::string Decode(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
      unicode_ = true;  // every character reaches Windows as written
      return FromUtf16(bytes, false);
    }
    if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
      Warn(0,
           "the file is UTF-16 big-endian: Windows reads INI files as ANSI or as UTF-16 "
           "little-endian with its byte-order mark (Notepad's \"Unicode\")");
      unicode_ = true;  // warned about above; the ANSI advice would not help
      return FromUtf16(bytes, true);
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      Warn(1,
           "the file starts with a UTF-8 byte-order mark: Windows reads INI files as ANSI, "
           "so the mark becomes part of the first line; save it as ANSI or as UTF-16 "
           "(\"Unicode\")");
      utf8_marked_ = true;
      return bytes.substr(3);
    }
    return bytes;
  }

  void Parse(const std::string& text) {
    static const char* const kNames[kKeys] = {"open", "shellexecute", "icon", "label", "action"};
    bool in_autorun = false;
    int64_t number = 0;
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      start = end + 1;
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      line = TrimBlanks(line);
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        in_autorun = AsciiFolded(line) == "[autorun]";
        has_section_ = has_section_ || in_autorun;
        continue;
      }
      const size_t equals = line.find('=');
      if (!in_autorun || equals == std::string::npos) continue;
      const std::string key = AsciiFolded(TrimBlanks(line.substr(0, equals)));
      for (int i = 0; i < kKeys; ++i) {
        if (key == kNames[i] && keys_[i].line == 0)
          keys_[i] = {number, TrimBlanks(line.substr(equals + 1))};
      }
      if ((key == "label" || key == "action") && !utf8_marked_ && !unicode_ && !IsAscii(line)) {
        Warn(number, key +
                         "= holds characters beyond ASCII, which Windows reads in its ANSI "
                         "code page: save the file as UTF-16 (\"Unicode\") to show them as "
                         "written");
      }
    }
  }

  // open= is a command line: a quoted program, or the whole value when it names a file, or what
  // comes before the first blank.
  void CheckProgram(const Key& open) {
    std::string program = open.value;
    if (!program.empty() && program[0] == '"') {
      program = program.substr(1, program.find('"', 1) - 1);
    } else if (view_.IgnoringCase(ViewPath(program)) == nullptr) {
      program = program.substr(0, program.find(' '));
    }
    const MediumName* found = view_.IgnoringCase(ViewPath(program));
    if (found == nullptr || found->directory) {
      Warn(open.line,
           "Windows starts " + QuotedText(program) + ", but there is no such file on " + Where());
    }
  }

  void CheckIcon(const Key& icon) {
    std::string file = icon.value;
    const size_t comma = file.rfind(',');
    if (comma != std::string::npos &&
        TrimBlanks(file.substr(comma + 1)).find_first_not_of("-0123456789") == std::string::npos) {
      file = TrimBlanks(file.substr(0, comma));
    }
    if (!file.empty() && file[0] == '"') file = file.substr(1, file.find('"', 1) - 1);
    const MediumName* found = view_.IgnoringCase(ViewPath(file));
    if (found == nullptr || found->directory) {
      Warn(icon.line, "the icon file " + QuotedText(file) + " is not on " + Where() +
                          ": the drive shows the system's icon");
    }
  }

  std::string Where() const {
    return view_.tree == MediumView::Tree::kFolder ? "the medium" : view_.description;
  }

  void Warn(int64_t line, std::string message) {
    findings_->push_back({line, Severity::kWarning, std::move(message), file_});
  }

  const MediumView& view_;
  std::string file_;
  std::vector<Finding>* findings_;
  bool has_section_ = false;
  bool utf8_marked_ = false;
  bool unicode_ = false;  // UTF-16 with its byte-order mark
  Key keys_[kKeys];
};

}  // namespace

bool CheckAutorunInf(const MediumView& view, std::vector<Finding>* findings) {
  for (const std::string& name : view.Children("")) {
    if (AsciiFolded(name) != "autorun.inf") continue;
    const MediumName* entry = view.Exact(name);
    const std::string* content = view.ContentOf(name);  // one of a file's names, too
    if (entry->directory) {
      findings->push_back({0, Severity::kWarning, "autorun.inf is a folder, not a file", name});
    } else if (content == nullptr) {
      findings->push_back({0, Severity::kWarning,
                           "the file is too large for an autorun.inf and was not read", name});
    } else {
      return AutorunInf(view, name, findings).Check(*content);
    }
    return false;  // Windows reads one, whatever its case
  }
  return false;
}

}  // namespace tolvar
