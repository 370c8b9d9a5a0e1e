// SystemProgramStart on the real system: a recording helper program started from a scratch medium,
// files that are no program, and the form's Launch over the real start.
#include "menu_window/system_program_start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "menu_form/menu_form.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/scratch_medium.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#endif

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using Values = std::vector<std::string>;
// What the recorder wrote: the values of each key, in the order written.
using Record = std::map<std::string, Values>;

#ifdef _WIN32
const std::string kExe = ".exe";
#else
const std::string kExe = "";
#endif

fs::path TestProgramDirectory() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  return fs::path(std::wstring(buffer, GetModuleFileNameW(nullptr, buffer, MAX_PATH)))
      .parent_path();
#else
  return fs::read_symlink("/proc/self/exe").parent_path();
#endif
}

// Copies the recorder, which the build puts beside this test program, to `relative` on the medium.
void PlaceRecorder(const ScratchMedium& medium, const std::string& relative) {
  const fs::path target = medium.root() / fs::u8path(relative);
  fs::create_directories(target.parent_path());
  fs::copy_file(TestProgramDirectory() / ("tolvar_start_recorder" + kExe), target);
}

// Tells the next recorder started where to write. It learns this from its environment, so a record
// that appears at all shows that the environment was passed on.
fs::path ExpectRecord(const ScratchMedium& medium, const std::string& name,
                      ScopedEnvironment& environment) {
  const fs::path record = medium.root() / (name + ".record");
  environment.Set("TOLVAR_START_RECORD", record.u8string());
  return record;
}

// The record, once the recorder has written it; empty if none came within 30 s (starting a
// process under Wine on a busy machine takes seconds). On Windows the file may be there a moment
// before it can be opened, while the recorder's move still holds it.
Record WaitForRecord(const fs::path& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  Record record;
  while (record.empty() && std::chrono::steady_clock::now() < deadline) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
      const size_t equals = line.find('=');
      if (equals != std::string::npos) {
        record[line.substr(0, equals)].push_back(line.substr(equals + 1));
      }
    }
    if (record.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return record;
}

bool SameFile(const Values& values, const fs::path& expected) {
  std::error_code error;
  return values.size() == 1 && fs::equivalent(fs::u8path(values[0]), expected, error);
}

SystemProgramStart::DesktopOpen RecordingDesktop(Values* opened, Result answer = Result::Ok()) {
  return [opened, answer](const std::string& path) {
    opened->push_back(path);
    return answer;
  };
}

#ifndef _WIN32
// How many children this process has, running or not yet reaped, as /proc lists them.
int CountChildren() {
  int count = 0;
  std::error_code error;
  for (fs::directory_iterator entry("/proc", error), end; !error && entry != end;
       entry.increment(error)) {
    std::ifstream stat(entry->path() / "stat");
    std::string text;
    if (!std::getline(stat, text)) continue;
    // The command name, in parentheses, may hold blanks; the fields after it do not.
    const size_t close = text.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(text.substr(close + 1));
    char state;
    pid_t parent;
    if (fields >> state >> parent && parent == getpid()) ++count;
  }
  return count;
}

// True once every child has ended and been reaped; false if one is left after 10 s.
bool NoChildRemains() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (CountChildren() > 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
#endif

TEST(SystemProgramStartTest, StartsExactlyTheNamedProgramFromTheMenusDirectory) {
  ScratchMedium medium;
  ScopedEnvironment environment;
  PlaceRecorder(medium, "disk 1/setup" + kExe);
  // What a start that split the path at its blank would run instead.
  PlaceRecorder(medium, "disk" + kExe);
  PlaceRecorder(medium, "run" + kExe);
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));

  fs::path expected = ExpectRecord(medium, "setup", environment);
  ASSERT_TRUE(start.Start("disk 1\\setup" + kExe).ok);
  Record record = WaitForRecord(expected);
  ASSERT_FALSE(record.empty()) << "the program did not start";
  EXPECT_TRUE(SameFile(record["exe"], medium.root() / "disk 1" / ("setup" + kExe)))
      << testing::PrintToString(record["exe"]);
  EXPECT_TRUE(SameFile(record["cwd"], medium.root())) << testing::PrintToString(record["cwd"]);
