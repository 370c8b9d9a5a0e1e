// Tests of what may reach a decoder: formats whose size is not read are refused by name, a TIFF
// counts what its decoder holds, an icon's images must agree with its directory, and a decoder
// may not find more pixels than the header declared.
#include "picture/picture_header.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tolvar {
namespace {

using std::string_literals::operator""s;

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A little-endian TIFF whose first directory holds `fields` (tag, value) as SHORT entries.
std::string Tiff(const std::vector<std::pair<uint16_t, uint16_t>>& fields) {
  std::string tiff = "II*\0"s;
  Put(tiff, 8, 4);
  Put(tiff, static_cast<uint32_t>(fields.size()), 2);
  for (const auto& [tag, value] : fields) {
    Put(tiff, tag, 2);
    Put(tiff, 3, 2);  // SHORT
    Put(tiff, 1, 4);
    Put(tiff, value, 4);
  }
  Put(tiff, 0, 4);  // no next directory
  return tiff;
}

std::string Refusal(const std::string& bytes) {
  return CheckBeforeDecoding(bytes, 489, 121, false).reason();
}

// The start of a PNG: its signature and IHDR, declaring `width` x `height`.
std::string PngHeader(uint32_t width, uint32_t height) {
  std::string png = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR"s;
  for (const uint32_t side : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>((side >> shift) & 0xFF);
  }
  return png + "\x08\x06\0\0\0"s;
}

// An icon's bitmap: its BITMAPINFOHEADER (`height` counting the mask), then `pixel_bytes` bytes.
std::string IconBitmap(int32_t width, int32_t height, uint16_t bits, size_t pixel_bytes) {
  std::string bitmap;
  Put(bitmap, 40, 4);
  Put(bitmap, static_cast<uint32_t>(width), 4);
  Put(bitmap, static_cast<uint32_t>(height), 4);
  Put(bitmap, 1, 2);
  Put(bitmap, bits, 2);
  bitmap.append(24, '\0');
  return bitmap + std::string(pixel_bytes, '\0');
}

struct IconEntry {
  int side;  // as the directory writes it: 0 is 256
  std::string image;
};

// An icon whose directory lists `entries`, their images following it in order.
std::string Icon(const std::vector<IconEntry>& entries) {
  std::string icon = "\0\0\1\0"s;
  Put(icon, static_cast<uint32_t>(entries.size()), 2);
  size_t offset = 6 + 16 * entries.size();
  for (const IconEntry& entry : entries) {
    Put(icon, static_cast<uint32_t>(entry.side), 1);
    Put(icon, static_cast<uint32_t>(entry.side), 1);
    Put(icon, 0, 2);
    Put(icon, 1, 2);
    Put(icon, 32, 2);
    Put(icon, static_cast<uint32_t>(entry.image.size()), 4);
    Put(icon, static_cast<uint32_t>(offset), 4);
    offset += entry.image.size();
  }
  for (const IconEntry& entry : entries) icon += entry.image;
  return icon;
}

TEST(CheckBeforeDecodingTest, RefusesEveryFormatWhoseSizeIsNotReadNamingIt) {
  const std::string png_header = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\0\0\0\0\x40"s;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\0\0\2\0\1\0\0\0\0\0\1\0\x20\0"s + png_header, "(CUR)"},
      {"RIFF\0\0\0\0ACONanih"s, "(ANI)"},
      {"icns\0\0\0\x20ic08\0\0\0\x18"s + png_header, "(ICNS)"},
      {"\0\0\0\x20idat"s + png_header, "(QTIF)"},
      {"\x0a\0\x0a"s + std::string(15, '\0') + "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0"s, "(TGA)"},
      {"\xd7\xcd\xc6\x9a\0\0"s, "(WMF)"},
      {"\x01\0\0\0"s + std::string(36, '\0') + " EMF"s, "(EMF)"},
      {"/* XPM */\nstatic char *x[] = {"s, "(XPM)"},
      {"#define x_width 16\n"s, "(XBM)"},
      {"P6\n30000 30000\n255\n"s, "(PNM)"},
      {"RIFF\0\0\0\0WEBPVP8 "s, "WebP"},
      {"<?xml version=\"1.0\"?>\n<svg width=\"99999\" height=\"99999\">"s, "SVG"},
      {"\x89PNG\r\n\x1a\n"s, "PNG picture whose header is cut short"},
      {"This is a text file with a picture's name.\r\n"s, "not a picture"},
      {""s, "not a picture"},
  };
  for (const auto& [bytes, words] : cases) {
    const std::string refusal = Refusal(bytes);
    EXPECT_NE(refusal.find(words), std::string::npos) << words << ": " << refusal;
    EXPECT_NE(refusal.find(kPictureFormatsShown), std::string::npos) << words << ": " << refusal;
    // A format of its own is to be converted; a damaged picture or text is not.
    const bool other_format = words.front() == '(' || words == "WebP" || words == "SVG";
    EXPECT_EQ(refusal.find("save it as PNG") != std::string::npos, other_format) << refusal;
  }
  EXPECT_TRUE(CheckBeforeDecoding(png_header, 489, 121, false).ok());
  EXPECT_NE(
      Refusal("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30"s).find("30000 x 30000"),
      std::string::npos);
}

