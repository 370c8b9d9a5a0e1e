// DirectiveCheck through the whole checker: the interpreter's verdicts reach the author as
// warnings, and a file of many directive lines costs a bounded report.
#include "menu_check/checks/directive_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_check/menu_check.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

std::vector<std::string> Lines(const CheckReport& report) {
  std::vector<std::string> lines;
  for (const Finding& f : report.findings) {
    lines.push_back(std::to_string(f.line) + (f.severity == Severity::kNote ? " note: " : " ") +
                    f.message);
  }
  return lines;
}

class DirectiveCheckTest : public testing::Test {
 protected:
  CheckReport Check(const std::string& definition) {
    medium_.WriteDefinition(definition);
    return CheckMenu(".");
  }
  ScratchMedium medium_;
};

TEST_F(DirectiveCheckTest, EmptyMenuTextsAndTextsTooLongToShowAreNamed) {
  std::string marks = "A";
  for (int i = 0; i < 32000; ++i) marks += "\xCC\x81";  // combining acute accents
  const CheckReport report =
      Check("'#launch-caption:\r\n'#quit-caption: " + marks + "\r\n'#not-found-message: " + marks +
            "\r\nTitle\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  EXPECT_THAT(
      Lines(report),
      ElementsAre("1 '#launch-caption: has no text after the colon: the menu ignores the line "
                  "and keeps its own text",
                  "2 '#quit-caption: holds more than the 256 characters the menu shows: it "
                  "shows the first 256 alone",
                  HasSubstr("3 '#not-found-message: holds more than the 1024 characters")));
}

TEST_F(DirectiveCheckTest, CommentsWrittenAlmostAsDirectivesGetADidYouMean) {
  const CheckReport report = Check(
      "Title\r\n$null$\r\n1\r\n'#ARGUMENTS: /S\r\n' #arguments: /S\r\n'# Heading: x\r\n"
      "A\r\n$exit$\r\n");
  EXPECT_THAT(Lines(report),
              ElementsAre(AllOf(HasSubstr("4 the line is a comment to the menu, not a directive"),
                                HasSubstr("did you mean '#arguments:?")),
                          HasSubstr("5 the line is a comment to the menu")));
}

TEST_F(DirectiveCheckTest, ManyLinesOfOneKindAreCountedNotEachNamed) {
  // Each line cost the checker about 600 bytes: 10 million of them took 6 GB.
  const int lines = 30000;
  std::string definition;
  for (int i = 0; i < lines; ++i) definition += "'#a: " + std::string(i % 3, 'v') + "\r\n";
  definition += "'#quit-caption: Q\r\n'#quit-caption: R\r\nTitle\r\n$null$\r\n1\r\nA\r\n$exit$\r\n";
  const CheckReport report = Check(definition);
  ASSERT_EQ(report.findings.size(), static_cast<size_t>(kMostFindingsOfAKind) + 3);
  EXPECT_THAT(report.findings[kMostFindingsOfAKind].message,
              HasSubstr("and " + std::to_string(lines - kMostFindingsOfAKind) + " more"));
  EXPECT_EQ(report.findings[kMostFindingsOfAKind].line, kMostFindingsOfAKind + 1);
  // The list for --json is bounded too, and a note says so where it ends.
  EXPECT_EQ(report.directives.size(), kMostDirectiveRecords);
  const Finding& note = report.findings[kMostFindingsOfAKind + 1];
  EXPECT_EQ(note.severity, Severity::kNote);
  EXPECT_THAT(note.message, HasSubstr(std::to_string(lines + 2 - kMostDirectiveRecords) + " more"));
  EXPECT_EQ(note.line, static_cast<int64_t>(kMostDirectiveRecords) + 1);
  // Another kind of finding is named on its own.
  EXPECT_EQ(report.findings.back().line, lines + 2);
  EXPECT_THAT(report.findings.back().message, HasSubstr("a second"));
  EXPECT_EQ(report.ExitStatus(), 1);
}

TEST_F(DirectiveCheckTest, ARecordKeepsABoundedValue) {
  const CheckReport report = Check("'#picture-description: " + std::string(60000, 'p') +
                                   "\r\nTitle\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  EXPECT_THAT(Lines(report), IsEmpty());
  ASSERT_EQ(report.directives.size(), 1u);
  EXPECT_EQ(report.directives[0].value.size(), kLongestRecordedValue);
}

}  // namespace
}  // namespace tolvar
