// Tests of SplashPicture with real picture files: stretching, metafiles, damaged files, and that
// the file is free again once the picture is drawn.
#include "menu_window/win32/splash_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0), kGrey = RGB(192, 192, 192);

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8);
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xffff);
  Put16(out, value >> 16);
}

// A 24-bit BMP of `width` x `height` whose four quadrants are red, green (top) and blue, yellow.
std::string QuadrantBmp(int width, int height) {
  const int row_bytes = (width * 3 + 3) & ~3;
  std::string bmp = "BM";
  Put32(bmp, 54 + row_bytes * height);
  Put32(bmp, 0);
  Put32(bmp, 54);
  Put32(bmp, 40);
  Put32(bmp, width);
  Put32(bmp, height);  // bottom row first
  Put16(bmp, 1);
  Put16(bmp, 24);
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2, top = y < height / 2;
      const COLORREF color = top ? (left ? kRed : kGreen) : (left ? kBlue : kYellow);
      bmp += static_cast<char>(GetBValue(color));
      bmp += static_cast<char>(GetGValue(color));
      bmp += static_cast<char>(GetRValue(color));
    }
    bmp.append(row_bytes - width * 3, '\0');
  }
  return bmp;
}

COLORREF PixelAt(const SplashPicture& picture, int x, int y) {
  DIBSECTION section = {};
  EXPECT_EQ(GetObjectW(picture.bitmap(), sizeof section, &section), int{sizeof section});
  const auto* row =
      static_cast<const uint8_t*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes;
  return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
}

std::wstring PathIn(const ScratchMedium& medium, const char* name) {
  return (medium.root() / name).wstring();
}

TEST(SplashPictureTest, StretchesABitmapToTheWholeAreaWithoutKeepingProportions) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(8, 8));
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{200, 50}, kGrey).ok);
  BITMAP bitmap = {};
  GetObjectW(picture.bitmap(), sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 200);
  EXPECT_EQ(bitmap.bmHeight, 50);
  EXPECT_EQ(PixelAt(picture, 2, 2), kRed);
  EXPECT_EQ(PixelAt(picture, 197, 2), kGreen);
  EXPECT_EQ(PixelAt(picture, 2, 47), kBlue);
  EXPECT_EQ(PixelAt(picture, 197, 47), kYellow);
  EXPECT_EQ(PixelAt(picture, 50, 12), kRed);
  EXPECT_EQ(PixelAt(picture, 150, 37), kYellow);
}

TEST(SplashPictureTest, LeavesTheFileFreeOnceDrawn) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{20, 20}, kGrey).ok);
  // A medium's author may replace the picture while the menu runs; nothing may hold it.
  const HANDLE exclusive =
      CreateFileW(PathIn(medium, "splash.bmp").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

TEST(SplashPictureTest, DrawsAMetafileIntoTheArea) {
  ScratchMedium medium;
  const std::wstring path = PathIn(medium, "splash.emf");
  const HDC metafile = CreateEnhMetaFileW(nullptr, path.c_str(), nullptr, nullptr);
  ASSERT_NE(metafile, nullptr);
  const HBRUSH blue = CreateSolidBrush(kBlue);
  const RECT all = {0, 0, 100, 100};
  FillRect(metafile, &all, blue);
  DeleteObject(blue);
  DeleteEnhMetaFile(CloseEnhMetaFile(metafile));

  SplashPicture picture;
  const Result loaded = picture.Load(path, SIZE{60, 30}, kGrey);
  ASSERT_TRUE(loaded.ok) << loaded.reason;
  EXPECT_EQ(PixelAt(picture, 30, 15), kBlue);
}

TEST(SplashPictureTest, RefusesFilesThatAreNotPicturesAndDropsTheOldPicture) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  medium.Write("notes.bmp", "This is a text file with a picture's name.\r\n");
  medium.Write("cut.bmp", QuadrantBmp(64, 64).substr(0, 30));
  medium.Write("empty.png", "");
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{20, 20}, kGrey).ok);
  for (const char* name : {"notes.bmp", "cut.bmp", "empty.png"}) {
    const Result loaded = picture.Load(PathIn(medium, name), SIZE{20, 20}, kGrey);
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find("not a picture"), std::string::npos)
        << name << ": " << loaded.reason;
    EXPECT_TRUE(picture.empty()) << name;
  }
}

TEST(SplashPictureTest, RefusesPicturesThatDeclareMorePixelsThanTheBudgetNamingTheSize) {
  ScratchMedium medium;
  // Headers alone: the size must be refused before any decoder allocates for it.
  std::string bmp = QuadrantBmp(4, 4);
  bmp.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30000 x 30000
  medium.Write("bomb.bmp", bmp);
  medium.Write("bomb.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30"
                                       "\x08\x02\0\0\0\0\0\0\0",
                                       33));
  medium.Write("bomb.jpg", std::string("\xff\xd8\xff\xc0\0\x0b\x08\xff\xdc\xff\xdc\x01\x01\x11\0"
                                       "\xff\xd9",
                                       17));
  SplashPicture picture;
  for (const char* name : {"bomb.bmp", "bomb.png", "bomb.jpg"}) {
    const Result loaded = picture.Load(PathIn(medium, name), SIZE{489, 121}, kGrey);
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find(" x "), std::string::npos) << name << ": " << loaded.reason;
    EXPECT_NE(loaded.reason.find("megapixels"), std::string::npos) << name << ": " << loaded.reason;
  }
}

}  // namespace
}  // namespace tolvar
