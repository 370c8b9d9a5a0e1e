// Directives: which comment lines are directives, what each is told to belong to, and what the form
// does with them, over real menu files in a scratch medium.
#include "menu_form/directive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "menu_form/command_kind.h"
#include "menu_form/definition_reader.h"
#include "menu_form/menu_form.h"
#include "shared_routines/text_input.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

TEST(DirectiveTest, OnlyANameOfLowerCaseLettersAndHyphensAndAColonMakesADirective) {
  for (const char* line : {"'#arguments: /S", "'#after-launch:close", "'#x:", "'#run-as:\t a"}) {
    EXPECT_TRUE(BeginsDirective(line)) << line;
  }
  for (const char* line :
       {"' #arguments: /S", "'# heading", "'#####", "'#Arguments: /S", "'#arguments /S",
        "#arguments: /S", "'#:", "'#arguments", "'#a_b: c", "'#a1: b"}) {
    EXPECT_FALSE(BeginsDirective(line)) << line;
  }
  // A name longer than any directive's is a comment, whatever follows.
  EXPECT_FALSE(BeginsDirective("'#" + std::string(kLongestDirectiveName + 1, 'a') + ": x"));

  const Directive directive = ParseDirective("'#arguments: \t /S \"x y\"  ");
  EXPECT_EQ(directive.name, DirectiveName::kArguments);
  EXPECT_EQ(directive.written_name, "arguments");
  EXPECT_EQ(directive.value, "/S \"x y\"  ");  // blanks at the end are the value's, as in a field
  EXPECT_EQ(ParseDirective("'#argument: x").name, DirectiveName::kUnknown);
  EXPECT_TRUE(DirectiveValueAllowed(DirectiveName::kSystem, "linux"));
  EXPECT_FALSE(DirectiveValueAllowed(DirectiveName::kSystem, "Linux"));
}

TEST(DirectiveTest, LinksAreThreeSchemesAndEveryOtherSchemeIsNeitherLinkNorFile) {
  for (const char* link : {"https://example.org/", "HTTP://x", "mailto:someone@example.org"}) {
    EXPECT_TRUE(IsLink(link)) << link;
    EXPECT_FALSE(NamesOtherScheme(link)) << link;
  }
  for (const char* other : {"file:///etc/passwd", "ms-msdt:/id", "search-ms:query=x", "http:x",
                            "javascript:alert(1)"}) {
    EXPECT_FALSE(IsLink(other)) << other;
    EXPECT_TRUE(NamesOtherScheme(other)) << other;
  }
  for (const char* path :
       {"D:\\setup.exe", "setup.exe", "programs\\a:b", "1x:y", "\\\\server\\x"}) {
    EXPECT_FALSE(IsLink(path)) << path;
    EXPECT_FALSE(NamesOtherScheme(path)) << path;
  }
}

// What a reader is told, one line per field or directive.
class RecordingSink : public DefinitionSink {
 public:
  void Title(std::string_view, int64_t) override {}
  Result Splash(const std::string&, int64_t) override { return Result::Ok(); }
  void Count(int, int64_t) override {}
  void Caption(int index, std::string_view, int64_t) override {
    told.push_back("caption " + std::to_string(index));
  }
  void Command(int, std::string_view, int64_t) override {}
  bool Fault(const RunTimeError& fault) override {
    told.push_back("fault " + fault.detail());
    return false;
  }
  void DirectiveLine(const Directive& d) override {
    static const char* const kPlaces[] = {"above-title", "above-entries", "entry", "after-last"};
    told.push_back(std::string(d.written_name) + "=" + std::string(d.value) + " " +
                   kPlaces[static_cast<int>(d.place)] + " " + std::to_string(d.entry) + " line " +
                   std::to_string(d.line));
  }
  std::vector<std::string> told;
};