#ifdef _WIN32
  EXPECT_EQ(record["command_line"], Values{"\"disk 1\\setup.exe\""});
  EXPECT_EQ(record["use_show_window"], Values{"1"});
  EXPECT_EQ(record["show_window"], Values{"2"});  // minimised and active
#else
  EXPECT_EQ(record["arg"], Values{"disk 1/setup"});
  // A session of its own, which the menu's end or its terminal's hang-up does not reach.
  EXPECT_EQ(record["sid"], record["pid"]);
  EXPECT_NE(record["sid"], Values{std::to_string(getsid(0))});
#endif

  // A bare name is the file in the current directory.
  expected = ExpectRecord(medium, "run", environment);
  ASSERT_TRUE(start.Start("run" + kExe).ok);
  record = WaitForRecord(expected);
  ASSERT_FALSE(record.empty()) << "the program did not start";
  EXPECT_TRUE(SameFile(record["exe"], medium.root() / ("run" + kExe)));
#ifdef _WIN32
  EXPECT_EQ(record["command_line"], Values{"\"run.exe\""});
#else
  EXPECT_EQ(record["arg"], Values{"./run"});
  EXPECT_TRUE(NoChildRemains()) << "a started program was left a zombie";
#endif
  EXPECT_TRUE(opened.empty());
}

#ifndef _WIN32
// Makes `path` this process's standard input until it goes, so that a child that inherited the
// menu's could be told from one given /dev/null, whatever the test runner gave this process.
class ScopedStandardInput {
 public:
  explicit ScopedStandardInput(const fs::path& path) : saved_(dup(STDIN_FILENO)) {
    const int file = open(path.c_str(), O_RDONLY | O_CREAT, 0600);
    dup2(file, STDIN_FILENO);
    close(file);
  }
  ~ScopedStandardInput() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }
  ScopedStandardInput(const ScopedStandardInput&) = delete;
  ScopedStandardInput& operator=(const ScopedStandardInput&) = delete;

 private:
  int saved_;
};

TEST(SystemProgramStartTest, StartsWithTheSplitWordsInTheNamedFolderWithNothingToRead) {
  ScratchMedium medium;
  ScopedEnvironment environment;
  PlaceRecorder(medium, "disk 1/setup");
  fs::create_directories(medium.root() / "Programs" / "sub");
  ScopedStandardInput input(medium.root() / "typed");
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));

  // The folder is spelled as the menu file writes it, in other letter case; the program's path
  // still names it from the menu's folder.
  const fs::path expected = ExpectRecord(medium, "setup", environment);
  const LaunchRequest request{"disk 1\\setup", R"(/S "C:\Program Files\x" a\\"b Zoë" "" end\"q)",
                              "programs\\SUB", false};
  ASSERT_TRUE(start.Start(request).ok);
  Record record = WaitForRecord(expected);
  ASSERT_FALSE(record.empty()) << "the program did not start";
  EXPECT_EQ(record["arg"], (Values{(fs::current_path() / "disk 1" / "setup").string(), "/S",
                                   R"(C:\Program Files\x)", R"(a\b Zoë)", "", R"(end"q)"}));
  EXPECT_TRUE(SameFile(record["cwd"], medium.root() / "Programs" / "sub"))
      << testing::PrintToString(record["cwd"]);
  EXPECT_EQ(record["stdin"], Values{"/dev/null"});
  EXPECT_TRUE(opened.empty());
}

TEST(SystemProgramStartTest, AProgramTheMediumGaveNoExecutePermissionStillStarts) {
  // As on a FAT32 stick or an image without Rock Ridge: the bits are gone, the files are programs.
  ScratchMedium medium;
  ScopedEnvironment environment;
  PlaceRecorder(medium, "setup");
  const std::string recorder = (TestProgramDirectory() / "tolvar_start_recorder").string();
  medium.Write("install.sh", "#!/bin/sh -e\nexec '" + recorder + "' from-script \"$@\"\n");
  medium.Write("notes.txt", "#! is only a document's first words here\n");
  for (const char* name : {"setup", "install.sh", "notes.txt"}) {
    fs::permissions(name, fs::perms::owner_read | fs::perms::group_read);
  }
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));

  fs::path expected = ExpectRecord(medium, "elf", environment);
  ASSERT_TRUE(start.Start(LaunchRequest{"setup", "a \"b c\"", "", false}).ok);
  Record record = WaitForRecord(expected);
  ASSERT_FALSE(record.empty()) << "the program without its bit did not start";
  EXPECT_EQ(record["arg"], (Values{"./setup", "a", "b c"}));

  expected = ExpectRecord(medium, "script", environment);
  ASSERT_TRUE(start.Start(LaunchRequest{"install.sh", "x", "", false}).ok);
  record = WaitForRecord(expected);
  ASSERT_FALSE(record.empty()) << "the script without its bit did not start";
  EXPECT_EQ(record["arg"], (Values{recorder, "from-script", "x"}));

  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(start.Start("notes.txt").ok);
  EXPECT_EQ(opened, Values{"./notes.txt"});
}

