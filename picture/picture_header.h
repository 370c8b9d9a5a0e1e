// What a picture file says about its own size, read from its first bytes before any decoder sees
// them, and whether it may be decoded at all: only a format whose size is read here, and only
// within the budget every picture must keep to. Plain C++: the menu's window and the checker on
// both platforms decide the same way.
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

// The formats whose size ReadPictureHeader reads, in words, for authors.
constexpr const char* kPictureFormatsShown = "BMP, GIF, JPEG, PNG or TIFF";

// Reads the format and declared size from the start of a file's bytes. Never fails: what it
// cannot make sense of is kUnknown. A TIFF whose decoder would hold more than its declared size
// (more than four samples a pixel, tiles larger than the picture) is kUnknown too.
PictureHeader ReadPictureHeader(std::string_view bytes);

// Whether the picture file `bytes`, whose header is `header`, may be handed to a decoder for an
// area of `area_width` x `area_height`: empty when it may; otherwise why not, in words. Any
// format the header reader does not know is refused whatever it holds (a decoder would learn its
// size only while decoding, and some, icons and metafiles, wrap pictures of any size), naming
// the format where its signature tells it; then the decoding budget (CheckDecodingBudget).
std::string CheckBeforeDecoding(std::string_view bytes, const PictureHeader& header, int area_width,
                                int area_height, bool decoder_scales_jpeg);

// Whether decoding a picture of `header`'s declared size for an area of `area_width` x
// `area_height` stays within the budget. `decoder_scales_jpeg` says whether the platform's JPEG
// decoder shrinks by 1/2, 1/4 or 1/8 while decoding, down to no less than the area. Empty when it
// fits; otherwise why not, naming the declared size.
std::string CheckDecodingBudget(const PictureHeader& header, int area_width, int area_height,
                                bool decoder_scales_jpeg);

// Whether the size a decoder reports, once it has read the file itself, keeps within the size the
// header declared, which the budget was checked for: empty when it does. A file that tells the
// decoder more than it told the header reader (a repeated size field, say) is refused.
std::string CheckDecoderSize(const PictureHeader& header, uint64_t width, uint64_t height);

// `bytes` cut to the first frame of a GIF, closed with a trailer; other pictures unchanged. An
// animation's other frames never show, and a decoder would hold them all.
void KeepFirstFrame(const PictureHeader& header, std::string* bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_HEADER_H_
