// MachineFacts on the machine the tests run on: real files and folders in a scratch medium, the
// real registry (Wine's, for the Windows build), the environment set for one test and put back.
#include "menu_window/machine_facts.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scoped_environment.h"
#include "tests/support/scratch_medium.h"

#ifndef _WIN32
#include <sys/utsname.h>
#endif

namespace tolvar {
namespace {

TEST(MachineFactsTest, FilesAndFoldersOfTheMediumAreThereAndSharesAndNulNeverAre) {
  ScratchMedium medium;
  medium.Write("setup/tool.exe", "MZ");
  const MachineFacts facts;
  EXPECT_TRUE(facts.PathExists("setup\\tool.exe"));
  EXPECT_TRUE(facts.PathExists("setup"));  // a folder counts
  EXPECT_FALSE(facts.PathExists("setup\\gone.exe"));
  EXPECT_TRUE(facts.PathExists("SETUP\\TOOL.EXE"));  // letter case as Windows ignores it
  for (const std::string& path :
       {std::string(), std::string("setup\0x", 8), std::string("\\\\server\\share\\x"),
        std::string("//server/share/x")}) {
    EXPECT_FALSE(facts.PathExists(path)) << path;
  }
}

#ifdef _WIN32

TEST(MachineFactsTest, WindowsAnswersItsReleaseArchitectureKeysAndFolders) {
  const MachineFacts facts;
  EXPECT_EQ(facts.OnSystem(), System::kWindows);
  EXPECT_NE(facts.Release(), WindowsRelease::kOlder);
  if (sizeof(void*) == 8) {
    EXPECT_NE(facts.Machine(), Architecture::kX86);  // a 64-bit program runs on a 64-bit machine
  }
  EXPECT_NE(facts.Machine(), Architecture::kOther);
  EXPECT_TRUE(facts.KeyExists(RegistryRoot::kLocalMachine, "Software\\Microsoft"));
  EXPECT_FALSE(facts.KeyExists(RegistryRoot::kLocalMachine, "Software\\No Such Tolvar Key"));
  EXPECT_FALSE(facts.KeyExists(RegistryRoot::kCurrentUser, "Software\\No Such Tolvar Key"));
  const std::string system_root = facts.NamedFolder("%SystemRoot%");
  ASSERT_FALSE(system_root.empty());
  EXPECT_TRUE(facts.PathExists(system_root + "\\System32"));
  EXPECT_FALSE(facts.PathExists(system_root + "\\NUL"));  // a device is in every folder
  EXPECT_EQ(facts.NamedFolder("%NoSuchTolvarFolder%"), "");
}

TEST(MachineFactsTest, ProgramFilesIsTheMachinesOwnWhereWindowsNamesIt) {
  ScopedEnvironment environment;
  environment.Set("ProgramFiles", "C:\\Program Files (x86)");
  environment.Set("ProgramW6432", "C:\\Program Files");
  const MachineFacts facts;
  EXPECT_EQ(facts.NamedFolder("%ProgramFiles%"), "C:\\Program Files");
  EXPECT_EQ(facts.NamedFolder("%ProgramFiles(x86)%"), facts.NamedFolder("%PROGRAMFILES(X86)%"));
}

#else

TEST(MachineFactsTest, LinuxAnswersItsArchitectureFromUnameAndHasNoRegistry) {
  const MachineFacts facts;
  EXPECT_EQ(facts.OnSystem(), System::kLinux);
  utsname names;
  ASSERT_EQ(uname(&names), 0);
  const std::string machine = names.machine;
  const Architecture expected = machine == "x86_64"    ? Architecture::kX64
                                : machine == "aarch64" ? Architecture::kArm64
                                                       : facts.Machine();
  EXPECT_EQ(facts.Machine(), expected);
  EXPECT_FALSE(facts.KeyExists(RegistryRoot::kLocalMachine, "Software"));
  EXPECT_EQ(facts.NamedFolder("%ProgramFiles%"), "");
}

TEST(MachineFactsTest, TheHomeFolderIsHomeWhenItIsAbsolute) {
  ScopedEnvironment environment;
  const MachineFacts facts;
  environment.Set("HOME", "/home/ann");
  EXPECT_EQ(facts.NamedFolder("~"), "/home/ann");
  environment.Set("HOME", "relative");  // would look on the medium
  EXPECT_EQ(facts.NamedFolder("~"), "");
  environment.Set("HOME", "");
  EXPECT_EQ(facts.NamedFolder("~"), "");
}

#endif

}  // namespace
}  // namespace tolvar
