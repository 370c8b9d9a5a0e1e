// The checker on "'#show-if:" lines, over media in temporary directories: where each entry shows,
// conditions it does not know or that cannot hold together, paths of the medium that are not on
// it, empty lists per machine, and --target narrowed to one machine.
#include "menu_check/checks/show_if_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_check/report/command_line.h"
#include "menu_check/report/report_format.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::Contains;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

// The title, no picture, and each entry as its directive lines, caption and command.
std::string Menu(const std::vector<std::vector<std::string>>& entries) {
  std::string text = "Title\r\n$null$\r\n" + std::to_string(entries.size()) + "\r\n";
  for (const std::vector<std::string>& entry : entries) {
    for (const std::string& line : entry) text += line + "\r\n";
  }
  return text;
}

std::vector<std::string> Messages(const CheckReport& report, Severity severity) {
  std::vector<std::string> messages;
  for (const Finding& finding : report.findings) {
    if (finding.severity == severity) {
      messages.push_back(std::to_string(finding.line) + ": " + finding.message);
    }
  }
  return messages;
}

class ShowIfCheckTest : public testing::Test {
 protected:
  CheckReport Check(const std::string& definition, const Targets& targets = {}) {
    medium_.WriteDefinition(definition);
    return CheckMenu(".", targets);
  }
  ScratchMedium medium_;
};

TEST_F(ShowIfCheckTest, EachEntryIsListedWhereItShowsWithWhatOnlyTheMachineAnswers) {
  medium_.Write("setup/x64.exe", "MZ");
  const CheckReport report = Check(Menu({
      {"'#show-if: windows >= 10", "'#show-if: x64", "Setup", "setup\\x64.exe"},
      {"'#show-if: missing %ProgramFiles%\\Tool", "'#show-if: windows", "Install", "$null$"},
      {"'#show-if: arm64", "ARM", "$null$"},
      {"Plain", "$null$"},
  }));
  ASSERT_EQ(report.show_if.size(), 3u);
  EXPECT_EQ(report.show_if[0].entry, 1);
  EXPECT_EQ(report.show_if[0].line, 6);
  ASSERT_EQ(report.show_if[0].places.size(), 1u);
  EXPECT_EQ(report.show_if[0].places[0].machine, "windows-x64");
  EXPECT_EQ(report.show_if[0].places[0].releases, (std::vector<std::string>{"10", "11"}));
  EXPECT_THAT(report.show_if[1].when, testing::ElementsAre("missing %ProgramFiles%\\Tool"));
  EXPECT_EQ(report.show_if[1].places.size(), 3u);  // every Windows machine, every release
  EXPECT_TRUE(report.show_if[1].places[0].releases.empty());
  EXPECT_EQ(report.show_if[2].places.size(), 2u);  // windows-arm64 and linux-arm64
  // Linux has no %ProgramFiles%: there the condition always holds, and the machine is not asked.
  const CheckReport on_linux = Check(Menu({{"'#show-if: missing %ProgramFiles%\\Tool",
                                            "'#show-if: no-key HKCU\\X", "Install", "$null$"}}),
                                     Targets(false, true));
  ASSERT_EQ(on_linux.show_if.size(), 1u);
  EXPECT_EQ(on_linux.show_if[0].places.size(), 2u);
  EXPECT_THAT(on_linux.show_if[0].when, IsEmpty());
  EXPECT_THAT(Messages(report, Severity::kNote),
              Contains("6: entry 1 is listed on windows-x64 (10, 11)"));
  EXPECT_THAT(Messages(report, Severity::kWarning), IsEmpty());

  const std::string json = FormatJson(report, "menu/config.mnu", ".");
  EXPECT_THAT(json, HasSubstr("\"show-if\": [\n    {\"entry\": 1, \"line\": 6, \"shows-on\": "
                              "[{\"machine\": \"windows-x64\", \"releases\": [\"10\", \"11\"]}], "
                              "\"when\": []}"));
  EXPECT_THAT(json, HasSubstr("\"when\": [\"missing %ProgramFiles%\\\\Tool\"]"));
}

TEST_F(ShowIfCheckTest, UnknownConditionsAndPathsOfTheMediumNotOnItAreWarnedOnTheirLine) {
  medium_.Write("setup/tool.exe", "MZ");
  medium_.Write("docs/readme.txt", "x");
  const std::vector<std::string> warnings = Messages(
      Check(Menu(
          {{"'#show-if: windows 10", "'#show-if: exists setup\\tool.exe", "'#show-if: exists docs",
            "'#show-if: exists setup\\gone.exe", "A", "$null$"},
           {"'#show-if: missing setup\\gone.exe", "'#show-if: exists %TEMP%\\x", "B", "$null$"}})),
      Severity::kWarning);
  EXPECT_THAT(warnings,
              Contains(AllOf(HasSubstr("4: '#show-if: \"windows 10\""),
                             HasSubstr("the menu does not know the condition, and it hides "
                                       "nothing"))));
  EXPECT_THAT(warnings, Contains(AllOf(HasSubstr("7: "), HasSubstr("setup\\gone.exe"),
                                       HasSubstr("not on the medium: the condition never holds"))));
  EXPECT_THAT(warnings, Contains(AllOf(HasSubstr("10: "), HasSubstr("always holds"))));
  EXPECT_THAT(warnings, Contains(HasSubstr("11: '#show-if: \"exists %TEMP%\\x\"")));
  EXPECT_THAT(warnings, Not(Contains(HasSubstr("5: "))));  // on the medium: a file
  EXPECT_THAT(warnings, Not(Contains(HasSubstr("6: "))));  // and a folder
  EXPECT_EQ(warnings.size(), 4u);
}