TEST(ReadPictureHeaderTest, ATiffCountsWhatItsDecoderHolds) {
  // A 256 x 256 tile over a small picture is what many programs write.
  PictureHeader header =
      ReadPictureHeader(Tiff({{256, 100}, {257, 50}, {322, 256}, {323, 256}})).value();
  EXPECT_EQ(header.format, PictureFormat::kTiff);
  EXPECT_EQ(header.width, 100u);
  EXPECT_EQ(header.height, 50u);

  // A size written twice counts at the larger, whichever the decoder keeps.
  header = ReadPictureHeader(Tiff({{256, 60000}, {256, 10}, {257, 60000}, {257, 10}})).value();
  EXPECT_EQ(header.width, 60000u);
  EXPECT_EQ(header.height, 60000u);

  // Layouts whose decoder holds far more than the picture's pixels are not read as a size.
  for (const auto& fields : std::vector<std::vector<std::pair<uint16_t, uint16_t>>>{
           {{256, 64}, {257, 64}, {277, 200}},                // samples a pixel
           {{256, 64}, {257, 64}, {258, 64}},                 // bits a sample
           {{256, 64}, {257, 64}, {322, 8192}, {323, 8192}},  // tiles of 64 megapixels
       }) {
    const std::string tiff = Tiff(fields);
    EXPECT_FALSE(ReadPictureHeader(tiff).ok()) << fields.back().first;
    EXPECT_NE(Refusal(tiff).find("TIFF picture"), std::string::npos) << fields.back().first;
  }
}

