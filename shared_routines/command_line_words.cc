// CommandLineWords: the quote and backslash rules of the Windows command line.
#include "shared_routines/command_line_words.h"

namespace tolvar {

std::vector<std::string> CommandLineWords(std::string_view arguments, QuoteRule rule) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  size_t backslashes = 0;  // how many end the word so far
  // Quotes seen in the current run: odd while inside quotes. A third quote in a run is a literal
  // one and ends the quoting, as Windows reads '"a""b"' and 'a"""b'.
  int quotes = 0;
  for (size_t at = 0; at < arguments.size(); ++at) {
    const char c = arguments[at];
    if ((c == ' ' || c == '\t') && quotes == 0) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      backslashes = 0;
      continue;
    }
    in_word = true;
    if (c == '\\') {
      word += c;
      ++backslashes;
      continue;
    }
    if (c != '"') {
      word += c;
      backslashes = 0;
      continue;
    }
    if (backslashes % 2 == 0) {
      word.resize(word.size() - backslashes / 2);
      ++quotes;
    } else {
      word.resize(word.size() - backslashes / 2 - 1);
      word += '"';
    }
    backslashes = 0;
    if (rule == QuoteRule::kCRuntime2008) {
      // Each quote on its own: "" inside quotes is a literal one, and the quoting goes on.
      if (quotes == 2) {
        if (at + 1 < arguments.size() && arguments[at + 1] == '"') {
          ++at;
          word += '"';
          quotes = 1;
        } else {
          quotes = 0;
        }
      }
      continue;
    }
    while (at + 1 < arguments.size() && arguments[at + 1] == '"') {
      ++at;
      if (++quotes == 3) {
        word += '"';
        quotes = 0;
      }
    }
    if (quotes == 2) quotes = 0;
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

}  // namespace tolvar
