// The form driven through a recording fake view and fake program start, over real menu files in a
// scratch medium: the loading sequence, the selection rule, Launch and Quit.
#include "menu_form/menu_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shared_routines/run_time_error.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using Calls = std::vector<std::string>;
using Kind = RunTimeError::Kind;

class MenuFormTest : public testing::Test {
 protected:
  MenuFormTest() { view_.Attach(&form_); }

  // Loads `definition` as menu/config.mnu; a fault propagates as RunTimeError.
  void Load(const std::string& definition) {
    medium_.WriteDefinition(definition);
    form_.OnLoad();
  }

  // Loads a definition that must fail; returns the error.
  RunTimeError LoadFails(const std::string& definition) {
    try {
      Load(definition);
    } catch (const RunTimeError& error) {
      return error;
    }
    ADD_FAILURE() << "the load did not fail";
    return RunTimeError(Kind::kEndOfFile, "", 0, "");
  }

  ScratchMedium medium_;
  FakeMenuView view_;
  FakeProgramStart starter_;
  MenuForm form_{view_, starter_, ",", System::kWindows};
};

constexpr char kTwoEntries[] =
    "' Demo medium\r\n"
    "Demo  Title \r\n"
    "menu\\splash.bmp\r\n"
    "2\r\n"
    "Install\r\n"
    "setup\\install.exe\r\n"
    "Leave\r\n"
    "$exit$\r\n";

TEST_F(MenuFormTest, FullLoadCallsTheViewInOrder) {
  medium_.Write("menu/splash.bmp", "picture");
  Load(kTwoEntries);
  EXPECT_EQ(view_.calls,
            (Calls{"SetTitle Demo  Title ", "ShowSplash menu\\splash.bmp",
                   "AddListItem 0 Please Select...", "AddListItem 1 Install", "AddListItem 2 Leave",
                   "SetListPosition 0", "Go_Box Launch", "Exit_Box Quit"}));
  EXPECT_EQ(form_.state(), MenuForm::State::kLoaded);
  EXPECT_EQ(form_.PromptEntry(), (MenuEntry{"Please Select...", "$null$"}));
  EXPECT_EQ(form_.CurrentEntry(), form_.PromptEntry());
  EXPECT_EQ(form_.MenuEntries(),
            (std::vector<MenuEntry>{{"Install", "setup\\install.exe"}, {"Leave", "$exit$"}}));
}

TEST_F(MenuFormTest, SplashIsShownOnlyForAnExistingFileAndNeverForNull) {
  Load(kTwoEntries);  // menu\splash.bmp does not exist: no picture, no message
  EXPECT_EQ(view_.calls.at(1), "AddListItem 0 Please Select...");

  ScratchMedium other;
  other.Write("$null$", "a file named like the keyword");
  other.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n$null$\r\n");
  FakeMenuView view;
  MenuForm form(view, starter_, ".", System::kWindows);
  view.Attach(&form);
  form.OnLoad();
  EXPECT_EQ(view.calls.at(1), "AddListItem 0 Please Select...");
}

TEST_F(MenuFormTest, CommentsBlankLinesAndLineEndsDoNotChangeWhatLoads) {
  const std::vector<MenuEntry> expected{{"A", "a.exe"}, {" 'B", "b.exe"}};
  for (const std::string definition :
       {"T\r\n$null$\r\n2\r\nA\r\na.exe\r\n 'B\r\nb.exe\r\n",
        "' c\r\n\r\nT\r\n'\r\n$null$\r\n\r\n2\r\n\r\nA\r\n' c\r\na.exe\r\n\r\n 'B\r\nb.exe\r\n' "
        "end",
        "T\r$null$\r2\rA\ra.exe\r 'B\rb.exe", "T\n$null$\n2\nA\na.exe\n 'B\nb.exe\n",
        "\xEF\xBB\xBF' c\nT\n$null$\n2\nA\na.exe\n 'B\nb.exe\n"}) {
    ScratchMedium medium;
    medium.WriteDefinition(definition);
    FakeMenuView view;
    MenuForm form(view, starter_, ".", System::kWindows);
    view.Attach(&form);
    form.OnLoad();
    EXPECT_EQ(form.MenuEntries(), expected) << definition;
    EXPECT_EQ(view.calls.front(), "SetTitle T") << definition;
  }
}

TEST_F(MenuFormTest, EveryEntryKeepsItsOwnTextWhenTheTextsFillManyBlocks) {
  // Several megabytes of captions and commands of uneven lengths, up to the longest line: a text
  // kept over another's, or cut at a block's end, shows as a wrong entry, and one kept over
  // another's NUL as a C string that runs on (the Linux window hands captions to GTK as such).
  std::vector<MenuEntry> expected;
  std::vector<std::string> texts;
  std::string definition = "T\r\n$null$\r\n300\r\n";
  for (int i = 0; i < 300; ++i) {
    const size_t length = i == 7 ? 65535 : (i * 7919) % 30000;  // 7: a whole block
    texts.push_back(std::to_string(i) + std::string(length, static_cast<char>('a' + i % 26)));
    texts.push_back("p\\" + std::to_string(i) + std::string(i % 40, 'x') + ".exe");
    definition += texts[2 * i] + "\r\n" + texts[2 * i + 1] + "\r\n";
  }
  for (size_t i = 0; i < texts.size(); i += 2) expected.push_back({texts[i], texts[i + 1]});
  Load(definition);
  EXPECT_EQ(form_.MenuEntries(), expected);
  ASSERT_EQ(view_.items.size(), 301u);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(view_.items[i + 1], expected[i].Caption);
  for (const MenuEntry& entry : form_.MenuEntries()) {
    EXPECT_EQ(entry.Caption.data()[entry.Caption.size()], '\0');
    EXPECT_EQ(entry.Command.data()[entry.Command.size()], '\0');
  }
}