TEST(DirectiveTest, TheReaderTellsEachDirectiveWhatItBelongsTo) {
  const std::string text =
      "'#prompt: Choose\r\n"
      "Title\r\n"
      "'#description: too early\r\n"
      "$null$\r\n"
      "2\r\n"
      "' a comment\r\n"
      "'#description: first\r\n"
      "A\r\n"
      "'#arguments: between\r\n"
      "a.exe\r\n"
      "'#system: linux\r\n"
      "B\r\n"
      "b.exe\r\n"
      "'#whatever: after\r\n"
      "trailing\r\n";
  TextInput file(text, "menu\\config.mnu");
  DefinitionReader reader(file, ".");
  RecordingSink sink;
  ASSERT_TRUE(reader.Read(sink));
  EXPECT_TRUE(reader.SignificantLineFollows(sink));
  EXPECT_EQ(
      sink.told,
      (std::vector<std::string>{
          "prompt=Choose above-title 0 line 1", "description=too early above-entries 0 line 3",
          "description=first entry 1 line 7", "caption 1", "arguments=between entry 1 line 9",
          "system=linux entry 2 line 11", "caption 2", "whatever=after after-last 0 line 14"}));
}

TEST(DirectiveTest, ADirectiveLineLongerThanAnyFieldIsAnErrorButALongCommentIsNot) {
  const std::string comment = "'# " + std::string(200000, 'x') + "\n";
  const std::string entries = "T\n$null$\n1\nA\na.exe\n";
  {
    const std::string text = comment + entries;  // the input reads it in place
    TextInput file(text, "menu\\config.mnu");
    RecordingSink sink;
    EXPECT_TRUE(DefinitionReader(file, ".").Read(sink));
  }
  const std::string text = "'#description: " + std::string(200000, 'x') + "\n" + entries;
  TextInput file(text, "menu\\config.mnu");
  RecordingSink sink;
  EXPECT_FALSE(DefinitionReader(file, ".").Read(sink));
  ASSERT_EQ(sink.told.size(), 1u);
  EXPECT_NE(sink.told[0].find("far too long for a directive"), std::string::npos);
}

TEST(DirectiveTest, ADirectiveIsToldWholeWhereverTheReadBufferEnds) {
  // The 64 KiB read buffer ends at every position of the directive once, across the runs.
  const std::string directive = "'#description: across\r\n";
  for (size_t pad = 0; pad < directive.size() + 2; ++pad) {
    const std::string comment = "'" + std::string(64 * 1024 - 1 - 2 - pad, 'c') + "\r\n";
    const std::string text = comment + directive + "T\n$null$\n1\nA\na.exe\n";
    TextInput file(text, "menu\\config.mnu");
    RecordingSink sink;
    ASSERT_TRUE(DefinitionReader(file, ".").Read(sink));
    ASSERT_FALSE(sink.told.empty());
    EXPECT_EQ(sink.told[0], "description=across above-title 0 line 2") << pad;
  }
}

class FormDirectivesTest : public testing::Test {
 protected:
  void Load(const std::string& definition, System system = System::kWindows) {
    menu_.emplace(".", system);
    medium_.WriteDefinition(definition);
    ASSERT_FALSE(menu_->Load().has_value());
  }
  // Selects list position `position` and clicks Launch.
  void Launch(int position) {
    menu_->view.UserSelects(position);
    menu_->form.OnGoBoxClick();
  }

  ScratchMedium medium_;
  std::optional<FakeMenu> menu_;
};

constexpr char kPerSystem[] =
    "T\n$null$\n3\n"
    "'#system: linux\nLinux only\nrun.sh\n"
    "'#system: windows\n'#arguments: /S\nWindows only\nsetup.exe\n"
    "Both\nreadme.txt\n";

