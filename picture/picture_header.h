// What a picture file says about its own size, read from its first bytes before any decoder sees
// them, and whether decoding it fits the budget every picture must keep to. Plain C++: the menu's
// window and the checker on both platforms decide the same way.
#ifndef TOLVAR_PICTURE_PICTURE_HEADER_H_
#define TOLVAR_PICTURE_PICTURE_HEADER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvar {

enum class PictureFormat {
  kUnknown,  // another format, or a header too short or damaged to read a size from
  kPng,
  kJpeg,       // baseline or extended: a decoder can scale it down while decoding
  kWholeJpeg,  // progressive or lossless: decoded at full size whatever is asked
  kGif,
  kBmp,
  kTiff,
};

struct PictureHeader {
  PictureFormat format = PictureFormat::kUnknown;
  uint64_t width = 0;
  uint64_t height = 0;
  // GIF: the offset just past the first frame's data, where the file can be cut and closed with a
  // trailer so that a decoder never sees the other frames; 0 when the first frame is incomplete.
  size_t first_frame_end = 0;
};

// The largest file a picture is read from, and the pixels a decoder may fill: 16 megapixels
// (64 MB at four bytes) for most formats, 50 for a JPEG (a 48-megapixel camera photo, three bytes
// a pixel), counted at the size the platform's decoder really decodes to.
constexpr size_t kMaxPictureFileBytes = size_t{64} << 20;
constexpr uint64_t kMaxDecodedPixels = 16'000'000;
constexpr uint64_t kMaxDecodedJpegPixels = 50'000'000;

// Reads the format and declared size from the start of a file's bytes. Never fails: what it
// cannot make sense of is kUnknown, left to the decoder.
PictureHeader ReadPictureHeader(std::string_view bytes);

// Whether decoding a picture of `header`'s declared size for an area of `area_width` x
// `area_height` stays within the budget. `decoder_scales_jpeg` says whether the platform's JPEG
// decoder shrinks by 1/2, 1/4 or 1/8 while decoding, down to no less than the area. Empty when it
// fits; otherwise why not, naming the declared size.
std::string CheckDecodingBudget(const PictureHeader& header, int area_width, int area_height,
                                bool decoder_scales_jpeg);

// The same check for a size a decoder reports itself (a format ReadPictureHeader does not know).
std::string CheckDeclaredSize(uint64_t width, uint64_t height);

// `bytes` cut to the first frame of a GIF, closed with a trailer; other pictures unchanged. An
// animation's other frames never show, and a decoder would hold them all.
void KeepFirstFrame(const PictureHeader& header, std::string* bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_HEADER_H_
