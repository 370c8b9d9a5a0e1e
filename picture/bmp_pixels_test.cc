// Tests of ReadPlainBmp: each depth it reads, both row orders, and the files it must leave to
// GDI+ rather than read past their end.
#include "picture/bmp_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvar {
namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A BMP of `bits` a pixel whose rows, top first, are `rows` of palette indices (or, at 24 and 32
// bits, of 0xRRGGBB colours), with a palette of `palette` (0xRRGGBB) entries.
std::string Bmp(int bits, const std::vector<uint32_t>& palette,
                const std::vector<std::vector<uint32_t>>& rows, bool top_down) {
  const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
  const int stride = (width * bits + 31) / 32 * 4;
  const int offset = 54 + static_cast<int>(palette.size()) * 4;
  std::string bmp = "BM";
  Put(bmp, offset + stride * height, 4);
  Put(bmp, 0, 4);
  Put(bmp, offset, 4);
  Put(bmp, 40, 4);
  Put(bmp, width, 4);
  Put(bmp, top_down ? -height : height, 4);
  Put(bmp, 1, 2);
  Put(bmp, bits, 2);
  Put(bmp, 0, 4);  // BI_RGB
  Put(bmp, stride * height, 4);
  Put(bmp, 2835, 4);
  Put(bmp, 2835, 4);
  Put(bmp, static_cast<uint32_t>(palette.size()), 4);
  Put(bmp, 0, 4);
  for (const uint32_t colour : palette) Put(bmp, colour, 4);
  for (int i = 0; i < height; ++i) {
    const std::vector<uint32_t>& row = rows[top_down ? i : height - 1 - i];
    std::string packed(stride, '\0');
    for (int x = 0; x < width; ++x) {
      if (bits >= 24) {
        const int bytes = bits / 8;
        for (int k = 0; k < bytes; ++k) {
          packed[x * bytes + k] = static_cast<char>(row[x] >> (8 * k));
        }
      } else {
        const int bit = x * bits;
        packed[bit / 8] = static_cast<char>(packed[bit / 8] | (row[x] << (8 - bits - bit % 8)));
      }
    }
    bmp += packed;
  }
  return bmp;
}

// The pixels as 0xRRGGBB, rows top first; every pixel must be opaque.
std::vector<uint32_t> Colours(const PicturePixels& pixels) {
  EXPECT_EQ(pixels.pixels.size(), static_cast<size_t>(pixels.width) * pixels.height);
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < pixels.pixels.size(); ++i) {
    EXPECT_EQ(pixels.pixels[i] >> 24, 0xFFu) << "pixel " << i;
    colours.push_back(pixels.pixels[i] & 0xFFFFFF);
  }
  return colours;
}

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(BmpPixelsTest, ReadsEachDepthInBothRowOrders) {
  // Nine columns, so that a row of 1 or 4 bits a pixel ends inside a byte.
  const std::vector<std::vector<uint32_t>> indices = {{0, 1, 0, 0, 1, 1, 0, 1, 0},
                                                      {1, 1, 1, 0, 0, 0, 1, 0, 1}};
  std::vector<uint32_t> expected;
  for (const auto& row : indices) {
    for (const uint32_t index : row) expected.push_back(index == 0 ? kRed : kBlue);
  }
  for (const int bits : {1, 4, 8}) {
    for (const bool top_down : {false, true}) {
      const std::optional<PicturePixels> pixels =
          ReadPlainBmp(Bmp(bits, {kRed, kBlue}, indices, top_down));
      ASSERT_TRUE(pixels) << bits << " bits";
      EXPECT_EQ(pixels->width, 9);
      EXPECT_EQ(pixels->height, 2);
      EXPECT_EQ(Colours(*pixels), expected) << bits << " bits, top down: " << top_down;
    }
  }
  const std::vector<std::vector<uint32_t>> colours = {{kRed, kWhite, 0x123456},
                                                      {kBlue, 0xABCDEF, kRed}};
  for (const bool top_down : {false, true}) {
    const std::optional<PicturePixels> pixels = ReadPlainBmp(Bmp(24, {}, colours, top_down));
    ASSERT_TRUE(pixels);
    EXPECT_EQ(Colours(*pixels),
              (std::vector<uint32_t>{kRed, kWhite, 0x123456, kBlue, 0xABCDEF, kRed}));
  }
  // An index past a palette shorter than the bits allow is black, not what follows the palette.
  const std::optional<PicturePixels> pixels =
      ReadPlainBmp(Bmp(4, {kWhite, kWhite}, {{1, 5}}, false));
  ASSERT_TRUE(pixels);
  EXPECT_EQ(Colours(*pixels), (std::vector<uint32_t>{kWhite, 0}));
}

TEST(BmpPixelsTest, LeavesToGdiplusWhatItDoesNotReadOrWhatIsNotWhole) {
  const std::string good = Bmp(8, {kRed, kBlue}, {{0, 1, 1}, {1, 0, 0}}, false);
  std::vector<std::string> others;
  others.push_back(good.substr(0, good.size() - 1));  // the last row cut short
  std::string compressed = good;
  compressed[30] = 1;  // BI_RLE8
  others.push_back(compressed);
  others.push_back(Bmp(32, {}, {{kRed}}, false));  // may carry alpha
  std::string core = good;
  core[14] = 12;  // the OS/2 header, with three-byte palette entries
  others.push_back(core);
  std::string far_pixels = good;
  far_pixels[13] = 0x7F;  // the pixels past the end of the file
  others.push_back(far_pixels);
  std::string huge = good;
  huge[20] = 0x7F;  // 8 million pixels wide, 2 high: past the budget, and past the file
  others.push_back(huge);
  std::string long_palette = good;
  long_palette[46] = 0;
  long_palette[47] = 1;  // 256 colours, but the file holds two
  others.push_back(long_palette);
  for (size_t i = 0; i < others.size(); ++i) {
    EXPECT_FALSE(ReadPlainBmp(others[i])) << "case " << i;
  }
}

}  // namespace
}  // namespace tolvar
