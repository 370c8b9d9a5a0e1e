// libFuzzer target: arbitrary bytes as menu/config.mnu, read by the real loading sequence from a
// real file, then every selection followed by Launch, with a fake window and a fake program start.
// It checks what must hold whatever a medium holds, and reads every input a second time with a long
// comment line in front, so that each line end falls across the 64 KiB read buffer somewhere.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "menu_form/command_kind.h"
#include "menu_form/folder_command.h"
#include "menu_form/menu_form.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_decode.h"
#include "tests/fuzz/property_check.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

// The medium the inputs are written to: a program that exists, a picture and a file that the fake
// window cannot show, so that every branch of the splash and of Launch can be reached.
const ScratchMedium& Medium() {
  static const ScratchMedium medium;
  static const bool ready = [] {
    medium.Write("setup.exe", "program");
    medium.Write("menu/splash.bmp", "picture");
    medium.Write("menu/bad.bmp", "not a picture");
    return true;
  }();
  (void)ready;
  return medium;
}

// The machine the menu runs on for the fuzzer: Windows 10 on x64, with one registry key, and
// files and folders as the scratch medium has them.
class FuzzMachine : public SystemFacts {
 public:
  System OnSystem() const override { return System::kWindows; }
  WindowsRelease Release() const override { return WindowsRelease::k10; }
  Architecture Machine() const override { return Architecture::kX64; }
  bool PathExists(const std::string& path) const override {
    Check(!NamesNoLocalFile(path) && path.find('\0') == std::string::npos,
          "no share, device or NUL reaches the system", path);
    std::error_code ignored;
    return std::filesystem::exists(NativePath(path), ignored);
  }
  bool KeyExists(RegistryRoot root, const std::string& subkey) const override {
    return root == RegistryRoot::kLocalMachine && subkey == "Software\\Tool";
  }
  std::string NamedFolder(std::string_view name) const override {
    return name == "%ProgramFiles%" ? "C:\\Program Files" : "";
  }
};

class FuzzView : public FakeMenuView {
 public:
  Result ShowSplash(const std::string& path) override {
    calls.push_back("ShowSplash " + path);
    if (path.find("bad") != std::string::npos) return Result::Failure("not a picture");
    return Result::Ok();
  }
};

// No control character may reach a terminal or a message box from the file: they are shown escaped.
bool PrintableUtf8(const std::string& text) {
  if (!IsValidUtf8(text)) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return false;
    // U+0080..U+009F, the C1 controls, are C2 80..C2 9F in UTF-8.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      return false;
    }
  }
  return true;
}

// What one load did, for comparing the plain and the padded reading.
struct Outcome {
  std::optional<RunTimeError::Kind> error;
  int64_t error_line = 0;
  std::vector<std::string> calls;
  // Copies: the entries' texts end with the form that read them.
  std::vector<std::pair<std::string, std::string>> entries;
};

