// DirectiveInterpreter: the verdict on each kind of line, what the menu keeps of texts that would
// freeze its window or fill its memory, and the reader's side: comments that look like
// directives, and directive values within the menu's text budget.
#include "menu_form/directive_interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_form/definition_reader.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

Directive Line(std::string_view text, DirectivePlace place, int entry = 0, int64_t line = 1) {
  Directive directive = ParseDirective(text);
  directive.place = place;
  directive.entry = entry;
  directive.line = line;
  return directive;
}

constexpr DirectivePlace kMenu = DirectivePlace::kAboveTitle;
constexpr DirectivePlace kEntry = DirectivePlace::kEntry;

TEST(DirectiveInterpreterTest, EachLineTheMenuIgnoresHasItsReason) {
  DirectiveInterpreter interpreter;
  const auto verdict = [&](std::string_view text, DirectivePlace place, int entry = 0) {
    return interpreter.Take(Line(text, place, entry)).verdict;
  };
  const DirectiveJudgement unknown = interpreter.Take(Line("'#argument: /S", kEntry, 1));
  EXPECT_EQ(unknown.verdict, DirectiveVerdict::kUnknownName);
  EXPECT_EQ(NearestDirectiveName("argument"), "arguments");
  EXPECT_EQ(NearestDirectiveName("note"), "");
  EXPECT_EQ(verdict("'#arguments: /S", kMenu), DirectiveVerdict::kMisplaced);
  EXPECT_EQ(verdict("'#prompt: Choose", kEntry, 1), DirectiveVerdict::kMisplaced);
  EXPECT_EQ(verdict("'#prompt: Choose", DirectivePlace::kAboveEntries),
            DirectiveVerdict::kMisplaced);
  EXPECT_EQ(verdict("'#arguments: /S", DirectivePlace::kAfterLastEntry),
            DirectiveVerdict::kMisplaced);
  EXPECT_EQ(verdict("'#system: Windows", kEntry, 1), DirectiveVerdict::kValueNotAllowed);
  // An empty menu text would leave a blank button: ignored, the program's own stays.
  for (const char* empty : {"'#launch-caption:", "'#quit-caption:  ", "'#not-found-message:",
                            "'#cannot-start-message:", "'#message-title:", "'#prompt:"}) {
    EXPECT_EQ(verdict(empty, kMenu), DirectiveVerdict::kEmptyValue) << empty;
  }
  EXPECT_TRUE(interpreter.Menu().LaunchCaption.empty());
  // An entry's empty arguments are no arguments, as written.
  EXPECT_EQ(verdict("'#arguments:", kEntry, 1), DirectiveVerdict::kTaken);

  Directive comment;
  comment.comment = true;
  comment.written_name = "ARGUMENTS";
  const DirectiveJudgement near = interpreter.Take(comment);
  EXPECT_EQ(near.verdict, DirectiveVerdict::kComment);
  EXPECT_EQ(NearestDirectiveName(comment.written_name), "arguments");
}

TEST(DirectiveInterpreterTest, TheLastOfANameHoldsAndOnlyItIsKept) {
  DirectiveInterpreter interpreter;
  EXPECT_EQ(interpreter.Take(Line("'#launch-caption: Go", kMenu, 0, 1)).first_line, 0);
  EXPECT_EQ(interpreter.Take(Line("'#direction: right-to-left", kMenu, 0, 2)).first_line, 0);
  EXPECT_EQ(interpreter.Take(Line("'#launch-caption: Start", kMenu, 0, 3)).first_line, 1);
  EXPECT_EQ(interpreter.Take(Line("'#launch-caption: Los", kMenu, 0, 4)).first_line, 1);
  const MenuTexts texts = interpreter.Menu();
  EXPECT_EQ(texts.LaunchCaption, "Los");
  EXPECT_TRUE(texts.RightToLeft);
  EXPECT_TRUE(texts.QuitCaption.empty());

  // A thousand long descriptions for one entry cost what the last one does.
  const std::string value(1000, 'd');
  for (int i = 0; i < 1000; ++i) {
    interpreter.Take(Line("'#description: " + value + std::to_string(i), kEntry, 1, 10 + i));
  }
  interpreter.Take(Line("'#system: linux", kEntry, 1, 2000));
  EXPECT_EQ(interpreter.KeptBytes(), std::string("Los"
                                                 "right-to-left")
                                             .size() +
                                         value.size() + 3 + std::string("linux").size());
  const EntryDirectives entry = interpreter.ForEntry(1);
  EXPECT_EQ(entry.Description, value + "999");
  EXPECT_EQ(entry.OnlyOn, System::kLinux);
  EXPECT_EQ(interpreter.EntryLine(1, DirectiveName::kDescription), 1009);
  // The next entry starts afresh; entry 1's are gone.
  interpreter.Take(Line("'#arguments: /S", kEntry, 3, 3000));
  EXPECT_TRUE(interpreter.ForEntry(1).empty());
  EXPECT_TRUE(interpreter.ForEntry(2).empty());
  EXPECT_EQ(interpreter.ForEntry(3).Arguments, "/S");
  EXPECT_FALSE(interpreter.ForEntry(3).OnlyOn.has_value());
}

