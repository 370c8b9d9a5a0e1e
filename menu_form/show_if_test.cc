// "'#show-if:": the grammar of a condition, what each holds on the machines it names, and the form
// that lists an entry only where all of its conditions hold, while the entry still counts.
#include "menu_form/show_if.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "menu_form/directive_interpreter.h"
#include "menu_form/menu_form.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

// A machine described by its fields; it records every path and key it is asked about.
class FakeFacts : public SystemFacts {
 public:
  System system = System::kWindows;
  WindowsRelease release = WindowsRelease::k10;
  Architecture machine = Architecture::kX64;
  std::set<std::string> paths;
  std::set<std::string> keys;  // "HKLM\\Software\\X"
  std::map<std::string, std::string> folders;
  mutable std::vector<std::string> asked;

  System OnSystem() const override { return system; }
  WindowsRelease Release() const override { return release; }
  Architecture Machine() const override { return machine; }
  bool PathExists(const std::string& path) const override {
    asked.push_back(path);
    return paths.count(path) != 0;
  }
  bool KeyExists(RegistryRoot root, const std::string& subkey) const override {
    const std::string key = (root == RegistryRoot::kLocalMachine ? "HKLM\\" : "HKCU\\") + subkey;
    asked.push_back(key);
    return keys.count(key) != 0;
  }
  std::string NamedFolder(std::string_view name) const override {
    const auto found = folders.find(std::string(name));
    return found == folders.end() ? "" : found->second;
  }
};

TEST(ShowIfGrammarTest, EachKnownConditionReadsAsItsCanonicalText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"windows", "windows"},
      {"linux  ", "linux"},
      {"windows >= 10", "windows >= 10"},
      {"windows>=10", "windows >= 10"},
      {"windows < 8.1", "windows < 8.1"},
      {"windows <= 7", "windows <= 7"},
      {"windows = 11", "windows = 11"},
      {"windows\t>\t8", "windows > 8"},
      {"x86", "x86"},
      {"x64", "x64"},
      {"arm64", "arm64"},
      {"exists setup\\x64\\install.exe", "exists setup\\x64\\install.exe"},
      {"missing %ProgramFiles%\\Tool\\tool.exe", "missing %ProgramFiles%\\Tool\\tool.exe"},
      {"exists ~/.config/tool", "exists ~/.config/tool"},
      {"key HKLM\\Software\\Tool", "key HKLM\\Software\\Tool"},
      {"no-key hkey_current_user\\Software\\Tool\\", "no-key HKCU\\Software\\Tool"},
  };
  for (const auto& [text, canonical] : cases) {
    const Expected<Condition> condition = ParseCondition(text);
    ASSERT_TRUE(condition) << text << ": " << condition.reason();
    EXPECT_EQ(ConditionText(condition.value()), canonical) << text;
  }
}

TEST(ShowIfGrammarTest, WhatItDoesNotKnowIsRefusedWithAReason) {
  for (const char* text : {"",
                           "Windows",
                           "macos",
                           "windows 10",
                           "windows >= 9",
                           "windows => 10",
                           "windows == 10",
                           "windows >= 10 and x64",
                           "linux >= 5",
                           "x64 only",
                           "amd64",
                           "exists",
                           "missing   ",
                           "exists %TEMP%\\x",
                           "exists %ProgramFiles",
                           "exists \\\\server\\share\\x",
                           "missing //server/share/x",
                           "exists \\\\?\\C:\\x",
                           "exists \\\\.\\pipe\\x",
                           "key HKCR\\x",
                           "key HKLM",
                           "key HKLM\\",
                           "no-key Software\\Tool"}) {
    const Expected<Condition> condition = ParseCondition(text);
    EXPECT_FALSE(condition) << text;
    if (!condition) {
      EXPECT_FALSE(condition.reason().empty()) << text;
    }
  }
}

TEST(ShowIfGrammarTest, OnlyRelativePathsAreTheMediums) {
  EXPECT_TRUE(ParseCondition("exists setup.exe")->on_medium);
  EXPECT_TRUE(ParseCondition("exists ~user/x")->on_medium);  // "~" alone is the home folder
  for (const char* text : {"exists C:\\Tool", "exists /opt/tool", "exists \\Tool",
                           "exists %APPDATA%\\Tool", "exists ~", "exists ~\\x"}) {
    EXPECT_FALSE(ParseCondition(text)->on_medium) << text;
  }
}

TEST(ShowIfEvaluationTest, WindowsVersionsAreReleasesAndElevenBeginsAtBuild22000) {
  EXPECT_EQ(ReleaseOf(6, 0, 6002), WindowsRelease::kOlder);
  EXPECT_EQ(ReleaseOf(5, 1, 2600), WindowsRelease::kOlder);
  EXPECT_EQ(ReleaseOf(6, 1, 7601), WindowsRelease::k7);
  EXPECT_EQ(ReleaseOf(6, 2, 9200), WindowsRelease::k8);
  EXPECT_EQ(ReleaseOf(6, 3, 9600), WindowsRelease::k81);
  EXPECT_EQ(ReleaseOf(10, 0, 19045), WindowsRelease::k10);
  EXPECT_EQ(ReleaseOf(10, 0, 21999), WindowsRelease::k10);
  EXPECT_EQ(ReleaseOf(10, 0, 22000), WindowsRelease::k11);
  EXPECT_EQ(ReleaseOf(10, 0, 26100), WindowsRelease::k11);
}