// Every position once, and a few no list can hold; Launch after each.
void SelectAndLaunchEach(MenuForm& form, FuzzView& view, FakeProgramStart& starter) {
  const int count = static_cast<int>(form.MenuEntries().size());
  std::vector<int> positions{-1, count + 1, count};
  for (int p = 0; p <= count && p < 64; ++p) positions.push_back(p);
  for (const int position : positions) {
    view.UserSelects(position);
    const MenuEntry expected =
        position > 0 && position <= count ? form.MenuEntries()[position - 1] : form.PromptEntry();
    Check(form.CurrentEntry() == expected, "the selection follows the list position");

    const size_t calls = view.calls.size();
    const size_t starts = starter.started.size();
    const size_t links = starter.links.size();
    const size_t folders = starter.folders.size();
    form.OnGoBoxClick();
    // The boxes' title and texts are the medium's own when its menu file gives them.
    const std::string warning = "Warn " + std::string(form.MessageTitle()) + ": ";
    const std::string command(expected.Command);
    std::vector<std::string> added(view.calls.begin() + calls, view.calls.end());
    const EntryDirectives none;
    const EntryDirectives& directives = expected.Directives ? *expected.Directives : none;
    // What a started program or an opened link leaves in the window.
    const std::vector<std::string> after_start = directives.CloseAfterLaunch
                                                     ? std::vector<std::string>{"Close"}
                                                     : std::vector<std::string>{};
    if (command == kNullKeyword) {
      Check(added.empty() && starter.started.size() == starts, "$null$ does nothing");
    } else if (command == kExitKeyword) {
      Check(added == std::vector<std::string>{"Close"} && starter.started.size() == starts,
            "$exit$ closes and starts nothing");
    } else if ((IsLink(command) && command.find('\0') != std::string::npos) ||
               (!IsLink(command) && !NamesOtherScheme(command) && FileExists(command) &&
                (directives.Arguments.find('\0') != std::string::npos ||
                 directives.Directory.find('\0') != std::string::npos ||
                 NamesNoLocalFile(directives.Directory)))) {
      Check(added.size() == 1 && added[0].rfind(warning + form.CannotStartStart(), 0) == 0 &&
                starter.links.size() == links && starter.started.size() == starts,
            "a link, arguments or a folder that hold a NUL, and a folder on another machine, are "
            "refused with a warning",
            command);
    } else if (IsLink(command)) {
      Check(added == after_start && starter.started.size() == starts &&
                starter.links.size() == links + 1 && starter.links.back() == LinkAsOpened(command),
            "a link is opened as the core makes it safe and nothing is started", command);
    } else if (AsksForFolder(command) && NamesMediumFolder(command)) {
      Check(added == after_start && starter.started.size() == starts &&
                starter.folders.size() == folders + 1 && starter.folders.back() == command,
            "a folder of the medium opens in the file manager and nothing is started", command);
    } else if (!NamesOtherScheme(command) && FileExists(command)) {
      Check(added == after_start && starter.started.size() == starts + 1 &&
                starter.started.back() == command &&
                starter.requests.back().arguments == directives.Arguments &&
                starter.requests.back().directory == directives.Directory,
            "an existing file is started under exactly its own name, with its directives", command);
    } else {
      // The warning is the medium's own when its menu file gives one.
      Check(added == std::vector<std::string>{warning + std::string(form.NotFoundText())} &&
                starter.started.size() == starts && starter.links.size() == links &&
                starter.folders.size() == folders,
            "anything else is not started, with a warning", command);
    }
  }
}

// Loads `bytes` on the machine `facts` describes; null: "'#show-if:" lines are not judged.
Outcome LoadAndUse(const std::string& bytes, const SystemFacts* facts) {
  Medium().WriteDefinition(bytes);
  FuzzView view;
  FakeProgramStart starter;
  MenuForm form(view, starter, ",", System::kWindows, {}, facts);
  view.Attach(&form);
  Outcome outcome;
  try {
    form.OnLoad();
  } catch (const RunTimeError& error) {
    outcome.error = error.kind();
    outcome.error_line = error.line();
    outcome.calls = view.calls;
    Check(view.items.empty(), "nothing of the list is filled before a failure");
    Check(error.file() == DisplayPath(kDefinitionPath), "the error names the file", error.what());
    Check(PrintableUtf8(error.what()), "the error is printable text", error.what());
    return outcome;
  }
  Check(form.state() == MenuForm::State::kLoaded, "no error means loaded");
  const std::vector<MenuEntry>& entries = form.MenuEntries();
  // Entries for another system are not listed: all of them may be.
  Check(entries.size() <= kMaxEntries, "at most 32766 entries");
  Check(view.items.size() == entries.size() + 1 && !form.PromptEntry().Caption.empty() &&
            view.items[0] == form.PromptEntry().Caption,
        "the prompt (the program's or the author's) heads the list");
  for (size_t i = 0; i < entries.size(); ++i) {
    Check(view.items[i + 1] == entries[i].Caption, "the list shows the entries in file order");
    Check(IsValidUtf8(entries[i].Caption) && entries[i].Caption.find('\0') == std::string::npos,
          "a caption is shown whole", std::string(entries[i].Caption));
    const EntryDirectives* directives = entries[i].Directives;
    Check(directives == nullptr || !directives->OnlyOn || *directives->OnlyOn == System::kWindows,
          "no entry for another system is listed");
  }
  Check(form.CurrentEntry() == form.PromptEntry(), "the prompt is chosen after loading");
  Check(!form.NotFoundText().empty() && IsValidUtf8(std::string(form.NotFoundText())),
        "the warning for a missing file is text", std::string(form.NotFoundText()));
  Check(!form.MessageTitle().empty() && IsValidUtf8(std::string(form.MessageTitle())),
        "the boxes' title is text", std::string(form.MessageTitle()));
  Check(!form.NoProgramText().empty() && IsValidUtf8(std::string(form.NoProgramText())),
        "the word on a document no program opens is text", std::string(form.NoProgramText()));
  const std::string& title = view.calls.front();
  Check(IsValidUtf8(title) && title.find('\0') == std::string::npos, "the title is shown whole");
  outcome.calls = view.calls;
  for (const MenuEntry& entry : entries) outcome.entries.emplace_back(entry.Caption, entry.Command);
  SelectAndLaunchEach(form, view, starter);
  return outcome;
}