TEST(DirectiveInterpreterTest, ButtonAndMessageTextsAreCutBetweenCharacters) {
  // A letter with 32,000 combining marks froze the window for seconds while it was shaped.
  std::string marks = "A";
  for (int i = 0; i < 32000; ++i) marks += "\xCC\x81";  // U+0301
  DirectiveInterpreter interpreter;
  for (const char* name : {"launch-caption", "quit-caption", "prompt", "message-title"}) {
    const DirectiveJudgement cut =
        interpreter.Take(Line("'#" + std::string(name) + ": " + marks, kMenu));
    EXPECT_EQ(cut.verdict, DirectiveVerdict::kCut) << name;
    EXPECT_EQ(cut.kept_characters, 256u) << name;
  }
  interpreter.Take(Line("'#not-found-message: " + marks, kMenu));
  const MenuTexts texts = interpreter.Menu();
  EXPECT_EQ(texts.LaunchCaption, marks.substr(0, 1 + 255 * 2));
  EXPECT_EQ(texts.MessageTitle, marks.substr(0, 1 + 255 * 2));
  EXPECT_EQ(texts.NotFoundMessage, marks.substr(0, 1 + 1023 * 2));
  // Texts that fit are taken whole; the picture's description is read aloud, never shaped.
  EXPECT_EQ(interpreter.Take(Line("'#quit-caption: Beenden", kMenu)).verdict,
            DirectiveVerdict::kTaken);
  EXPECT_EQ(interpreter.Take(Line("'#picture-description: " + marks, kMenu)).verdict,
            DirectiveVerdict::kTaken);
}

// What the reader tells of comment lines, and where it stops.
class TellingSink : public DefinitionSink {
 public:
  void Title(std::string_view, int64_t) override {}
  Result Splash(const std::string&, int64_t) override { return Result::Ok(); }
  void Count(int, int64_t) override {}
  void Caption(int, std::string_view, int64_t) override {}
  void Command(int, std::string_view, int64_t) override {}
  bool Fault(const RunTimeError& fault) override {
    faults.push_back(fault.detail());
    return false;
  }
  void DirectiveLine(const Directive& d) override {
    told.push_back(std::string(d.comment ? "comment " : "") + std::string(d.written_name) + "=" +
                   std::string(d.value).substr(0, 10) + " line " + std::to_string(d.line));
  }
  std::vector<std::string> told;
  std::vector<std::string> faults;
};

TEST(DirectiveInterpreterTest, TheReaderTellsCommentsWrittenAlmostAsDirectives) {
  const std::string text =
      "'#ARGUMENTS: /S\n' #arguments: /S\n'# Heading: x\n'#####\n' note: x\nT\n$null$\n1\nA\na\n";
  TextInput file(text, "menu\\config.mnu");
  TellingSink sink;
  EXPECT_TRUE(DefinitionReader(file, ".").Read(sink));
  EXPECT_EQ(sink.told,
            (std::vector<std::string>{"comment ARGUMENTS= line 1", "comment arguments= line 2",
                                      "comment Heading= line 3"}));
}

TEST(DirectiveInterpreterTest, AnUnknownDirectiveIsACommentOfAnyLength) {
  // A comment of 100 KB that begins as a directive the menu does not know stopped the menu.
  const std::string text = "'#note: " + std::string(100000, 'n') + "\nT\n$null$\n1\nA\na\n";
  TextInput file(text, "menu\\config.mnu");
  TellingSink sink;
  EXPECT_TRUE(DefinitionReader(file, ".").Read(sink));
  EXPECT_TRUE(sink.faults.empty());
  EXPECT_EQ(sink.told, (std::vector<std::string>{"note= line 1"}));
}

TEST(DirectiveInterpreterTest, DirectiveValuesCountAgainstTheMenusTextBudget) {
  // 1,100 descriptions of 64,000 bytes for one entry: more than the menu may keep, though only
  // the last would be kept.
  const std::string line = "'#description: " + std::string(64000, 'x') + "\n";
  std::string text = "T\n$null$\n1\n";
  for (int i = 0; i < 1100; ++i) text += line;
  text += "A\na\n";
  TextInput file(text, "menu\\config.mnu");
  TellingSink sink;
  EXPECT_FALSE(DefinitionReader(file, ".").Read(sink));
  ASSERT_EQ(sink.faults.size(), 1u);
  EXPECT_NE(sink.faults[0].find("the captions, commands and directives up to entry 1 hold more "
                                "than the 64 MiB"),
            std::string::npos)
      << sink.faults[0];
  EXPECT_LT(sink.told.size(), 1100u);
}

}  // namespace
}  // namespace tolvar
