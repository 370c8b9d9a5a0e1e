// NextSignificantLine and the text input under it, on real files: what is skipped, what is kept
// whole, line ends, encodings and the end of the file.
#include "shared_routines/next_significant_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shared_routines/native_path.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

// Every significant line of `file`, as NextSignificantLine returns them, with their line numbers,
// up to its end; any other error fails the test.
std::vector<std::pair<int64_t, std::string>> ReadToTheEnd(TextInput& file) {
  std::vector<std::pair<int64_t, std::string>> lines;
  while (true) {
    try {
      std::string line = NextSignificantLine(file, "a line");
      lines.emplace_back(file.line_number(), line);
    } catch (const RunTimeError& error) {
      if (error.kind() != RunTimeError::Kind::kEndOfFile) ADD_FAILURE() << error.what();
      return lines;
    }
  }
}

// The significant lines of a file that holds `bytes`; the same bytes read from memory (as the
// checker reads a menu file inside an image) must give the same lines.
std::vector<std::pair<int64_t, std::string>> SignificantLines(const std::string& bytes) {
  ScratchMedium medium;
  medium.Write("lines.txt", bytes);
  TextInput file("lines.txt");
  const auto lines = ReadToTheEnd(file);
  TextInput memory(bytes, "lines.txt");
  EXPECT_EQ(ReadToTheEnd(memory), lines) << "read from memory";
  return lines;
}

using Lines = std::vector<std::pair<int64_t, std::string>>;

TEST(NextSignificantLineTest, SkipsCommentsAndBlankLinesKeepsTheRestWhole) {
  EXPECT_EQ(SignificantLines("' comment\r\n\r\n'\r\nTitle\r\n\r\n  \r\n 'not a comment\r\n"
                             "it's kept\r\n' last\r\n"),
            (Lines{{4, "Title"}, {6, "  "}, {7, " 'not a comment"}, {8, "it's kept"}}));
}

TEST(NextSignificantLineTest, CrLfCrAndLfAllEndLines) {
  const Lines expected{{1, "one"}, {2, "two"}, {4, "four"}, {5, "five"}};
  EXPECT_EQ(SignificantLines("one\r\ntwo\r\n\r\nfour\r\nfive"), expected);
  EXPECT_EQ(SignificantLines("one\rtwo\r\rfour\rfive\r"), expected);
  EXPECT_EQ(SignificantLines("one\ntwo\n\nfour\nfive\n"), expected);
  EXPECT_EQ(SignificantLines("one\r\ntwo\r\rfour\nfive"), expected);
  // LF CR is two terminators with an empty line between.
  EXPECT_EQ(SignificantLines("one\n\rthree"), (Lines{{1, "one"}, {3, "three"}}));
}

TEST(NextSignificantLineTest, CrLfSplitByTheReadBufferIsOneTerminator) {
  for (size_t prefix : {65534u, 65535u, 65536u}) {
    const std::string first(prefix, 'x');
    EXPECT_EQ(SignificantLines(first + "\r\nsecond\r\n"), (Lines{{1, first}, {2, "second"}}))
        << prefix;
  }
}

TEST(NextSignificantLineTest, LineEndsOfAnotherKindAfterTheBufferIsRefilled) {
  // More than a buffer of lines ended by CR alone, then lines ended by LF alone: where the last
  // LF was found in the first buffer says nothing about the second.
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += "x\r";
  const Lines lines = SignificantLines(bytes + "one\ntwo\n");
  ASSERT_EQ(lines.size(), 40002u);
  EXPECT_EQ(lines[40000], (std::pair<int64_t, std::string>{40001, "one"}));
  EXPECT_EQ(lines[40001], (std::pair<int64_t, std::string>{40002, "two"}));
}

TEST(NextSignificantLineTest, LongCommentsAreSkippedWhole) {
  const std::string comment = "'" + std::string(3 * 1024 * 1024, 'c');
  EXPECT_EQ(SignificantLines(comment + "\nafter"), (Lines{{2, "after"}}));
}