TEST_F(FormDirectivesTest, AnEntryForAnotherSystemIsNotListedAndTheOthersKeepTheirDirectives) {
  for (const char* name : {"run.sh", "setup.exe", "readme.txt"}) medium_.Write(name, "x");
  Load(kPerSystem, System::kWindows);
  EXPECT_EQ(menu_->view.items,
            (std::vector<std::string>{"Please Select...", "Windows only", "Both"}));
  Launch(1);
  Launch(2);
  ASSERT_EQ(menu_->starter.requests.size(), 2u);
  EXPECT_EQ(menu_->starter.requests[0].path, "setup.exe");
  EXPECT_EQ(menu_->starter.requests[0].arguments, "/S");
  EXPECT_EQ(menu_->starter.requests[1].path, "readme.txt");
  EXPECT_EQ(menu_->starter.requests[1].arguments, "");

  Load(kPerSystem, System::kLinux);
  EXPECT_EQ(menu_->view.items,
            (std::vector<std::string>{"Please Select...", "Linux only", "Both"}));
}

TEST_F(FormDirectivesTest, LaunchPassesTheDirectivesAndTheLastOfANameHolds) {
  medium_.Write("programs/setup.exe", "x");
  Load(
      "T\n$null$\n1\n"
      "'#arguments: first\n'#arguments: \"a b\" c\n'#directory: programs\n"
      "'#run-as: administrator\n'#run-as: nobody\n'#after-launch: sideways\n"
      "'#unknown-name: x\n'#prompt: not an entry's\n"
      "Setup\nprograms\\setup.exe\n");
  Launch(1);
  ASSERT_EQ(menu_->starter.requests.size(), 1u);
  const LaunchRequest& request = menu_->starter.requests[0];
  EXPECT_EQ(request.arguments, "\"a b\" c");
  EXPECT_EQ(request.directory, "programs");
  EXPECT_TRUE(request.run_as_administrator);  // "nobody" is no value of run-as: ignored
  EXPECT_EQ(std::count(menu_->view.calls.begin(), menu_->view.calls.end(), "Close"), 0);
}

TEST_F(FormDirectivesTest, CloseAfterLaunchClosesOnlyOnceTheProgramStarted) {
  medium_.Write("setup.exe", "x");
  Load(
      "T\n$null$\n2\n'#after-launch: close\nA\nsetup.exe\n'#after-launch: close\nB\nmissing.exe\n");
  menu_->starter.result = Result::Failure("no");
  Launch(1);
  Launch(2);
  EXPECT_EQ(std::count(menu_->view.calls.begin(), menu_->view.calls.end(), "Close"), 0);
  menu_->starter.result = Result::Ok();
  Launch(1);
  EXPECT_EQ(menu_->view.calls.back(), "Close");
}

TEST_F(FormDirectivesTest, LinksOpenAndOtherSchemesAreNotFoundEvenWhenSuchAFileExists) {
  medium_.Write("file:x", "x");  // a name a Linux medium can hold
  Load("T\n$null$\n3\nWeb\nhttps://example.org/a b\nMail\nmailto:a@example.org\nF\nfile:x\n",
       System::kLinux);
  Launch(1);
  Launch(2);
  Launch(3);
  EXPECT_EQ(menu_->starter.links,
            (std::vector<std::string>{"https://example.org/a%20b", "mailto:a@example.org"}));
  EXPECT_TRUE(menu_->starter.started.empty());
  EXPECT_EQ(menu_->view.calls.back(), "Warn Kestova: Can't find file!!");
}

TEST_F(FormDirectivesTest, TheAuthorsMessagesAndTheirBoxesTitle) {
  medium_.Write("setup.exe", "x");
  const std::string entries = "T\n$null$\n2\nA\nmissing.exe\nB\nsetup.exe\n";
  Load(
      "'#message-title: Hinweis\n'#not-found-message: Fehlt\n"
      "'#cannot-start-message: Kann nicht starten\n'#launch-caption:\n" +
      entries);
  Launch(1);
  EXPECT_EQ(menu_->view.calls.back(), "Warn Hinweis: Fehlt");
  menu_->starter.result = Result::Failure("no reason");
  Launch(2);
  EXPECT_EQ(menu_->view.calls.back(),
            "Warn Hinweis: Kann nicht starten\n\n\"setup.exe\": no reason");
  // An empty caption leaves the program's own.
  EXPECT_NE(std::find(menu_->view.calls.begin(), menu_->view.calls.end(), "Go_Box Launch"),
            menu_->view.calls.end());

  Load(entries);
  menu_->starter.result = Result::Failure("no reason");
  Launch(2);
  EXPECT_EQ(menu_->view.calls.back(), "Warn Kestova: Can't start \"setup.exe\": no reason");
}

