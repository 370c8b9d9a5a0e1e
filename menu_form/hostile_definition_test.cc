// Broken and hostile menu files, each loaded through the form from a real file, with what a person
// sees: the menu as written, or a clear error naming the file and the line, never a crash, a hang,
// a silently cut text or a started program that was not asked for.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "menu_form/menu_form.h"
#include "shared_routines/next_significant_line.h"
#include "shared_routines/run_time_error.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using namespace std::string_literals;
using Kind = RunTimeError::Kind;

// One load of `definition` as menu/config.mnu in a fresh medium that also holds `files`.
struct Load {
  explicit Load(const std::string& definition, const std::string& separator = ",",
                const std::vector<std::pair<std::string, std::string>>& files = {})
      : menu(separator), view(menu.view), starter(menu.starter), form(menu.form) {
    for (const auto& [path, bytes] : files) medium.Write(path, bytes);
    medium.WriteDefinition(definition);
    error = menu.Load();
  }
  std::string Message() const { return error ? error->what() : "(loaded)"; }

  ScratchMedium medium;
  FakeMenu menu;
  FakeMenuView& view;
  FakeProgramStart& starter;
  MenuForm& form;
  std::optional<RunTimeError> error;
};

// Neither a control character nor a NUL from the file reaches the message.
bool Printable(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return text.find("\xC2\x9B") == std::string::npos;  // CSI, a C1 control
}

std::string Entries(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "Entry " + std::to_string(i) + "\r\nprogram" + std::to_string(i) + ".exe\r\n";
  }
  return text;
}

TEST(HostileDefinitionTest, BinaryGarbageIsAClearErrorAndShowsNoList) {
  // Random bytes, and a program put where the menu file should be.
  std::string random;
  uint32_t state = 12345;
  for (int i = 0; i < 64 * 1024; ++i) {
    state = state * 1103515245u + 12345u;
    random += static_cast<char>(state >> 24);
  }
  std::string program = "MZ\x90\0\x03\0\0\0\x04\0\0\0\xFF\xFF\0\0\r\n\0\0\r\n\x0E\x1F\xBA\x0E\0"s;
  program += "This program cannot be run in DOS mode.\r\r\n$\0\0\0\0\0\0\0PE\0\0L\x01\x05\0"s;
  for (const std::string& garbage : {random, program}) {
    const Load load(garbage);
    ASSERT_TRUE(load.error);
    EXPECT_EQ(load.error->kind(), Kind::kTypeMismatch) << load.Message();
    EXPECT_NE(load.Message().find("config.mnu line "), std::string::npos);
    EXPECT_TRUE(Printable(load.Message())) << load.Message();
    EXPECT_TRUE(load.view.items.empty());
  }
}

TEST(HostileDefinitionTest, NulBytesAreShownInTextsAndNeverStartAnything) {
  Load load("Ti\0tle\r\nmenu\\splash.bmp\0.exe\r\n1\r\nCap\0tion\r\nsetup.exe\0.txt\r\n"s, ",",
            {{"setup.exe", "program"}, {"menu/splash.bmp", "picture"}});
  ASSERT_FALSE(load.error) << load.Message();
  // A NUL would silently end the title or caption in the window: it shows as U+FFFD instead.
  EXPECT_EQ(load.view.calls.at(0), "SetTitle Ti\xEF\xBF\xBDtle");
  EXPECT_EQ(load.view.calls.at(1), "AddListItem 0 Please Select...");  // no such picture
  EXPECT_EQ(load.view.items.at(1), "Cap\xEF\xBF\xBDtion");
  // No file has a NUL in its name: "setup.exe" must not run for "setup.exe<NUL>.txt".
  load.view.UserSelects(1);
  load.form.OnGoBoxClick();
  EXPECT_EQ(load.view.calls.back(), "Warn Kestova: Can't find file!!");
  EXPECT_TRUE(load.starter.started.empty());

  const Load count("T\r\n$null$\r\n1\0\r\n"s);
  ASSERT_TRUE(count.error);
  EXPECT_EQ(count.error->kind(), Kind::kTypeMismatch);
  EXPECT_NE(count.Message().find("\"1\\x00\""), std::string::npos) << count.Message();
  EXPECT_NE(count.Message().find("NUL bytes"), std::string::npos) << count.Message();
}

TEST(HostileDefinitionTest, ControlCharactersInErrorsAreShownEscaped) {
  // An escape sequence in the count line must not reach the terminal that shows the error.
  const Load load(
      "T\r\n$null$\r\n\x1B]0;owned\x07\x1B[2J\xC2\x9B"
      "1m\r\n");
  ASSERT_TRUE(load.error);
  EXPECT_TRUE(Printable(load.Message())) << load.Message();
  EXPECT_NE(load.Message().find("\"\\x1B]0;owned\\x07\\x1B[2J\\x9B1m\""), std::string::npos)
      << load.Message();
}