// The same bytes behind one long comment line, placed so that the middle of the input falls on the
// read buffer's boundary. A byte-order mark stays in front, where it counts. Only one input in
// eight (by its size, so that a finding reproduces): reading 64 KiB under coverage instrumentation
// costs ten times what the input itself does.
std::optional<std::string> Padded(const std::string& bytes) {
  constexpr size_t kBuffer = 64 * 1024;
  if (bytes.size() % 8 != 0) return std::nullopt;
  if (bytes.size() >= 2 &&
      (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
    return std::nullopt;  // a UTF-16 mark counts only at the very start
  }
  const std::string mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(0, 3) : "";
  const std::string rest = bytes.substr(mark.size());
  const size_t middle = std::min(rest.size() / 2, kBuffer / 2);
  return mark + "'" + std::string(kBuffer - middle - mark.size() - 3, 'p') + "\r\n" + rest;
}

}  // namespace
}  // namespace tolvar

// The target works in a scratch medium as its current directory, so paths given on the command
// line (corpus directories, inputs to reproduce) are made absolute before it moves there. The
// medium goes to memory where there is a memory file system: every input is written to it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  std::error_code ignored;
  if (std::filesystem::is_directory("/dev/shm", ignored)) setenv("TMPDIR", "/dev/shm", 1);
  static std::vector<std::string> absolute;
  absolute.reserve(*argc);
  for (int i = 1; i < *argc; ++i) {
    const char* argument = (*argv)[i];
    if (argument[0] == '-' || argument[0] == '/') continue;
    absolute.push_back(std::filesystem::absolute(argument).string());
    (*argv)[i] = absolute.back().data();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvar;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static const FuzzMachine machine;
  const Outcome plain = LoadAndUse(bytes, &machine);
  // Conditions only hide entries: the rest is listed as where none are judged, in its order.
  if (bytes.find("#show-if:") != std::string::npos) {
    const Outcome unjudged = LoadAndUse(bytes, nullptr);
    Check(plain.error == unjudged.error && plain.error_line == unjudged.error_line,
          "conditions change nothing of an error");
    size_t next = 0;
    for (const auto& entry : plain.entries) {
      while (next < unjudged.entries.size() && unjudged.entries[next] != entry) ++next;
      Check(next < unjudged.entries.size(), "conditions only hide entries", entry.first);
      ++next;
    }
  }
  const std::optional<std::string> padded_bytes = Padded(bytes);
  if (!padded_bytes) return 0;
  const Outcome padded = LoadAndUse(*padded_bytes, &machine);
  Check(plain.error == padded.error, "the read buffer's boundary changes nothing (outcome)");
  if (plain.error) {
    const int64_t shift = plain.error_line > 0 ? 1 : 0;
    Check(padded.error_line == plain.error_line + shift,
          "the read buffer's boundary changes nothing (line of the error)");
  }
  Check(plain.calls == padded.calls && plain.entries == padded.entries,
        "the read buffer's boundary changes nothing (what is shown)");
  return 0;
}
