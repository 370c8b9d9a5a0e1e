// The checker on media with icons and folders to browse: what it says of each icon the menu cannot
// show, on the line that names it, and of folder commands; and nothing of those that work.
#include "menu_check/checks/icon_folder_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "menu_check/menu_check.h"
#include "picture/icon_picture.h"
#include "shared_routines/file_exists.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

// A 24-bit bitmap `width` x `height` declares, with one row of pixels behind the header.
std::string Bitmap(int width, int height) {
  const auto u32 = [](int value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                       static_cast<char>((value >> 16) & 0xFF),
                       static_cast<char>((value >> 24) & 0xFF)};
  };
  const int row = (width * 3 + 3) / 4 * 4;
  return "BM" + u32(54 + row) + u32(0) + u32(54) + u32(40) + u32(width) + u32(height) +
         std::string("\x01\0\x18\0", 4) + u32(0) + u32(row) + u32(2835) + u32(2835) + u32(0) +
         u32(0) + std::string(static_cast<size_t>(row) * (height > 1000 ? 1 : height), '\x40');
}

// "LINE: message" of each finding.
std::vector<std::string> Lines(const CheckReport& report) {
  std::vector<std::string> lines;
  for (const Finding& finding : report.findings) {
    lines.push_back(std::to_string(finding.line) + ": " + finding.message);
  }
  return lines;
}

TEST(IconFolderCheckTest, IconsThatShowAndFoldersOfTheMediumGiveNoFindings) {
  ScratchMedium medium;
  medium.Write("art/entry.bmp", Bitmap(16, 16));
  medium.Write("art/window.bmp", Bitmap(32, 32));
  std::filesystem::create_directories(medium.root() / "docs");
  medium.WriteDefinition(
      "'#window-icon: art\\window.bmp\r\nTitle\r\n$null$\r\n2\r\n"
      "'#icon: art\\entry.bmp\r\nDocuments\r\ndocs\\\r\n"
      "'#icon: art\\entry.bmp\r\nHeading\r\n$null$\r\n");
  EXPECT_THAT(Lines(CheckMenu(".", {})), IsEmpty());
}

TEST(IconFolderCheckTest, EachIconTheMenuCannotShowIsNamedOnItsLine) {
  ScratchMedium medium;
  medium.Write("art/photo.jpg",
               std::string("\xff\xd8\xff\xc0\0\x0b\x08\0\x10\0\x10\x01\x01\x11\0\xff\xd9", 17));
  medium.Write("art/huge.bmp", Bitmap(50000, 50000));
  medium.Write("art/text.ico", "no picture");
  medium.WriteDefinition(
      "'#window-icon: art\\missing.ico\r\nTitle\r\n$null$\r\n4\r\n"  // lines 1-4
      "'#icon: art\\photo.jpg\r\nA\r\n$null$\r\n"                    // 5-7
      "'#icon: art\\huge.bmp\r\nB\r\n$null$\r\n"                     // 8-10
      "'#icon: art\\text.ico\r\nC\r\n$null$\r\n"                     // 11-13
      "'#icon: C:\\art\\d.ico\r\nD\r\n$null$\r\n");                  // 14-16
  const std::vector<std::string> lines = Lines(CheckMenu(".", {}));
  ASSERT_EQ(lines.size(), 5u) << testing::PrintToString(lines);
  EXPECT_THAT(lines[0], HasSubstr("1: '#window-icon: no icon is shown: there is no file"));
  EXPECT_THAT(lines[1], HasSubstr("5: entry 1: '#icon: no icon is shown: \"art\\photo.jpg\": it "
                                  "is a JPEG picture; an icon must be ICO, PNG or BMP"));
  EXPECT_THAT(lines[2], HasSubstr("8: entry 2: '#icon: no icon is shown: \"art\\huge.bmp\""));
  EXPECT_THAT(lines[2], HasSubstr("50000 x 50000"));
  EXPECT_THAT(lines[3], HasSubstr("11: entry 3: '#icon: no icon is shown: \"art\\text.ico\""));
  EXPECT_THAT(lines[4], HasSubstr("14: entry 4: '#icon: "));
}

// The menu asks FileExists, which expands a pattern, and then opens the name as written: the
// checker answers as the window's own loader does, for an icon and for the picture.
TEST(IconFolderCheckTest, APatternFindsAPictureButOpensNoneAsTheWindowsLoaderAnswers) {
  ScratchMedium medium;
  medium.Write("art/entry.bmp", Bitmap(16, 16));
  ASSERT_TRUE(FileExists("art\\e*.bmp"));
  EXPECT_FALSE(LoadIconPicture("art\\e*.bmp", 16));
  medium.WriteDefinition(
      "'#window-icon: art\\e*.bmp\r\nTitle\r\nart\\entr?.bmp\r\n1\r\nA\r\n$null$\r\n");
  const std::vector<std::string> lines = Lines(CheckMenu(".", {}));
  ASSERT_EQ(lines.size(), 2u) << testing::PrintToString(lines);
  EXPECT_THAT(lines[0], HasSubstr("1: '#window-icon: no icon is shown: the name holds a wildcard"));
  EXPECT_THAT(lines[1], HasSubstr("3: "));
  EXPECT_THAT(lines[1], HasSubstr("the name holds a wildcard (* or ?)"));
#ifndef _WIN32
  // On Linux a name may hold '*' itself: then the menu opens that file, and so does the checker.
  medium.Write("art/e*.bmp", Bitmap(16, 16));
  EXPECT_TRUE(LoadIconPicture("art\\e*.bmp", 16));
  const std::vector<std::string> linux_lines = Lines(CheckMenu(".", {false, true}));
  ASSERT_EQ(linux_lines.size(), 1u) << testing::PrintToString(linux_lines);
  EXPECT_THAT(linux_lines[0], HasSubstr("3: "));
#endif
}

TEST(IconFolderCheckTest, AFolderCommandThatNamesNoFolderIsCalledMissingNotAMissingProgram) {
  ScratchMedium medium;
  medium.Write("docs/readme.txt", "text");
  medium.WriteDefinition(
      "Title\r\n$null$\r\n2\r\n"
      "Missing\r\nmanuals\\\r\n"            // lines 4-5
      "A file\r\ndocs\\readme.txt\\\r\n");  // 6-7
  EXPECT_THAT(Lines(CheckMenu(".", {})),
              ElementsAre(HasSubstr("5: entry 1: the command ends in a separator, which asks "
                                    "for a folder to show in the file manager, but "
                                    "\"manuals\\\" is no folder of the medium"),
                          HasSubstr("7: entry 2: the command ends in a separator")));
}

}  // namespace
}  // namespace tolvar
