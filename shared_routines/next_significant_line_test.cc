// ReadFieldLine on real files: what its errors name when the file ends or a line is too long.
#include "shared_routines/next_significant_line.h"

#include <gtest/gtest.h>

#include <string>

#include "shared_routines/run_time_error.h"
#include "shared_routines/text_input.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

TEST(ReadFieldLineTest, EndOfFileNamesTheFileTheLineAndWhatWasExpected) {
  ScratchMedium medium;
  medium.Write("menu/config.mnu", "Title\r\n' only a comment\r\n\r\n");
  TextInput file(".\\menu\\config.mnu");
  std::string storage;
  EXPECT_EQ(ReadFieldLine(file, true, &storage, "the title"), "Title");
  file.SkipLine();
  file.SkipLine();
  try {
    ReadFieldLine(file, false, &storage, "the command of entry", 3);
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

TEST(ReadFieldLineTest, AnEmptyFileEndsAtItsFirstLine) {
  ScratchMedium medium;
  medium.Write("lines.txt", "");
  TextInput file("lines.txt");
  std::string storage;
  try {
    ReadFieldLine(file, false, &storage, "the title");
    FAIL() << "no error in an empty file";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), RunTimeError::Kind::kEndOfFile);
    EXPECT_EQ(std::string(error.what()),
              "lines.txt line 1: the file ends where the title was expected");
  }
}

TEST(ReadFieldLineTest, ALineLongerThanTheLongestIsAnErrorNamingIt) {
  ScratchMedium medium;
  medium.Write("lines.txt", "Title\r\n" + std::string(kLongestSignificantLine, 'p') + "\r\n" +
                                std::string(kLongestSignificantLine + 1, 'c') + "\r\n");
  TextInput file("lines.txt");
  std::string storage;
  EXPECT_EQ(ReadFieldLine(file, true, &storage, "the title"), "Title");
  EXPECT_EQ(ReadFieldLine(file, true, &storage, "the picture").size(), kLongestSignificantLine);
  try {
    ReadFieldLine(file, true, &storage, "the count");
    FAIL() << "a line longer than the longest was read";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), RunTimeError::Kind::kLineTooLong);
    EXPECT_EQ(error.line(), 3);
    EXPECT_NE(std::string(error.what()).find("far too long for the count"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace tolvar
