// Tests of what may reach a decoder: formats whose size is not read are refused by name, a TIFF
// counts what its decoder holds, and a decoder may not find more pixels than the header declared.
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
  return CheckBeforeDecoding(bytes, ReadPictureHeader(bytes), 489, 121, false);
}

TEST(CheckBeforeDecodingTest, RefusesEveryFormatWhoseSizeIsNotReadNamingIt) {
  const std::string png_header = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\0\0\0\0\x40"s;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\0\0\1\0\1\0\0\0\0\0\1\0\x20\0"s + png_header, "(ICO)"},
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
  }
  EXPECT_EQ(Refusal(png_header), "");
  EXPECT_NE(
      Refusal("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30"s).find("30000 x 30000"),
      std::string::npos);
}

TEST(ReadPictureHeaderTest, ATiffCountsWhatItsDecoderHolds) {
  // A 256 x 256 tile over a small picture is what many programs write.
  PictureHeader header = ReadPictureHeader(Tiff({{256, 100}, {257, 50}, {322, 256}, {323, 256}}));
  EXPECT_EQ(header.format, PictureFormat::kTiff);
  EXPECT_EQ(header.width, 100u);
  EXPECT_EQ(header.height, 50u);

  // A size written twice counts at the larger, whichever the decoder keeps.
  header = ReadPictureHeader(Tiff({{256, 60000}, {256, 10}, {257, 60000}, {257, 10}}));
  EXPECT_EQ(header.width, 60000u);
  EXPECT_EQ(header.height, 60000u);

  // Layouts whose decoder holds far more than the picture's pixels are not read as a size.
  for (const auto& fields : std::vector<std::vector<std::pair<uint16_t, uint16_t>>>{
           {{256, 64}, {257, 64}, {277, 200}},                // samples a pixel
           {{256, 64}, {257, 64}, {258, 64}},                 // bits a sample
           {{256, 64}, {257, 64}, {322, 8192}, {323, 8192}},  // tiles of 64 megapixels
       }) {
    const std::string tiff = Tiff(fields);
    EXPECT_EQ(ReadPictureHeader(tiff).format, PictureFormat::kUnknown) << fields.back().first;
    EXPECT_NE(Refusal(tiff).find("TIFF picture"), std::string::npos) << fields.back().first;
  }
}

TEST(CheckDecoderSizeTest, RefusesMorePixelsThanTheHeaderDeclared) {
  PictureHeader header;
  header.format = PictureFormat::kGif;
  header.width = 300;
  header.height = 200;
  EXPECT_EQ(CheckDecoderSize(header, 300, 200), "");
  EXPECT_EQ(CheckDecoderSize(header, 100, 200), "");
  const std::string refusal = CheckDecoderSize(header, 300, 20000);
  EXPECT_NE(refusal.find("300 x 20000"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("300 x 200 "), std::string::npos) << refusal;
}

}  // namespace
}  // namespace tolvar
