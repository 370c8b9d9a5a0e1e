// An entry's '#arguments: as the words its program gets: split as the menu splits them on Linux
// (CommandLineWords), and as Windows programs split them themselves, by one of two rules that
// differ at "" inside quotes. The checker shows the words, and warns where the two rules part.
#ifndef TOLVAR_MENU_CHECK_CHECKS_ARGUMENT_WORDS_H_
#define TOLVAR_MENU_CHECK_CHECKS_ARGUMENT_WORDS_H_

#include <string>
#include <vector>

namespace tolvar {

// For arguments that programs built with a newer Windows C runtime split otherwise than Linux and
// CommandLineToArgvW do: the warning, naming both sets of words and how to write the line so
// that they agree; empty when both rules give the same words.
std::string ArgumentRulesDiffer(const std::string& arguments);

// `words` for a person to read: each in double quotes, a quote or backslash in it escaped as in
// JSON, separated by blanks: "Sag \"Hallo" "zur" "Welt".
std::string WordsShown(const std::vector<std::string>& words);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_ARGUMENT_WORDS_H_
