// Programs of one system listed on the other, in the menu file's check of a real medium folder:
// the entry's '#system: and the checker's --target decide which lists count.
#include "menu_check/checks/system_fit_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

// The warnings of the menu check, as "LINE message".
std::vector<std::string> Warnings(const Targets& targets) {
  std::vector<std::string> found;
  for (const Finding& f : CheckMenu(".", targets).findings) {
    if (f.severity == Severity::kWarning) found.push_back(std::to_string(f.line) + " " + f.message);
  }
  return found;
}

TEST(SystemFitCheckTest, ProgramsOfOneSystemListedOnTheOther) {
  ScratchMedium medium;
  for (const char* file : {"setup.exe", "tools/Install.MSI", "run.bat", "go.Cmd", "old.com",
                           "install.sh", "readme.txt", "win/setup.exe", "lin/install.sh"}) {
    medium.Write(file, "#!/bin/sh\n");
  }
  std::error_code ignored;
  std::filesystem::permissions(medium.root() / "install.sh", std::filesystem::perms::owner_all,
                               ignored);
  std::filesystem::permissions(medium.root() / "lin/install.sh", std::filesystem::perms::owner_all,
                               ignored);
  // Lines: entry i's command on 2i + 3, a directive line before entries 8 and 9.
  medium.WriteDefinition(
      "T\n$null$\n9\nA\nsetup.exe\nB\ntools\\Install.MSI\nC\nrun.bat\nD\ngo.Cmd\nE\nold.com\n"
      "F\ninstall.sh\nG\nreadme.txt\n'#system: windows\nH\nwin\\setup.exe\n'#system: linux\n"
      "I\nlin/install.sh\n");
  const auto windows_program = [](int line, const std::string& command) {
    return HasSubstr(std::to_string(line) + " entry " + std::to_string((line - 3) / 2) + ": \"" +
                     command + "\" is a Windows program, but the entry is listed on Linux too");
  };
  const auto shell_script = HasSubstr(
      "15 entry 6: \"install.sh\" is a shell script for Linux, but "
      "the entry is listed on Windows too");
  EXPECT_THAT(Warnings(Targets{}),
              ElementsAre(windows_program(5, "setup.exe"), windows_program(7, "tools\\Install.MSI"),
                          windows_program(9, "run.bat"), windows_program(11, "go.Cmd"),
                          windows_program(13, "old.com"), shell_script));
  // Only the lists checked for count.
  EXPECT_THAT(Warnings(Targets{true, false}), ElementsAre(shell_script));
  EXPECT_THAT(Warnings(Targets{false, true}),
              ElementsAre(windows_program(5, "setup.exe"), windows_program(7, "tools\\Install.MSI"),
                          windows_program(9, "run.bat"), windows_program(11, "go.Cmd"),
                          windows_program(13, "old.com")));

  // Links and keywords name no program; a name with no extension or another one is left alone.
  for (const char* command : {"https://example.org/setup.exe", "$exit$", "$null$", "setup",
                              "setup.exe.txt", "dir.sh\\readme"}) {
    EXPECT_THAT(OtherSystemsProgram(command, Targets{}), IsEmpty()) << command;
  }
}

}  // namespace
}  // namespace tolvar