// A document that no program on the system is set to open: nothing is wrong with the medium, so
// the box says what is missing, in the menu's language, and not the system's reason, which reads
// as a broken file ("Permission denied; No application is registered ...").
TEST_F(FormDirectivesTest, ADocumentNoProgramIsSetToOpenIsSaidSoInTheMenusLanguage) {
  medium_.Write("docs/manual.xyz", "x");
  const std::string entries =
      "T\n$null$\n2\nManual\ndocs\\manual.xyz\nSite\nhttps://example.org/\n";
  const Result none = Result::NoApplication("Permission denied; No application is registered");
  Load(entries, System::kLinux);
  menu_->starter.result = none;
  Launch(1);
  EXPECT_EQ(menu_->view.calls.back(),
            "Warn Kestova: No program is set to open this kind of file.\n\n\"docs\\manual.xyz\"");

  Load(
      "'#message-title: Hinweis\n'#cannot-start-message: Kann nicht starten\n"
      "'#no-program-message: F\u00fcr diese Art Datei ist kein Programm eingerichtet.\n" +
          entries,
      System::kLinux);
  menu_->starter.result = none;
  Launch(1);
  EXPECT_EQ(menu_->view.calls.back(),
            "Warn Hinweis: F\u00fcr diese Art Datei ist kein Programm eingerichtet.\n\n"
            "\"docs\\manual.xyz\"");
  // A link is no kind of file; any other failure keeps the system's reason.
  Launch(2);
  EXPECT_EQ(menu_->view.calls.back(),
            "Warn Hinweis: Kann nicht starten\n\n\"https://example.org/\": "
            "Permission denied; No application is registered");
  menu_->starter.result = Result::Failure("Input/output error");
  Launch(1);
  EXPECT_EQ(menu_->view.calls.back(),
            "Warn Hinweis: Kann nicht starten\n\n\"docs\\manual.xyz\": Input/output error");
}

TEST_F(FormDirectivesTest, TheDescriptionRowComesOnlyWithADescriptionAndFollowsTheChoice) {
  Load("T\n$null$\n1\nA\n$null$\n");
  EXPECT_EQ(std::count(menu_->view.calls.begin(), menu_->view.calls.end(), "ShowDescriptionRow"),
            0);

  Load("T\n$null$\n2\n'#description: Installs A & B\nA\n$null$\nB\n$null$\n");
  const auto& calls = menu_->view.calls;
  const auto row = std::find(calls.begin(), calls.end(), "ShowDescriptionRow");
  ASSERT_NE(row, calls.end());
  EXPECT_LT(
      row - calls.begin(),
      std::find(calls.begin(), calls.end(), "AddListItem 0 Please Select...") - calls.begin());
  // Each item that has a description carries it, after the list is filled, for screen readers.
  const auto described = std::find(calls.begin(), calls.end(), "DescribeListItem 1 Installs A & B");
  ASSERT_NE(described, calls.end());
  EXPECT_LT(std::find(calls.begin(), calls.end(), "AddListItem 2 B"), described);
  EXPECT_EQ(
      std::count_if(calls.begin(), calls.end(),
                    [](const std::string& call) { return call.rfind("DescribeListItem", 0) == 0; }),
      1);
  menu_->view.UserSelects(1);
  EXPECT_EQ(calls.back(), "SetDescription Installs A & B");
  menu_->view.UserSelects(2);
  EXPECT_EQ(calls.back(), "SetDescription ");
}

}  // namespace
}  // namespace tolvar