TEST(HostileDefinitionTest, AMegabyteLineIsRefusedUnlessItIsAComment) {
  // Sixteen times the longest line: what holds here holds for any length, since the reader stops
  // keeping a line at the limit.
  const std::string huge(1024 * 1024, 'x');
  const Load title(huge + "\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  ASSERT_TRUE(title.error);
  EXPECT_EQ(title.error->kind(), Kind::kLineTooLong);
  EXPECT_EQ(title.error->line(), 1);
  EXPECT_NE(title.Message().find("longer than 65536 bytes, far too long for the title"),
            std::string::npos)
      << title.Message();
  EXPECT_TRUE(title.view.calls.empty());

  // A comment line is skipped without being kept, however long.
  const Load comment("'" + huge + "\r\nT\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  EXPECT_FALSE(comment.error) << comment.Message();
  EXPECT_EQ(comment.view.calls.front(), "SetTitle T");
}

TEST(HostileDefinitionTest, TheLongestLineLoadsAndOneByteMoreIsAnError) {
  const std::string longest(kLongestSignificantLine, 'p');
  const Load fits("T\r\n$null$\r\n1\r\nA\r\n" + longest + "\r\n");
  ASSERT_FALSE(fits.error) << fits.Message();
  EXPECT_EQ(fits.form.MenuEntries().at(0).Command, longest);

  const Load over("T\r\n$null$\r\n1\r\nA\r\n" + longest + "p\r\n");
  ASSERT_TRUE(over.error);
  EXPECT_EQ(over.error->kind(), Kind::kLineTooLong);
  EXPECT_EQ(over.error->line(), 5);
  EXPECT_NE(over.Message().find("the command of entry 1"), std::string::npos);
}

TEST(HostileDefinitionTest, MoreTextThanAMenuKeepsIsAnErrorAtTheLineWhereItRanOut) {
  // 1024 captions of the longest line and a one-byte command: just over the budget at the last.
  const std::string caption(kLongestSignificantLine, 'c');
  std::string text = "T\r\n$null$\r\n1024\r\n";
  for (int i = 0; i < 1024; ++i) text += caption + "\r\nx\r\n";
  const Load load(text);
  ASSERT_TRUE(load.error);
  EXPECT_EQ(load.error->kind(), Kind::kOutOfMemory);
  EXPECT_EQ(load.error->line(), 2 * 1024 + 3);
  EXPECT_NE(load.Message().find("config.mnu line 2051"), std::string::npos) << load.Message();
  EXPECT_NE(load.Message().find("up to entry 1024"), std::string::npos) << load.Message();
  EXPECT_TRUE(load.form.MenuEntries().empty());
}

TEST(HostileDefinitionTest, AMillionCommentLinesBeforeTheTitle) {
  std::string comments;
  for (int i = 0; i < 1000000; ++i) comments += i % 2 ? "' comment\r\n" : "\r\n";
  const Load loads(comments + "T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  ASSERT_FALSE(loads.error) << loads.Message();
  EXPECT_EQ(loads.view.calls.front(), "SetTitle T");
  // Line numbers in errors count every skipped line.
  const Load fails(comments + "T\r\n$null$\r\nmany\r\n");
  ASSERT_TRUE(fails.error);
  EXPECT_EQ(fails.error->line(), 1000003);
}

TEST(HostileDefinitionTest, InvalidUtf8AndStrayLineEndsReadAsAnAuthorMeantThem) {
  // ANSI and UTF-8 lines mixed, an overlong form, CR CR LF, LF CR, and no final line end.
  const Load load("T\xE9\r\r\n\n\r$null$\n\r\n 2 \n\rCaf\xC3\xA9\r\n\xC0\xAF\rB\xFF\r\n$exit$");
  ASSERT_FALSE(load.error) << load.Message();
  EXPECT_EQ(load.view.calls.front(), "SetTitle T\xC3\xA9");
  EXPECT_EQ(load.form.MenuEntries(),
            (std::vector<MenuEntry>{{"Caf\xC3\xA9", "\xC3\x80\xC2\xAF"}, {"B\xC3\xBF", "$exit$"}}));
}

TEST(HostileDefinitionTest, Utf16FilesAreAClearErrorNotGarbage) {
  const std::string text = "T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n";
  std::string little, big;
  for (const char c : text) {
    little += c;
    little += '\0';
    big += '\0';
    big += c;
  }
  for (const std::string& marked : {"\xFF\xFE" + little, "\xFE\xFF" + big}) {
    const Load load(marked);
    ASSERT_TRUE(load.error);
    EXPECT_EQ(load.error->kind(), Kind::kCannotOpen);
    EXPECT_NE(load.Message().find("saved as UTF-16 (\"Unicode\")"), std::string::npos);
    EXPECT_NE(load.Message().find("save it as ANSI or UTF-8"), std::string::npos);
    EXPECT_TRUE(load.view.calls.empty());
  }
  // Without the mark, the NUL bytes give it away at the count.
  const Load unmarked(little);
  ASSERT_TRUE(unmarked.error);
  EXPECT_NE(unmarked.Message().find("not UTF-16"), std::string::npos) << unmarked.Message();
}

TEST(HostileDefinitionTest, CountsAsAuthorsMightWriteThem) {
  struct Case {
    const char* count;
    std::optional<Kind> error;
    size_t entries;
  };
  const std::string zeros(400, '0');
  const std::string far_above = "1" + zeros + "e-1";
  const Case cases[] = {
      {"123456789012345678901234567890", Kind::kOverflow, 0},
      {"1e9", Kind::kOverflow, 0},
      {far_above.c_str(), Kind::kOverflow, 0},  // 1e399, however it is written
      {"&H10", std::nullopt, 16},
      {"-0", Kind::kSubscriptOutOfRange, 0},
      {" 12 ", std::nullopt, 12},
  };
  for (const Case& c : cases) {
    const Load load("T\r\n$null$\r\n" + std::string(c.count) + "\r\n" + Entries(16));
    ASSERT_EQ(load.error.has_value(), c.error.has_value()) << c.count << ": " << load.Message();
    if (c.error) {
      EXPECT_EQ(load.error->kind(), *c.error) << c.count;
      EXPECT_EQ(load.error->line(), 3) << c.count;
    } else {
      EXPECT_EQ(load.form.MenuEntries().size(), c.entries) << c.count;
    }
  }
}

}  // namespace
}  // namespace tolvar