TEST_F(MenuFormTest, OnlyCountEntriesAreReadWhateverFollows) {
  Load("T\r\n$null$\r\n2\r\nA\r\na\r\nB\r\nb\r\nC\r\nc\r\n");
  EXPECT_EQ(form_.MenuEntries().size(), 2u);
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Please Select...", "A", "B"}));
}

TEST_F(MenuFormTest, CountWithTheUsersDecimalSeparatorRoundsToEven) {
  Load("T\r\n$null$\r\n 2,5 \r\nA\r\na\r\nB\r\nb\r\n");
  EXPECT_EQ(form_.MenuEntries().size(), 2u);
}

TEST_F(MenuFormTest, MissingDefinitionWarnsOnceAndLeavesTheDesignTimeWindow) {
  form_.OnLoad();  // no menu directory at all
  EXPECT_EQ(view_.calls, (Calls{"Warn Kestova: Can't locate menu options definition file."}));
  EXPECT_EQ(form_.state(), MenuForm::State::kDefinitionMissing);
  EXPECT_TRUE(form_.MenuEntries().empty());
  EXPECT_EQ(form_.CurrentEntry(), MenuEntry());

  // Launch then tests the empty command, which names no file.
  form_.OnGoBoxClick();
  EXPECT_EQ(view_.calls.back(), "Warn Kestova: Can't find file!!");
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(MenuFormTest, EveryFaultNamesItsKindAndLine) {
  struct Fault {
    const char* definition;
    Kind kind;
    int64_t line;
    const char* words;
  };
  const Fault faults[] = {
      {"", Kind::kEndOfFile, 1, "the title"},
      {"' only comments\r\n\r\n", Kind::kEndOfFile, 3, "the title"},
      {"T\r\n", Kind::kEndOfFile, 2, "splash"},
      {"T\r\n$null$\r\n", Kind::kEndOfFile, 3, "number of entries"},
      {"T\r\n$null$\r\n2\r\nA\r\na\r\nB\r\n", Kind::kEndOfFile, 7, "the command of entry 2"},
      {"T\r\n$null$\r\n2\r\nA\r\na\r\n", Kind::kEndOfFile, 6, "the caption of entry 2"},
      {"T\r\n$null$\r\nthree\r\nA\r\na\r\n", Kind::kTypeMismatch, 3, "\"three\""},
      {"T\r\n$null$\r\n40000\r\n", Kind::kOverflow, 3, "too large"},
      {"T\r\n$null$\r\n32767\r\n", Kind::kOverflow, 3, "32766"},
      {"T\r\n\r\n$null$\r\n\r\n0\r\n", Kind::kSubscriptOutOfRange, 5, "from 1 to 32766"},
      {"T\r\n$null$\r\n-3\r\n", Kind::kSubscriptOutOfRange, 3, "\"-3\""},
  };
  for (const Fault& fault : faults) {
    ScratchMedium medium;
    medium.WriteDefinition(fault.definition);
    FakeMenuView view;
    MenuForm form(view, starter_, ".", System::kWindows);
    view.Attach(&form);
    try {
      form.OnLoad();
      ADD_FAILURE() << "loaded: " << fault.definition;
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), fault.kind) << fault.definition;
      EXPECT_EQ(error.line(), fault.line) << fault.definition;
      EXPECT_NE(std::string(error.what()).find("config.mnu line "), std::string::npos);
      EXPECT_NE(std::string(error.what()).find(fault.words), std::string::npos) << error.what();
    }
    // Nothing of the list is filled before a failure, so no half-made menu can be shown.
    EXPECT_TRUE(view.items.empty()) << fault.definition;
  }
}

TEST_F(MenuFormTest, SplashThatIsNoPictureEndsTheLoad) {
  medium_.Write("menu/splash.bmp", "not a picture");
  view_.splash_result = Result::Failure("unknown image format");
  const RunTimeError error = LoadFails(kTwoEntries);
  EXPECT_EQ(error.kind(), Kind::kInvalidPicture);
  EXPECT_EQ(error.line(), 3);
  EXPECT_NE(std::string(error.what()).find("unknown image format"), std::string::npos);
}

