// TextInput on real files and on the same bytes in memory: line ends, lines kept whole or skipped
// whole however long, the read buffer's boundary, encodings and the end of the file.
#include "shared_routines/text_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "shared_routines/native_path.h"
#include "shared_routines/run_time_error.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using Lines = std::vector<std::pair<int64_t, std::string>>;

// Every line of `file` with its number, as a reader of the menu file meets them: a line that
// starts with an apostrophe is skipped unread (and shows as "(skipped)"), any other is read whole.
Lines ReadToTheEnd(TextInput& file) {
  Lines lines;
  std::string storage;
  while (file.PeekByte() >= 0) {
    if (file.PeekByte() == '\'') {
      file.SkipLine();
      lines.emplace_back(file.line_number(), "(skipped)");
      continue;
    }
    std::string_view line;
    if (!file.ReadLine(std::string::npos / 2, &storage, &line)) {
      ADD_FAILURE() << "a line was refused";
      break;
    }
    lines.emplace_back(file.line_number(), std::string(line));
  }
  return lines;
}

// The lines of a file that holds `bytes`; the same bytes read from memory (as the checker reads a
// menu file inside an image) must give the same lines.
Lines LinesOf(const std::string& bytes) {
  ScratchMedium medium;
  medium.Write("lines.txt", bytes);
  TextInput file("lines.txt");
  const Lines lines = ReadToTheEnd(file);
  TextInput memory(bytes, "lines.txt");
  EXPECT_EQ(ReadToTheEnd(memory), lines) << "read from memory";
  return lines;
}

TEST(TextInputTest, LinesComeWholeAsWritten) {
  EXPECT_EQ(LinesOf("' comment\r\n\r\n'\r\nTitle\r\n  \r\n 'not a comment\r\nit's kept\r\n"),
            (Lines{{1, "(skipped)"},
                   {2, ""},
                   {3, "(skipped)"},
                   {4, "Title"},
                   {5, "  "},
                   {6, " 'not a comment"},
                   {7, "it's kept"}}));
  EXPECT_TRUE(LinesOf("").empty());
}

TEST(TextInputTest, CrLfCrAndLfAllEndLines) {
  const Lines expected{{1, "one"}, {2, "two"}, {3, ""}, {4, "four"}, {5, "five"}};
  EXPECT_EQ(LinesOf("one\r\ntwo\r\n\r\nfour\r\nfive"), expected);
  EXPECT_EQ(LinesOf("one\rtwo\r\rfour\rfive\r"), expected);
  EXPECT_EQ(LinesOf("one\ntwo\n\nfour\nfive\n"), expected);
  EXPECT_EQ(LinesOf("one\r\ntwo\r\rfour\nfive"), expected);
  // LF CR is two terminators with an empty line between.
  EXPECT_EQ(LinesOf("one\n\rthree"), (Lines{{1, "one"}, {2, ""}, {3, "three"}}));
}

TEST(TextInputTest, CrLfSplitByTheReadBufferIsOneTerminator) {
  for (size_t prefix : {65534u, 65535u, 65536u}) {
    const std::string first(prefix, 'x');
    EXPECT_EQ(LinesOf(first + "\r\nsecond\r\n"), (Lines{{1, first}, {2, "second"}})) << prefix;
  }
}

TEST(TextInputTest, LineEndsOfAnotherKindAfterTheBufferIsRefilled) {
  // More than a buffer of lines ended by CR alone, then lines ended by LF alone: where the last
  // LF was found in the first buffer says nothing about the second.
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += "x\r";
  const Lines lines = LinesOf(bytes + "one\ntwo\n");
  ASSERT_EQ(lines.size(), 40002u);
  EXPECT_EQ(lines[40000], (std::pair<int64_t, std::string>{40001, "one"}));
  EXPECT_EQ(lines[40001], (std::pair<int64_t, std::string>{40002, "two"}));
}

TEST(TextInputTest, LongLinesAreSkippedWholeOrRefusedUnkept) {
  const std::string comment = "'" + std::string(3 * 1024 * 1024, 'c');
  EXPECT_EQ(LinesOf(comment + "\nafter"), (Lines{{1, "(skipped)"}, {2, "after"}}));

  ScratchMedium medium;
  medium.Write("lines.txt", "0123456789\r\nshort\r\n");
  TextInput file("lines.txt");
  std::string storage;
  std::string_view line = "untouched";
  EXPECT_FALSE(file.ReadLine(9, &storage, &line));
  EXPECT_EQ(line, "untouched");
}

TEST(TextInputTest, PeekingConsumesNothing) {
  ScratchMedium medium;
  medium.Write("lines.txt", "a\r\n\r\n' comment");
  TextInput file("lines.txt");
  EXPECT_EQ(file.PeekByte(), 'a');
  EXPECT_EQ(file.PeekLineStart(5), "a");
  EXPECT_EQ(file.line_number(), 0);
  file.SkipLine();
  EXPECT_EQ(file.PeekByte(), '\r');  // an empty line
  file.SkipLine();
  EXPECT_EQ(file.PeekLineStart(3), "' c");
  file.SkipLine();
  EXPECT_EQ(file.PeekByte(), -1);
  EXPECT_EQ(file.PeekByte(), -1);
  EXPECT_EQ(file.line_number(), 3);
}

TEST(TextInputTest, ByteOrderMarkIsSkippedAndTheFileReadAsUtf8) {
  // Without skipping the mark, the comment would be read as a line.
  EXPECT_EQ(LinesOf("\xEF\xBB\xBF' comment\r\nCaf\xC3\xA9\r\n"),
            (Lines{{1, "(skipped)"}, {2, "Caf\xC3\xA9"}}));
  // In a file marked UTF-8, a stray invalid byte becomes U+FFFD instead of changing the encoding.
  EXPECT_EQ(LinesOf("\xEF\xBB\xBF"
                    "Caf\xE9\r\n"),
            (Lines{{1, "Caf\xEF\xBF\xBD"}}));
}

TEST(TextInputTest, UnmarkedTextIsUtf8WhenValidOtherwiseAnsi) {
  EXPECT_EQ(LinesOf("Caf\xC3\xA9\r\n"), (Lines{{1, "Caf\xC3\xA9"}}));
  // Windows-1252 (the ANSI code page of a Western system): e acute and the euro sign.
  EXPECT_EQ(LinesOf("Caf\xE9 \x80\r\n"), (Lines{{1, "Caf\xC3\xA9 \xE2\x82\xAC"}}));
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