TEST(SystemProgramStartTest, AFolderThatIsNoneStartsNothingAndIsNamed) {
  ScratchMedium medium;
  ScopedEnvironment environment;
  PlaceRecorder(medium, "setup");
  medium.Write("programs/readme.txt", "text\n");
  const fs::path locked = medium.root() / "locked";
  fs::create_directories(locked);
  fs::permissions(locked, fs::perms::owner_read);
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));
  const fs::path expected = ExpectRecord(medium, "setup", environment);

  Values folders = {"programs\\missing", "programs\\readme.txt"};
  // One it may not enter; root enters every folder.
  if (geteuid() != 0) folders.push_back("locked");
  for (const std::string& folder : folders) {
    const Result result = start.Start(LaunchRequest{"setup", "", folder, false});
    EXPECT_FALSE(result.ok) << folder;
    EXPECT_NE(result.reason.find("\"" + folder + "\""), std::string::npos) << result.reason;
  }
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(opened.empty()) << "a folder it cannot enter is no document";
  // Had one of them started, its record would be there by the time the next start's is.
  ExpectRecord(medium, "control", environment);
  ASSERT_TRUE(start.Start("setup").ok);
  EXPECT_FALSE(WaitForRecord(medium.root() / "control.record").empty());
  EXPECT_FALSE(fs::exists(expected));
}
#endif

TEST(SystemProgramStartTest, AFileThatIsNoProgramGoesToTheDesktop) {
  ScratchMedium medium;
  medium.Write("docs/read me.txt", "Read me first.\n");  // not executable on POSIX
  medium.Write("setup.exe", "no format this system runs\n");
  fs::permissions("setup.exe", fs::perms::owner_all);
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));

  EXPECT_TRUE(start.Start("docs\\read me.txt").ok);
  EXPECT_TRUE(start.Start("setup.exe").ok);
#ifdef _WIN32
  EXPECT_EQ(opened, (Values{"docs\\read me.txt", "setup.exe"}));
#else
  EXPECT_EQ(opened, (Values{"docs/read me.txt", "./setup.exe"}));
#endif

  // When the desktop cannot open it either, the failure says why.
  SystemProgramStart refused(RecordingDesktop(&opened, Result::Failure("no application for it")));
  const Result result = refused.Start("docs\\read me.txt");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.no_application);
  EXPECT_NE(result.reason.find("no application for it"), std::string::npos) << result.reason;
}

#ifndef _WIN32
// Opens `document` on a desktop with no applications at all, so that nothing real can open it, and
// ends this process: with 0 when the failure says that no application is there, with the system's
// reason and the desktop's.
[[noreturn]] void OpenOnAnEmptyDesktop(const ScratchMedium& medium, const std::string& document) {
  const std::string empty = (medium.root() / "no-desktop").string();
  fs::create_directories(empty);
  ScopedEnvironment desktop;
  for (const char* name :
       {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
    desktop.Set(name, empty);
  }
  const Result result = SystemProgramStart().Start(document);
  const std::string refused = std::string(std::strerror(EACCES)) + "; ";
  const bool expected = !result.ok && result.no_application &&
                        result.reason.rfind(refused, 0) == 0 &&
                        result.reason.size() > refused.size();
  std::fprintf(stderr, "ok=%d reason=%s\n", result.ok ? 1 : 0, result.reason.c_str());
  // The exit skips the destructors, and with them the medium's removal.
  std::error_code ignored;
  fs::remove_all(medium.root(), ignored);
  std::exit(expected ? 0 : 1);
}
#endif

// The form says so in the menu's language, rather than the system's reason, which reads as a
// broken medium.
TEST(SystemProgramStartTest, ADocumentNoApplicationOpensIsAFailureThatSaysSo) {
  ScratchMedium medium;
#ifdef _WIN32
  const std::string document = "data.tolvar-unregistered";
  medium.Write(document, "text\n");
  const Result result = SystemProgramStart().Start(document);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.no_application);
  EXPECT_NE(result.reason.find("associated"), std::string::npos) << result.reason;
#else
  // GLib reads the desktop's directories once per process and keeps them: the empty desktop is set
  // up in a process of its own, or every test after this one would run on it too. "threadsafe"
  // starts that process afresh rather than forking this one with GLib's threads in it.
  medium.Write("notes.txt", "text\n");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(OpenOnAnEmptyDesktop(medium, "notes.txt"), testing::ExitedWithCode(0), "");
#endif
}