TEST_F(MenuFormTest, SplashPatternPassesTheExistenceTestAndFailsToLoad) {
  medium_.Write("menu/splash.bmp", "x");
  view_.splash_result = Result::Failure("no such file");
  const RunTimeError error = LoadFails("T\r\nmenu\\*.bmp\r\n1\r\nA\r\na\r\n");
  EXPECT_EQ(view_.calls.at(1), "ShowSplash menu\\*.bmp");
  EXPECT_EQ(error.kind(), Kind::kInvalidPicture);
}

TEST_F(MenuFormTest, SelectionFollowsTheListPosition) {
  Load(kTwoEntries);
  view_.UserSelects(1);
  EXPECT_EQ(form_.CurrentEntry(), (MenuEntry{"Install", "setup\\install.exe"}));
  view_.UserSelects(2);
  EXPECT_EQ(form_.CurrentEntry(), (MenuEntry{"Leave", "$exit$"}));
  view_.UserSelects(0);
  EXPECT_EQ(form_.CurrentEntry(), form_.PromptEntry());
  view_.UserSelects(2);
  view_.UserSelects(-1);
  EXPECT_EQ(form_.CurrentEntry(), form_.PromptEntry());
  view_.UserSelects(3);  // past the end: cannot come from the list, never read out of bounds
  EXPECT_EQ(form_.CurrentEntry(), form_.PromptEntry());
}

constexpr char kLaunchMenu[] =
    "T\r\n$null$\r\n7\r\n"
    "Heading\r\n$null$\r\n"
    "Setup\r\nsetup.exe\r\n"
    "Missing\r\nmissing.exe\r\n"
    "With arguments\r\nsetup.exe /S\r\n"
    "Shouting\r\n$EXIT$\r\n"
    "Blank exit\r\n $exit$\r\n"
    "Leave\r\n$exit$\r\n";

TEST_F(MenuFormTest, LaunchStartsTheProgramOncePerPressAndTheMenuStays) {
  medium_.Write("setup.exe", "program");
  Load(kLaunchMenu);
  const size_t calls_after_load = view_.calls.size();

  form_.OnGoBoxClick();  // the prompt is selected
  view_.UserSelects(1);  // a $null$ heading
  form_.OnGoBoxClick();
  EXPECT_TRUE(starter_.started.empty());

  view_.UserSelects(2);
  form_.OnGoBoxClick();
  form_.OnGoBoxClick();
  EXPECT_EQ(starter_.started, (std::vector<std::string>{"setup.exe", "setup.exe"}));
  EXPECT_EQ(view_.calls.size(), calls_after_load);  // no warning, no close

  view_.UserSelects(0);
  form_.OnGoBoxClick();
  EXPECT_EQ(starter_.started.size(), 2u);
}

TEST_F(MenuFormTest, LaunchWarnsForEveryCommandThatNamesNoFile) {
  medium_.Write("setup.exe", "program");
  Load(kLaunchMenu);
  for (int position : {3, 4, 5, 6, 3}) {  // missing, with arguments, "$EXIT$", " $exit$", again
    view_.UserSelects(position);
    view_.calls.clear();
    form_.OnGoBoxClick();
    EXPECT_EQ(view_.calls, (Calls{"Warn Kestova: Can't find file!!"})) << position;
  }
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(MenuFormTest, ExitEntryAndQuitClose) {
  Load(kLaunchMenu);
  view_.UserSelects(7);
  view_.calls.clear();
  form_.OnGoBoxClick();
  form_.OnExitBoxClick();
  EXPECT_EQ(view_.calls, (Calls{"Close", "Close"}));
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(MenuFormTest, AProgramThatCannotBeStartedIsAWarningNotTheEnd) {
  medium_.Write("docs/readme.txt", "text");
  Load("T\r\n$null$\r\n2\r\nRead me\r\n.\\docs\\readme.txt\r\nAgain\r\ndocs\\readme.txt\r\n");
  starter_.result = Result::Failure("Exec format error");
  for (int position : {1, 2}) {
    view_.UserSelects(position);
    view_.calls.clear();
    form_.OnGoBoxClick();
    // The path as the author wrote it in the menu file, not as this system spells it.
    ASSERT_EQ(view_.calls.size(), 1u);
    EXPECT_EQ(view_.calls[0], "Warn Kestova: Can't start \"docs\\readme.txt\": Exec format error");
  }
  EXPECT_EQ(form_.CurrentEntry().Command, "docs\\readme.txt");
}

TEST_F(MenuFormTest, CloseAfterLaunchClosesOnlyOnceSomethingStarted) {
  medium_.Write("setup.exe", "program");
  Load("T\r\n$null$\r\n1\r\n'#after-launch: close\r\nInstall\r\nsetup.exe\r\n");
  view_.UserSelects(1);
  for (const Result& result : {Result::Failure("Access is denied."), Result::Declined()}) {
    starter_.result = result;
    view_.calls.clear();
    form_.OnGoBoxClick();
    EXPECT_EQ(std::count(view_.calls.begin(), view_.calls.end(), "Close"), 0) << result.reason;
  }
  starter_.result = Result::Ok();
  view_.calls.clear();
  form_.OnGoBoxClick();
  EXPECT_EQ(view_.calls, (Calls{"Close"}));
  EXPECT_EQ(starter_.started.size(), 3u);
}

}  // namespace
}  // namespace tolvar