TEST(ShowIfEvaluationTest, SystemReleaseAndArchitectureHoldOnlyWhereTheySay) {
  FakeFacts win7_x86;
  win7_x86.release = WindowsRelease::k7;
  win7_x86.machine = Architecture::kX86;
  FakeFacts win11_arm;
  win11_arm.release = WindowsRelease::k11;
  win11_arm.machine = Architecture::kArm64;
  FakeFacts linux_x64;
  linux_x64.system = System::kLinux;
  // Each condition with where it holds: Windows 7 x86, Windows 11 ARM64, Linux x64.
  const std::vector<std::pair<std::string, std::vector<bool>>> cases = {
      {"windows", {true, true, false}},
      {"linux", {false, false, true}},
      {"windows >= 10", {false, true, false}},
      {"windows < 10", {true, false, false}},  // never on Linux: it speaks of Windows
      {"windows <= 7", {true, false, false}},
      {"windows = 11", {false, true, false}},
      {"windows > 8.1", {false, true, false}},
      {"x86", {true, false, false}},
      {"x64", {false, false, true}},
      {"arm64", {false, true, false}},
  };
  for (const auto& [text, holds] : cases) {
    const Condition condition = ParseCondition(text).value();
    EXPECT_EQ(Holds(condition, win7_x86), holds[0]) << text << " on Windows 7 x86";
    EXPECT_EQ(Holds(condition, win11_arm), holds[1]) << text << " on Windows 11 ARM64";
    EXPECT_EQ(Holds(condition, linux_x64), holds[2]) << text << " on Linux x64";
  }
}

TEST(ShowIfEvaluationTest, PathsAreTheMediumsAbsoluteOrUnderANamedFolderOfTheirSystem) {
  FakeFacts windows;
  windows.folders = {{"%ProgramFiles%", "C:\\Program Files"}};
  windows.paths = {"setup\\x.exe", "C:\\Program Files\\Tool", "D:\\data"};
  FakeFacts linux_machine;
  linux_machine.system = System::kLinux;
  linux_machine.folders = {{"~", "/home/ann"}};
  linux_machine.paths = {"setup\\x.exe", "/home/ann/.tool", "/opt/tool"};

  const auto holds = [](std::string_view text, const FakeFacts& facts) {
    return Holds(ParseCondition(text).value(), facts);
  };
  EXPECT_TRUE(holds("exists setup\\x.exe", windows));
  EXPECT_TRUE(holds("exists setup\\x.exe", linux_machine));
  EXPECT_FALSE(holds("missing setup\\x.exe", windows));
  EXPECT_TRUE(holds("exists %programfiles%\\Tool", windows));  // as Windows' variables: any case
  EXPECT_TRUE(holds("exists D:\\data", windows));
  EXPECT_TRUE(holds("missing %ProgramFiles%\\Other", windows));
  EXPECT_TRUE(holds("exists ~/.tool", linux_machine));
  EXPECT_TRUE(holds("exists /opt/tool", linux_machine));

  // A named folder of the other system, or one this machine does not have, is never looked up.
  windows.asked.clear();
  linux_machine.asked.clear();
  EXPECT_FALSE(holds("exists ~/.tool", windows));
  EXPECT_TRUE(holds("missing ~/.tool", windows));
  EXPECT_FALSE(holds("exists %ProgramFiles%\\Tool", linux_machine));
  EXPECT_FALSE(holds("exists %ProgramData%\\Tool", windows));
  EXPECT_TRUE(windows.asked.empty());
  EXPECT_TRUE(linux_machine.asked.empty());
}

TEST(ShowIfEvaluationTest, AFolderThatIsAShareIsNeverLookedUp) {
  // A roaming profile puts %APPDATA% on a server; a lookup there would hand it the user's
  // credentials.
  FakeFacts windows;
  windows.folders = {{"%APPDATA%", "\\\\server\\profiles\\ann"}, {"%LOCALAPPDATA%", "//server/x"}};
  EXPECT_FALSE(Holds(ParseCondition("exists %APPDATA%\\Tool").value(), windows));
  EXPECT_TRUE(Holds(ParseCondition("missing %APPDATA%\\Tool").value(), windows));
  EXPECT_FALSE(Holds(ParseCondition("exists %LOCALAPPDATA%\\Tool").value(), windows));
  EXPECT_TRUE(windows.asked.empty());
}