TEST_F(ShowIfCheckTest, ConditionsThatCannotHoldTogetherAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"'#show-if: windows", "'#show-if: linux"}, "windows and linux"},
      {{"'#show-if: x86", "'#show-if: arm64"}, "x86 and arm64"},
      {{"'#show-if: windows >= 10", "'#show-if: windows < 8"}, "windows >= 10 and windows < 8"},
      {{"'#show-if: linux", "'#show-if: x86"}, "linux and x86"},  // no Linux for x86 is named
      {{"'#show-if: x86", "'#show-if: windows = 11"}, "x86 and windows = 11"},
      {{"'#show-if: arm64", "'#show-if: windows <= 8.1"}, "arm64 and windows <= 8.1"},
      {{"'#show-if: exists %APPDATA%\\T", "'#show-if: missing %APPDATA%\\T"}, "missing"},
      {{"'#show-if: key HKLM\\Software\\T", "'#show-if: no-key HKLM\\Software\\T"}, "no-key"},
      {{"'#system: linux", "'#show-if: key HKLM\\Software\\T"}, "'#system: linux and key"},
      {{"'#system: windows", "'#show-if: exists ~/x"}, "exists ~/x"},
  };
  for (const auto& [lines, named] : cases) {
    std::vector<std::string> entry = lines;
    entry.insert(entry.end(), {"Never", "$null$"});
    const std::vector<std::string> warnings =
        Messages(Check(Menu({entry, {"Always", "$null$"}})), Severity::kWarning);
    EXPECT_THAT(warnings, Contains(AllOf(HasSubstr("entry 1 is never listed"), HasSubstr(named))))
        << named;
  }
  // Conditions that can hold together are not warned about.
  const std::vector<std::string> warnings = Messages(
      Check(Menu({{"'#show-if: windows < 10", "'#show-if: x86", "'#show-if: no-key HKCU\\X",
                   "'#show-if: missing %ProgramFiles%\\X", "Old", "$null$"},
                  {"Always", "$null$"}})),
      Severity::kWarning);
  EXPECT_THAT(warnings, IsEmpty());
}

TEST_F(ShowIfCheckTest, AMachineOrReleaseWhoseListShowsNoEntryIsNamedWithinTheTargets) {
  const std::string definition = Menu({{"'#show-if: x64", "'#show-if: windows >= 8", "A", "$null$"},
                                       {"'#show-if: x86", "B", "$null$"},
                                       {"'#show-if: linux", "C", "$null$"}});
  const std::vector<std::string> warnings = Messages(Check(definition), Severity::kWarning);
  EXPECT_THAT(warnings, Contains("0: the list on windows-x64 with Windows 7 shows no entry: the "
                                 "'#show-if: and '#system: lines hide every entry there"));
  EXPECT_THAT(warnings, Contains(HasSubstr("the list on windows-arm64 shows no entry")));
  EXPECT_THAT(warnings, Not(Contains(HasSubstr("windows-x86"))));
  EXPECT_THAT(warnings, Not(Contains(HasSubstr("linux-"))));

  // One machine checked: the others are not spoken of, and entries list it alone.
  Targets arm = ParseCommandLine({"--target=windows-arm64"}).targets;
  const CheckReport narrowed = Check(definition, arm);
  EXPECT_THAT(Messages(narrowed, Severity::kWarning),
              testing::ElementsAre(HasSubstr("the list on windows-arm64 shows no entry")));
  for (const ShowIfRecord& record : narrowed.show_if) EXPECT_TRUE(record.places.empty());
  Targets x64 = ParseCommandLine({"--target", "windows-x64"}).targets;
  const CheckReport on_x64 = Check(definition, x64);
  EXPECT_THAT(Messages(on_x64, Severity::kWarning),
              testing::ElementsAre(HasSubstr("windows-x64 with Windows 7")));
  ASSERT_EQ(on_x64.show_if[0].places.size(), 1u);
  EXPECT_EQ(on_x64.show_if[0].places[0].machine, "windows-x64");
}

TEST(ShowIfTargetTest, TheCommandLineNamesEachMachineAndTheSystemsStillMeanAllOfTheirs) {
  for (const CheckedMachine& machine : CheckedMachines()) {
    const CheckOptions options = ParseCommandLine({"--target=" + std::string(machine.name)});
    EXPECT_TRUE(options.problem.empty()) << machine.name;
    EXPECT_EQ(options.targets.for_windows, machine.system == System::kWindows);
    EXPECT_EQ(options.targets.for_linux, machine.system == System::kLinux);
    EXPECT_EQ(options.targets.architecture, machine.architecture);
  }
  const CheckOptions windows = ParseCommandLine({"--target=windows"});
  EXPECT_FALSE(windows.targets.architecture.has_value());
  EXPECT_FALSE(windows.targets.for_linux);
  const CheckOptions wrong = ParseCommandLine({"--target=linux-x86"});
  EXPECT_THAT(wrong.problem, HasSubstr("windows-arm64"));
}

}  // namespace
}  // namespace tolvar
