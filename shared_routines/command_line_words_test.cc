// CommandLineWords against the words Windows programs get for the same command line, and the batch
// file rule for arguments.
#include "shared_routines/command_line_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared_routines/batch_file.h"

namespace tolvar {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineWordsTest, SplitsAsWindowsProgramsSplitTheirCommandLine) {
  const struct {
    const char* line;
    Words words;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"/S  /D=C:\\x", {"/S", "/D=C:\\x"}},
      {"\"abc\" d e", {"abc", "d", "e"}},
      {"a\\\\b d\"e f\"g h", {"a\\\\b", "de fg", "h"}},
      {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}},
      {"a\\\\\\\\\"b c\" d e", {"a\\\\b c", "d", "e"}},
      {"a\"b\"\" c d", {"ab\"", "c", "d"}},
      {"\"\"", {""}},
      {"x \"\" y", {"x", "", "y"}},
      {"\"C:\\Program Files\\x\\\" y", {"C:\\Program Files\\x\" y"}},
      {"a\"\"\"b", {"a\"b"}},
      {"Zo\xC3\xAB $HOME *.txt ~ `id`", {"Zo\xC3\xAB", "$HOME", "*.txt", "~", "`id`"}},
      {"\"unterminated quote", {"unterminated quote"}},
      {"trailing\\", {"trailing\\"}},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandLineWords(c.line), c.words) << c.line;
}

// The two rules part only at "" inside quotes: the older one ends the quoting there, the newer C
// runtime's goes on.
TEST(CommandLineWordsTest, TheNewerCRuntimesRuleDiffersAtTwoQuotesInsideQuotesAlone) {
  const struct {
    const char* line;
    Words old_rule;
    Words new_rule;
  } cases[] = {
      {"\"Sag \"\"Hallo\"\" zur Welt\"",
       {"Sag \"Hallo", "zur", "Welt"},
       {"Sag \"Hallo\" zur Welt"}},
      {"a\"b\"\" c d", {"ab\"", "c", "d"}, {"ab\" c d"}},
      {"\"\"\"\"", {"\""}, {"\""}},
      {"\"\"", {""}, {""}},
      {"x \"\" y", {"x", "", "y"}, {"x", "", "y"}},
      {"a\"\"\"b", {"a\"b"}, {"a\"b"}},
      {"\"a b\" \\\"c d\\\"", {"a b", "\"c", "d\""}, {"a b", "\"c", "d\""}},
      {"/S /D=\"C:\\x y\"", {"/S", "/D=C:\\x y"}, {"/S", "/D=C:\\x y"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandLineWords(c.line), c.old_rule) << c.line;
    EXPECT_EQ(CommandLineWords(c.line, QuoteRule::kCRuntime2008), c.new_rule) << c.line;
  }
}

TEST(CommandLineWordsTest, ABatchFileTakesOnlyArgumentsThatCmdReadsAsWritten) {
  EXPECT_EQ(BatchFileRefusal("setup.bat", "/S \"C:\\Program Files\""), "");
  EXPECT_EQ(BatchFileRefusal("setup.exe", "%PATH% & del x"), "");  // no cmd.exe between
  for (const char* arguments : {"%OS%", "a & b", "a|b", "^x", "<in", "x!y", "\"odd"}) {
    EXPECT_NE(BatchFileRefusal("SETUP.CMD", arguments), "") << arguments;
  }
  EXPECT_NE(BatchFileRefusal("a%b.bat", ""), "");
}

}  // namespace
}  // namespace tolvar