TEST(SystemProgramStartTest, APatternThatPassesTheExistenceTestWarnsAndTheMenuGoesOn) {
  ScratchMedium medium;
  ScopedEnvironment environment;
  PlaceRecorder(medium, "setup/app" + kExe);
  medium.WriteDefinition("T\r\n$null$\r\n2\r\nPattern\r\nsetup\\*" + kExe +
                         "\r\nSetup\r\nsetup\\app" + kExe + "\r\n");
  FakeMenuView view;
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));
  MenuForm form(view, start, ".", System::kLinux);
  view.Attach(&form);
  form.OnLoad();

  view.UserSelects(1);
  view.calls.clear();
  form.OnGoBoxClick();
  ASSERT_EQ(view.calls.size(), 1u);
  const std::string warning =
      "Warn Kestova: Can't start \"setup\\*" + kExe + "\": ";  // as the menu file writes it
  EXPECT_EQ(view.calls[0].rfind(warning, 0), 0u) << view.calls[0];
  EXPECT_GT(view.calls[0].size(), warning.size()) << "no reason given";
  EXPECT_TRUE(opened.empty());

  view.UserSelects(2);
  const fs::path expected = ExpectRecord(medium, "app", environment);
  form.OnGoBoxClick();
  EXPECT_FALSE(WaitForRecord(expected).empty()) << "the menu did not go on";
  EXPECT_EQ(view.calls.size(), 1u);
}

#ifdef _WIN32
TEST(SystemProgramStartTest, ABatchFileCmdWouldReadAsAnotherNameIsNotStarted) {
  ScratchMedium medium;
  // cmd.exe would expand %OS% and run this one instead.
  medium.Write("Windows_NT.bat", "@echo started > started.txt\r\n");
  medium.Write("%OS%.bat", "@echo off\r\n");
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));
  const Result result = start.Start("%OS%.bat");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.reason.find("batch file"), std::string::npos) << result.reason;
  EXPECT_TRUE(opened.empty());
}

TEST(SystemProgramStartTest, ABatchFileIsKnownByTheNameWindowsOpens) {
  ScratchMedium medium;
  medium.Write("setup.bat", "@echo %1> started.txt\r\n");
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));
  // Windows drops the dots and blanks at the end of a name and runs setup.bat through cmd.exe,
  // which would expand the arguments.
  for (const std::string path : {"setup.bat.", "setup.bat. ."}) {
    const Result result = start.Start(LaunchRequest{path, "%TEMP%", "", false});
    EXPECT_FALSE(result.ok) << path;
    EXPECT_NE(result.reason.find("batch file"), std::string::npos) << result.reason;
  }
  EXPECT_TRUE(opened.empty());
}

TEST(SystemProgramStartTest, AStartFolderThatIsNoFolderIsAFailureThatNamesIt) {
  ScratchMedium medium;
  PlaceRecorder(medium, "setup.exe");
  medium.Write("programs/readme.txt", "not a folder\r\n");
  Values opened;
  SystemProgramStart start(RecordingDesktop(&opened));
  for (const std::string folder : {"programs\\missing", "programs\\readme.txt"}) {
    const Result result = start.Start(LaunchRequest{"setup.exe", "", folder, false});
    EXPECT_FALSE(result.ok) << folder;
    EXPECT_NE(result.reason.find("\"" + folder + "\""), std::string::npos) << result.reason;
  }
  EXPECT_TRUE(opened.empty());
}
#endif

}  // namespace
}  // namespace tolvar
