// CommandLineWords: a command line's arguments split into words as Windows programs split their
// own (the rules of CommandLineToArgvW), so that one line in the menu file gives a program the same
// words on Windows, where it is passed as written, and on Linux, where the menu splits it.
#ifndef TOLVAR_SHARED_ROUTINES_COMMAND_LINE_WORDS_H_
#define TOLVAR_SHARED_ROUTINES_COMMAND_LINE_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace tolvar {

// The two rules Windows programs split their command line by. They differ in one place alone: ""
// inside quotes.
enum class QuoteRule {
  // CommandLineToArgvW, and the C runtime of programs built before 2008: "" inside quotes is one
  // literal quote and ends the quoting ("Sag ""Hallo"" zur Welt" is the three words
  // `Sag "Hallo`, `zur` and `Welt`). The menu splits by this rule on Linux.
  kCommandLineToArgvW,
  // The C runtime of programs built with Visual C++ 2008 and later: "" inside quotes is one literal
  // quote and the quoting goes on (the same line is the one word `Sag "Hallo" zur Welt`).
  kCRuntime2008,
};

// Blanks (space, tab) outside double quotes separate words; double quotes group and are removed;
// "" inside quotes is one literal quote (what follows it: see QuoteRule); backslashes are literal
// except before a double quote, where 2n of them give n and the quote works as a quote, and 2n+1
// give n and a literal quote. Nothing else is special: no variable, wildcard or tilde is expanded.
// `""` is an empty word.
std::vector<std::string> CommandLineWords(std::string_view arguments,
                                          QuoteRule rule = QuoteRule::kCommandLineToArgvW);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_COMMAND_LINE_WORDS_H_
