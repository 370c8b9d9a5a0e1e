// The warning where the two Windows rules for a command line give other words.
#include "menu_check/checks/argument_words.h"

#include <cstdio>

#include "shared_routines/command_line_words.h"
#include "shared_routines/text_decode.h"

namespace tolvar {

std::string ArgumentRulesDiffer(const std::string& arguments) {
  const std::vector<std::string> words = CommandLineWords(arguments);
  const std::vector<std::string> newer = CommandLineWords(arguments, QuoteRule::kCRuntime2008);
  if (words == newer) return "";
  return "the arguments give the words " + WordsShown(words) +
         " on Linux and to Windows programs that split their command line as "
         "CommandLineToArgvW does (and those built before 2008), but " +
         WordsShown(newer) +
         " to Windows programs built with a newer C runtime: \"\" inside quotes ends the quoting "
         "for the first and not for the second; write a quote inside quotes as \\\" to give every "
         "program the same words";
}

std::string WordsShown(const std::vector<std::string>& words) {
  std::string shown;
  for (const std::string& word : words) {
    if (!shown.empty()) shown += ' ';
    shown += '"';
    for (const char c : Utf8Lossy(word)) {
      if (c == '"' || c == '\\') {
        shown += '\\';
        shown += c;
      } else if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        shown += escaped;
      } else {
        shown += c;
      }
    }
    shown += '"';
  }
  return shown.empty() ? "(none)" : shown;
}

}  // namespace tolvar