TEST(ShowIfEvaluationTest, RegistryKeysAreAskedOnWindowsAloneAndNeverHoldElsewhere) {
  FakeFacts windows;
  windows.keys = {"HKLM\\Software\\Tool", "HKCU\\Software\\Mine"};
  FakeFacts linux_machine;
  linux_machine.system = System::kLinux;
  linux_machine.keys = windows.keys;  // even a machine that would answer is not asked
  const auto holds = [](std::string_view text, const FakeFacts& facts) {
    return Holds(ParseCondition(text).value(), facts);
  };
  EXPECT_TRUE(holds("key HKLM\\Software\\Tool", windows));
  EXPECT_FALSE(holds("key HKCU\\Software\\Tool", windows));
  EXPECT_TRUE(holds("key HKEY_CURRENT_USER\\Software\\Mine", windows));
  EXPECT_FALSE(holds("no-key HKLM\\Software\\Tool", windows));
  EXPECT_TRUE(holds("no-key HKLM\\Software\\Other", windows));
  EXPECT_FALSE(holds("key HKLM\\Software\\Tool", linux_machine));
  EXPECT_TRUE(holds("no-key HKLM\\Software\\Tool", linux_machine));
  EXPECT_TRUE(linux_machine.asked.empty());
}

TEST(ShowIfEvaluationTest, AllConditionsMustHoldAndUnknownOnesHideNothing) {
  FakeFacts windows;
  windows.paths = {"tool.exe"};
  EXPECT_TRUE(ShowIfHolds("", windows));
  EXPECT_TRUE(ShowIfHolds("windows\nx64\nexists tool.exe", windows));
  EXPECT_FALSE(ShowIfHolds("windows\nx64\nmissing tool.exe", windows));
  EXPECT_FALSE(ShowIfHolds("linux\nx64", windows));
  EXPECT_TRUE(ShowIfHolds("amiga\nwindows 10", windows));
  EXPECT_FALSE(ShowIfHolds("amiga\narm64", windows));
}

TEST(ShowIfInterpreterTest, EveryLineIsKeptWithoutOverridingUpToTheBound) {
  DirectiveInterpreter interpreter;
  const auto take = [&](std::string_view text, int64_t line) {
    Directive directive = ParseDirective(text);
    directive.place = DirectivePlace::kEntry;
    directive.entry = 1;
    directive.line = line;
    return interpreter.Take(directive);
  };
  EXPECT_EQ(take("'#show-if: windows", 1).first_line, 0);
  const DirectiveJudgement second = take("'#show-if: x64", 2);
  EXPECT_EQ(second.verdict, DirectiveVerdict::kTaken);
  EXPECT_EQ(second.first_line, 0);  // no override: both hold
  EXPECT_EQ(interpreter.ForEntry(1).ShowIf, "windows\nx64");
  for (int64_t line = 3; line <= static_cast<int64_t>(kMostLinesKept); ++line) {
    EXPECT_EQ(take("'#show-if: x64", line).verdict, DirectiveVerdict::kTaken);
  }
  EXPECT_EQ(take("'#show-if: linux", 100).verdict, DirectiveVerdict::kBeyondLinesKept);
  EXPECT_EQ(ShowIfValues(interpreter.ForEntry(1).ShowIf).size(), kMostLinesKept);
}

TEST(ShowIfFormTest, AHiddenEntryStillCountsAndTheOthersKeepTheirPlaces) {
  ScratchMedium medium;
  medium.Write("driver\\win7.inf", "x");
  medium.Write("tool.exe", "x");
  medium.WriteDefinition(
      "T\n$null$\n4\n"
      "'#show-if: windows < 10\n'#show-if: exists driver\\win7.inf\nDriver\ntool.exe\n"
      "'#show-if: arm64\nARM\ntool.exe\n"
      "'#show-if: missing tool.exe\nInstall\ntool.exe\n"
      "'#show-if: exists tool.exe\n'#arguments: /start\nStart\ntool.exe\n");
  FakeFacts win10_x64;
  win10_x64.paths = {"tool.exe", "driver\\win7.inf"};
  FakeMenuView view;
  FakeProgramStart starter;
  MenuForm form(view, starter, ".", System::kWindows, {}, &win10_x64);
  view.Attach(&form);
  form.OnLoad();
  EXPECT_EQ(view.items, (std::vector<std::string>{"Please Select...", "Start"}));
  view.UserSelects(1);
  form.OnGoBoxClick();
  ASSERT_EQ(starter.requests.size(), 1u);
  EXPECT_EQ(starter.requests[0].arguments, "/start");

  FakeFacts win7_arm = win10_x64;  // no such machine, which is what shows every condition alone
  win7_arm.release = WindowsRelease::k7;
  win7_arm.machine = Architecture::kArm64;
  win7_arm.paths = {"driver\\win7.inf"};
  FakeMenuView view7;
  MenuForm form7(view7, starter, ".", System::kWindows, {}, &win7_arm);
  view7.Attach(&form7);
  form7.OnLoad();
  EXPECT_EQ(view7.items,
            (std::vector<std::string>{"Please Select...", "Driver", "ARM", "Install"}));
}

}  // namespace
}  // namespace tolvar
