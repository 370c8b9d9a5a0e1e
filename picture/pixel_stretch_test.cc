// Tests of StretchPixels on small pictures whose right answer is known.
#include "picture/pixel_stretch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tolvar {
namespace {

// Premultiplied B, G, R, A bytes of an opaque grey pixel.
void PutGrey(std::vector<uint8_t>& pixels, uint8_t grey) {
  pixels.insert(pixels.end(), {grey, grey, grey, 255});
}

uint8_t Red(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 16); }

TEST(PixelStretchTest, SameSizeCopiesExactly) {
  std::vector<uint8_t> source = {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 1, 2, 3, 255};
  const PicturePixels target = StretchPixels(source.data(), 2, 2, 8, 2, 2);
  EXPECT_EQ(target.width, 2);
  EXPECT_EQ(target.height, 2);
  EXPECT_EQ(target.pixels, (std::vector<uint32_t>{0xff1e140a, 0xff3c3228, 0xff5a5046, 0xff030201}));
}

TEST(PixelStretchTest, EnlargingKeepsTheEdgesAndRisesSmoothlyBetweenThem) {
  std::vector<uint8_t> source;
  PutGrey(source, 0);
  PutGrey(source, 255);
  const PicturePixels target = StretchPixels(source.data(), 2, 1, 8, 9, 3);
  ASSERT_EQ(target.pixels.size(), 9u * 3);
  for (int y = 0; y < 3; ++y) {
    const uint32_t* row = &target.pixels[static_cast<size_t>(y) * 9];
    EXPECT_EQ(row[0], 0xff000000u);
    EXPECT_EQ(row[8], 0xffffffffu);
    for (int x = 1; x < 9; ++x) EXPECT_LE(Red(row[x - 1]), Red(row[x])) << x;
    EXPECT_GT(Red(row[4]), 64);
    EXPECT_LT(Red(row[4]), 192);
  }
}

TEST(PixelStretchTest, ShrinkingAveragesWhatItDropsInsteadOfPickingPixels) {
  // A checkerboard of single black and white pixels: a picker would give black or white.
  std::vector<uint8_t> source;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) PutGrey(source, (x + y) % 2 == 0 ? 0 : 255);
  }
  const PicturePixels target = StretchPixels(source.data(), 8, 8, 32, 2, 2);
  ASSERT_EQ(target.pixels.size(), 4u);
  for (uint32_t pixel : target.pixels) {
    EXPECT_NEAR(Red(pixel), 128, 16);
    EXPECT_EQ(pixel & 0xff, (pixel >> 8) & 0xff);
  }
}

TEST(PixelStretchTest, TransparencyIsKeptAndLaidOverTheBackgroundAfterwards) {
  // Clear, half-covering red (premultiplied), and opaque green.
  std::vector<uint8_t> source = {0, 0, 0, 0, 0, 0, 128, 128, 0, 255, 0, 255};
  const PicturePixels target = StretchPixels(source.data(), 3, 1, 12, 3, 1);
  EXPECT_EQ(target.pixels, (std::vector<uint32_t>{0, 0x80800000, 0xff00ff00}));
  EXPECT_EQ(OverBackground(target.pixels[0], 0x0000ff), 0x0000ffu);
  EXPECT_EQ(OverBackground(target.pixels[1], 0x0000ff), 0x80007fu);
  EXPECT_EQ(OverBackground(target.pixels[2], 0x0000ff), 0x00ff00u);
  // A colour beyond its alpha, which premultiplied pixels never have, still cannot overflow.
  EXPECT_EQ(OverBackground(0x80ff0000, 0xffffff), 0xff7f7fu);
}

TEST(PixelStretchTest, RowsMayBePaddedAndSizesBelowOneDoNothing) {
  std::vector<uint8_t> source = {9, 9, 9, 255, 0xee, 0xee, 0xee, 0xee,  // padding after one pixel
                                 7, 7, 7, 255, 0xee, 0xee, 0xee, 0xee};
  EXPECT_EQ(StretchPixels(source.data(), 1, 2, 8, 1, 2).pixels,
            (std::vector<uint32_t>{0xff090909, 0xff070707}));
  EXPECT_TRUE(StretchPixels(source.data(), 1, 2, 8, 0, 2).pixels.empty());
  EXPECT_TRUE(StretchPixels(source.data(), 0, 2, 8, 1, 2).pixels.empty());
}

}  // namespace
}  // namespace tolvar
