// ReadPlainBmp: the header checked against the file's size, then each row copied or looked up in
// the palette. The arithmetic is 32-bit, which keeps the 32-bit program small: once the pixels
// are within the budget, no size here comes near 2^32.
#include "picture/bmp_pixels.h"

#include <cstring>

#include "picture/picture_header.h"

namespace tolvar {
namespace {

// Windows and every machine this is built for store numbers least significant byte first, as
// BMP does.
uint32_t Little32(std::string_view b, size_t at) {
  uint32_t value;
  std::memcpy(&value, b.data() + at, sizeof value);
  return value;
}

}  // namespace

std::optional<PicturePixels> ReadPlainBmp(std::string_view bytes) {
  constexpr uint32_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 40 || bytes.size() > kMaxPictureFileBytes || bytes[0] != 'B' ||
      bytes[1] != 'M') {
    return std::nullopt;
  }
  const auto size = static_cast<uint32_t>(bytes.size());
  const uint32_t pixel_offset = Little32(bytes, 10);
  const uint32_t info_size = Little32(bytes, 14);
  const auto columns = static_cast<int32_t>(Little32(bytes, 18));
  const auto rows = static_cast<int32_t>(Little32(bytes, 22));
  const uint32_t planes_and_bits = Little32(bytes, 26);
  const uint32_t bits = planes_and_bits >> 16;
  // The three headers Windows writes with a palette of four-byte entries after them; 0 is BI_RGB,
  // uncompressed.
  if ((info_size != 40 && info_size != 108 && info_size != 124) ||
      (planes_and_bits & 0xFFFF) != 1 || Little32(bytes, 30) != 0) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  // A negative height means rows top first.
  const uint32_t row_count = rows < 0 ? 0u - static_cast<uint32_t>(rows) : rows;
  constexpr auto kMaxPixels = static_cast<uint32_t>(kMaxDecodedPixels);
  if (columns <= 0 || row_count == 0 || row_count > kMaxPixels / columns) return std::nullopt;

  uint32_t colours = 0;
  if (bits <= 8) {
    colours = Little32(bytes, 46);  // 0: all that the bits can index
    if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
  }
  const uint32_t palette_offset = kFileHeader + info_size;
  const uint32_t stride = (columns * bits + 31) / 32 * 4;
  if (palette_offset + colours * 4 > size || pixel_offset > size ||
      size - pixel_offset < stride * row_count) {
    return std::nullopt;
  }

  const auto* file = reinterpret_cast<const uint8_t*>(bytes.data());
  const uint8_t* const palette = file + palette_offset;
  PicturePixels pixels;
  pixels.width = columns;
  pixels.height = static_cast<int>(row_count);
  pixels.pixels.resize(static_cast<size_t>(columns) * row_count);
  uint8_t* out = pixels.bytes();
  for (uint32_t y = 0; y < row_count; ++y) {
    const uint8_t* row = file + pixel_offset + (rows < 0 ? y : row_count - 1 - y) * stride;
    for (int32_t x = 0; x < columns; ++x, out += 4) {
      const uint8_t* colour;
      if (bits == 24) {
        colour = row + x * 3;
      } else {
        const uint32_t bit = x * bits;
        const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        // An index past a short palette shows black rather than what follows the palette.
        static constexpr uint8_t kBlack[3] = {0, 0, 0};
        colour = index < colours ? palette + index * 4 : kBlack;
      }
      out[0] = colour[0];
      out[1] = colour[1];
      out[2] = colour[2];
      out[3] = 0xFF;
    }
  }
  return pixels;
}

}  // namespace tolvar
