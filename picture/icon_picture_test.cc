// Tests of the icon pictures through each platform's own decoder: the three formats show at the
// list's size, others are refused by name, and a file that declares gigapixels is refused from
// its header alone.
#include "picture/icon_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// 0xRRGGBB of the quadrants: red, green (top), blue, yellow.
constexpr uint32_t kQuadrants[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

uint32_t QuadrantAt(int x, int y, int side) {
  return kQuadrants[(y >= side / 2 ? 2 : 0) + (x >= side / 2 ? 1 : 0)];
}

// A 32-bit bitmap's info header and pixels, bottom row first, `height_field` as its header says
// (an icon's image counts its mask in it).
std::string QuadrantDib(int side, int height_field) {
  std::string dib;
  Put(dib, 40, 4);
  Put(dib, side, 4);
  Put(dib, height_field, 4);
  Put(dib, 1, 2);
  Put(dib, 32, 2);
  dib.append(24, '\0');
  for (int y = side - 1; y >= 0; --y) {
    for (int x = 0; x < side; ++x) Put(dib, 0xFF000000u | QuadrantAt(x, y, side), 4);
  }
  return dib;
}

std::string QuadrantBmp(int side) {
  const std::string dib = QuadrantDib(side, side);
  std::string bmp = "BM";
  Put(bmp, static_cast<uint32_t>(14 + dib.size()), 4);
  Put(bmp, 0, 4);
  Put(bmp, 54, 4);
  return bmp + dib;
}

// An icon of one bitmap image, `side` pixels square, with its all-showing mask.
std::string QuadrantIco(int side) {
  const std::string image = QuadrantDib(side, side * 2) +
                            std::string(static_cast<size_t>((side + 31) / 32 * 4) * side, 0);
  std::string ico = std::string("\0\0\1\0\1\0", 6);
  ico += static_cast<char>(side % 256);
  ico += static_cast<char>(side % 256);
  ico += std::string("\0\0\1\0\x20\0", 6);
  Put(ico, static_cast<uint32_t>(image.size()), 4);
  Put(ico, 22, 4);
  return ico + image;
}

std::string PathIn(const ScratchMedium& medium, const char* name) {
  return (medium.root() / name).u8string();
}

void ExpectQuadrants(const Expected<PicturePixels>& icon, int side, const char* name) {
  ASSERT_TRUE(icon.ok()) << name << ": " << icon.reason();
  ASSERT_EQ(icon->width, side) << name;
  ASSERT_EQ(icon->height, side) << name;
  // Away from the quadrants' edges, where scaling mixes them.
  const std::pair<int, int> corners[] = {
      {1, 1}, {side - 2, 1}, {1, side - 2}, {side - 2, side - 2}};
  for (const auto& [x, y] : corners) {
    const uint32_t pixel = icon->pixels[static_cast<size_t>(y) * side + x];
    EXPECT_EQ(pixel, 0xFF000000u | QuadrantAt(x, y, side)) << name << " at " << x << ", " << y;
  }
}

TEST(IconPictureTest, IcoPngAndBmpShowAtTheListsSizeScaledFromAnySize) {
  ScratchMedium medium;
  medium.Write("small.bmp", QuadrantBmp(16));
  medium.Write("large.bmp", QuadrantBmp(64));
  medium.Write("icon.ico", QuadrantIco(32));
  // A PNG inside an icon is read as the PNG it is; a plain PNG through the same decoder.
  for (const char* name : {"small.bmp", "large.bmp", "icon.ico"}) {
    ExpectQuadrants(LoadIconPicture(PathIn(medium, name), 16), 16, name);
  }
  ExpectQuadrants(LoadIconPicture(PathIn(medium, "small.bmp"), 24), 24, "small.bmp at 150 %");
  EXPECT_TRUE(LoadIconPicture(PathIn(medium, "icon.ico"), 16).result().ok);
}

TEST(IconPictureTest, OtherFormatsAndFilesThatAreNoPictureAreRefusedSayingWhy) {
  ScratchMedium medium;
  // Shown as a splash picture, but no icon format.
  medium.Write("icon.gif", std::string("GIF89a\x10\0\x10\0\0\0\0", 13));
  medium.Write("icon.jpg",
               std::string("\xff\xd8\xff\xc0\0\x0b\x08\0\x10\0\x10\x01\x01\x11\0\xff\xd9", 17));
  for (const char* name : {"icon.gif", "icon.jpg"}) {
    const Result checked = LoadIconPicture(PathIn(medium, name), 16).result();
    EXPECT_FALSE(checked.ok) << name;
    EXPECT_NE(checked.reason.find("an icon must be ICO, PNG or BMP"), std::string::npos)
        << name << ": " << checked.reason;
  }
  medium.Write("notes.ico", "plain text, no picture");
  EXPECT_FALSE(LoadIconPicture(PathIn(medium, "notes.ico"), 16).result().ok);
  EXPECT_FALSE(LoadIconPicture(PathIn(medium, "missing.ico"), 16).result().ok);
}

TEST(IconPictureTest, AnIconThatDeclaresGigapixelsIsRefusedFromItsHeader) {
  ScratchMedium medium;
  // Headers alone, with no pixels behind them: a decoder that began would fail differently.
  std::string bmp = QuadrantBmp(4).substr(0, 54);
  bmp.replace(18, 8, std::string("\x40\x9c\0\0\x40\x9c\0\0", 8));  // 40000 x 40000
  medium.Write("bomb.bmp", bmp);
  medium.Write("bomb.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x9c\x40\0\0\x9c\x40"
                                       "\x08\x02\0\0\0\0\0\0\0",
                                       33));
  for (const char* name : {"bomb.bmp", "bomb.png"}) {
    const Result checked = LoadIconPicture(PathIn(medium, name), 16).result();
    EXPECT_FALSE(checked.ok) << name;
    EXPECT_NE(checked.reason.find("40000 x 40000"), std::string::npos)
        << name << ": " << checked.reason;
  }
  // An icon's directory says 256 at most, and an image that declares more than its entry is
  // refused.
  std::string ico = QuadrantIco(16);
  ico.replace(22 + 4, 8, std::string("\x40\x9c\0\0\x80\x38\x01\0", 8));  // 40000 x 80000 / 2
  medium.Write("bomb.ico", ico);
  EXPECT_FALSE(LoadIconPicture(PathIn(medium, "bomb.ico"), 16).ok());
}

}  // namespace
}  // namespace tolvar