TEST(CheckDecoderSizeTest, RefusesMorePixelsThanTheHeaderDeclared) {
  PictureHeader header;
  header.format = PictureFormat::kGif;
  header.width = 300;
  header.height = 200;
  EXPECT_TRUE(CheckDecoderSize(header, 300, 200).ok);
  EXPECT_TRUE(CheckDecoderSize(header, 100, 200).ok);
  const std::string refusal = CheckDecoderSize(header, 300, 20000).reason;
  EXPECT_NE(refusal.find("300 x 20000"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("300 x 200 "), std::string::npos) << refusal;
}

TEST(ReadPictureHeaderTest, AnIconShowsItsLargestImageAndKeepsOnlyThatOne) {
  const std::string small = IconBitmap(16, 32, 8, 16 * 16 + 1024 + 64);
  const std::string large = IconBitmap(48, 96, 32, 48 * 48 * 4 + 48 * 4);
  const std::string png = PngHeader(256, 256) + "rest of the PNG"s;
  // The largest comes last, first or between: it is the one shown, at its size.
  for (const auto& entries :
       std::vector<std::vector<IconEntry>>{{{16, small}, {48, large}},
                                           {{48, large}, {16, small}},
                                           {{16, small}, {0, png}, {48, large}}}) {
    const std::string icon = Icon(entries);
    const Expected<PictureHeader> header = CheckBeforeDecoding(icon, 489, 121, false);
    ASSERT_TRUE(header.ok()) << header.reason();
    EXPECT_EQ(header->format, PictureFormat::kIco);
    const uint64_t side = entries.size() == 3 ? 256 : 48;
    EXPECT_EQ(header->width, side);
    EXPECT_EQ(header->height, side);

    // Cut to that image: a PNG of its own, or an icon of one image that reads the same.
    std::string shown = icon;
    const PictureHeader kept = KeepShownImage(header.value(), &shown);
    if (side == 256) {
      EXPECT_EQ(shown, png);
      EXPECT_EQ(kept.format, PictureFormat::kPng);
    } else {
      EXPECT_EQ(shown, Icon({{48, large}}));
      const Expected<PictureHeader> again = ReadPictureHeader(shown);
      ASSERT_TRUE(again.ok()) << again.reason();
      EXPECT_EQ(again->width, 48u);
      EXPECT_EQ(kept.icon_image_offset, again->icon_image_offset);
    }
  }
}

TEST(ReadPictureHeaderTest, RefusesIconsWhoseImagesLieOrAreCutShort) {
  const std::string good = IconBitmap(32, 64, 32, 32 * 32 * 4 + 32 * 4);
  ASSERT_TRUE(ReadPictureHeader(Icon({{32, good}})).ok());
  const std::vector<std::pair<std::string, std::string>> cases = {
      // A PNG inside claiming gigapixels, or merely another size than its directory.
      {Icon({{0, PngHeader(60000, 60000)}}), "declares 60000 x 60000 pixels"},
      {Icon({{16, PngHeader(17, 16)}}), "declares 17 x 16 pixels"},
      // A bitmap inside whose height, with its mask, is not twice the directory's.
      {Icon({{32, IconBitmap(32, 32, 32, 32 * 32 * 4)}}), "declares 32 x 16 pixels"},
      {Icon({{32, IconBitmap(-70000, 64, 32, 16)}}), "declares 70000 x 32 pixels"},
      {Icon({{16, PngHeader(16, 16).substr(0, 20)}}), "PNG inside is cut short"},
      {Icon({{16, "\x28\0\0"s}}), "bitmap inside is cut short"},
      {Icon({{32, good}}).substr(0, 100), "beyond the end of the file"},
      {Icon({{32, good}, {32, good}}).substr(0, 30), "directory is cut short"},
      {"\0\0\1\0\0\0"s, "holds no image"},
      {"\0\0\1\0"s, "directory is cut short"},
  };
  for (const auto& [icon, words] : cases) {
    const std::string refusal = Refusal(icon);
    EXPECT_NE(refusal.find("(ICO)"), std::string::npos) << words << ": " << refusal;
    EXPECT_NE(refusal.find(words), std::string::npos) << words << ": " << refusal;
  }

  // Many images, each of 256 x 256 and all pointing at one PNG: a decoder that read them all
  // would hold gigabytes. Refused from the directory, without reading the images twice.
  const std::string png = PngHeader(256, 256);
  std::string icon = "\0\0\1\0"s;
  const uint32_t count = 65535;
  Put(icon, count, 2);
  for (uint32_t i = 0; i < count; ++i) {
    Put(icon, 0, 4);
    Put(icon, 1 | (32 << 16), 4);
    Put(icon, static_cast<uint32_t>(png.size()), 4);
    Put(icon, 6 + 16 * count, 4);
  }
  icon += png;
  EXPECT_NE(Refusal(icon).find("together hold more than the 16 megapixels"), std::string::npos)
      << Refusal(icon);
}

}  // namespace
}  // namespace tolvar