TEST(NextSignificantLineTest, EndOfFileNamesTheFileTheLineAndWhatWasExpected) {
  ScratchMedium medium;
  medium.Write("menu/config.mnu", "Title\r\n' only a comment\r\n\r\n");
  TextInput file(".\\menu\\config.mnu");
  EXPECT_EQ(NextSignificantLine(file, "the title"), "Title");
  try {
    NextSignificantLine(file, "the command of entry 3");
    FAIL() << "no error at the end of the file";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), RunTimeError::Kind::kEndOfFile);
    EXPECT_EQ(error.line(), 4);
#ifdef _WIN32
    EXPECT_EQ(error.file(), "menu\\config.mnu");
#else
    EXPECT_EQ(error.file(), "menu/config.mnu");
#endif
    EXPECT_NE(std::string(error.what()).find("line 4: the file ends where the command of entry 3"),
              std::string::npos)
        << error.what();
  }
}

TEST(NextSignificantLineTest, SkipToSignificantLineStopsBeforeContentAndAtTheEnd) {
  ScratchMedium medium;
  medium.Write("lines.txt", "a\r\n' comment\r\n\r\nb\r\n' trailing comment\r\n\r\n");
  TextInput file("lines.txt");
  EXPECT_TRUE(SkipToSignificantLine(file));
  EXPECT_EQ(file.line_number(), 0);  // nothing consumed before a significant line
  EXPECT_EQ(NextSignificantLine(file, "a"), "a");
  EXPECT_TRUE(SkipToSignificantLine(file));
  EXPECT_EQ(file.line_number(), 3);
  EXPECT_EQ(NextSignificantLine(file, "b"), "b");
  EXPECT_FALSE(SkipToSignificantLine(file));
  EXPECT_FALSE(SkipToSignificantLine(file));
  EXPECT_EQ(file.line_number(), 6);
}

TEST(NextSignificantLineTest, EmptyOrCommentOnlyFileEndsAtOnce) {
  EXPECT_TRUE(SignificantLines("").empty());
  for (const auto& [bytes, message] :
       {std::pair{"", "lines.txt line 1: the file ends where the title was expected"},
        std::pair{"'a\r\n'b\r\n\r\n",
                  "lines.txt line 4: the file ends where the title was expected"}}) {
    ScratchMedium medium;
    medium.Write("lines.txt", bytes);
    TextInput file("lines.txt");
    try {
      const std::string line = NextSignificantLine(file, "the title");
      ADD_FAILURE() << "read \"" << line << "\" from \"" << bytes << '"';
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), RunTimeError::Kind::kEndOfFile) << error.what();
      EXPECT_EQ(std::string(error.what()), message);
    }
  }
}

TEST(NextSignificantLineTest, ByteOrderMarkIsSkippedAndTheFileReadAsUtf8) {
  // Without skipping the mark, the comment would become the title.
  EXPECT_EQ(SignificantLines("\xEF\xBB\xBF' comment\r\nCaf\xC3\xA9\r\n"),
            (Lines{{2, "Caf\xC3\xA9"}}));
  // In a file marked UTF-8, a stray invalid byte becomes U+FFFD instead of changing the encoding.
  EXPECT_EQ(SignificantLines("\xEF\xBB\xBF"
                             "Caf\xE9\r\n"),
            (Lines{{1, "Caf\xEF\xBF\xBD"}}));
}

TEST(NextSignificantLineTest, UnmarkedTextIsUtf8WhenValidOtherwiseAnsi) {
  EXPECT_EQ(SignificantLines("Caf\xC3\xA9\r\n"), (Lines{{1, "Caf\xC3\xA9"}}));
  // Windows-1252 (the ANSI code page of a Western system): e acute and the euro sign.
  EXPECT_EQ(SignificantLines("Caf\xE9 \x80\r\n"), (Lines{{1, "Caf\xC3\xA9 \xE2\x82\xAC"}}));
}

TEST(TextInputTest, WhatCannotBeOpenedIsAnErrorNamingTheFile) {
  ScratchMedium medium;
  std::filesystem::create_directories("menu/config.mnu");
  for (const char* path : {".\\menu\\config.mnu", "menu\\missing.mnu"}) {
    try {
      TextInput file(path);
      FAIL() << path << " opened";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), RunTimeError::Kind::kCannotOpen);
      EXPECT_EQ(error.line(), 0);  // the file as a whole
      EXPECT_EQ(error.file(), DisplayPath(path));
      EXPECT_NE(std::string(error.what()).find("cannot be opened"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tolvar
