// The checker's command line: what people type, and what they mistype.
#include "menu_check/command_line.h"

#include <gtest/gtest.h>

namespace tolvar {
namespace {

using Action = CheckOptions::Action;

TEST(CommandLineTest, RootFormatHelpAndVersion) {
  CheckOptions options = ParseCommandLine({});
  EXPECT_EQ(options.action, Action::kCheck);
  EXPECT_EQ(options.root, "");
  EXPECT_FALSE(options.json);

  options = ParseCommandLine({"--format=json", "D:\\"});
  EXPECT_EQ(options.action, Action::kCheck);
  EXPECT_EQ(options.root, "D:\\");
  EXPECT_TRUE(options.json);
  EXPECT_TRUE(ParseCommandLine({"--format", "json"}).json);
  EXPECT_FALSE(ParseCommandLine({"--format=json", "--format=text"}).json);
  EXPECT_EQ(ParseCommandLine({"--", "--odd-name"}).root, "--odd-name");

  EXPECT_EQ(ParseCommandLine({"x", "--help", "--bogus"}).action, Action::kHelp);
  EXPECT_EQ(ParseCommandLine({"-h"}).action, Action::kHelp);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::kVersion);
  EXPECT_EQ(VersionText().rfind("tolvar-menu-check ", 0), 0u);
  EXPECT_NE(HelpText().find("Exit status"), std::string::npos);
}

TEST(CommandLineTest, MistakesAreUsageErrorsThatSayWhat) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--format=xml"}, {"--format"}, {"--json"}, {"-x"}, {"a", "b"}}) {
    const CheckOptions options = ParseCommandLine(arguments);
    EXPECT_EQ(options.action, Action::kUsageError) << arguments[0];
    EXPECT_FALSE(options.problem.empty());
  }
  EXPECT_EQ(ParseCommandLine({"--format=xml"}).problem, "unknown format \"xml\" (text or json)");
}

}  // namespace
}  // namespace tolvar
