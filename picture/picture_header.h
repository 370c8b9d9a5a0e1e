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

#include "menu_form/result.h"

namespace tolvar {

enum class PictureFormat {
  kPng,
  kJpeg,       // baseline or extended: a decoder can scale it down while decoding
  kWholeJpeg,  // progressive or lossless: decoded at full size whatever is asked
  kGif,
  kBmp,
  kTiff,
  kIco,  // a Windows icon whose image to show is a bitmap; one holding a PNG is shown as the PNG
};

struct PictureHeader {
  PictureFormat format = PictureFormat::kPng;
  uint64_t width = 0;
  uint64_t height = 0;
  // GIF: the offset just past the first frame's data, where the file can be cut and closed with a
  // trailer so that a decoder never sees the other frames; 0 when the first frame is incomplete.
  size_t first_frame_end = 0;
  // ICO: the directory entry of the image shown (the largest), and where its bytes lie.
  size_t icon_entry = 0;
  size_t icon_image_offset = 0;
  size_t icon_image_size = 0;
  bool icon_image_is_png = false;
};

// The largest file a picture is read from, and the pixels a decoder may fill: 16 megapixels
// (64 MB at four bytes) for most formats, 50 for a JPEG (a 48-megapixel camera photo, three bytes
// a pixel), counted at the size the platform's decoder really decodes to.
constexpr size_t kMaxPictureFileBytes = size_t{64} << 20;
constexpr uint64_t kMaxDecodedPixels = 16'000'000;
constexpr uint64_t kMaxDecodedJpegPixels = 50'000'000;
// What an icon's directory can say of one image; the image's own header must agree.
constexpr uint64_t kLargestIconSide = 256;

// The formats whose size ReadPictureHeader reads, in words, for authors.
constexpr const char* kPictureFormatsShown = "BMP, GIF, ICO, JPEG, PNG or TIFF";

// Reads the format and declared size from the start of a file's bytes. Fails, saying why in
// words, for a format whose size is not read here, naming it where its signature tells it (a
// decoder would learn its size only while decoding, and some, QuickTime pictures and metafiles,
// wrap or draw pictures of any size), and for a header too short or damaged to read a size from:
// a TIFF whose decoder would hold more than its declared size, an icon one of whose images
// declares another size than its directory or whose images together exceed the budget.
Expected<PictureHeader> ReadPictureHeader(std::string_view bytes);

// Whether decoding a picture of `header`'s declared size for an area of `area_width` x
// `area_height` stays within the budget. `decoder_scales_jpeg` says whether the platform's JPEG
// decoder shrinks by 1/2, 1/4 or 1/8 while decoding, down to no less than the area. A failure
// names the declared size.
Result CheckDecodingBudget(const PictureHeader& header, int area_width, int area_height,
                           bool decoder_scales_jpeg);

// ReadPictureHeader, then CheckDecodingBudget: the header of a picture that may be handed to a
// decoder, or why it may not.
Expected<PictureHeader> CheckBeforeDecoding(std::string_view bytes, int area_width, int area_height,
                                            bool decoder_scales_jpeg);

// Whether the size a decoder reports, once it has read the file itself, keeps within the size the
// header declared, which the budget was checked for. A file that tells the decoder more than it
// told the header reader (a repeated size field, say) is refused.
Result CheckDecoderSize(const PictureHeader& header, uint64_t width, uint64_t height);

// Cuts `bytes` to what is shown, and returns the header of what is left: a GIF to its first frame,
// closed with a trailer (an animation's other frames never show, and a decoder would hold them
// all); an icon to the image the header reader chose, as a PNG of its own or as an icon of one
// image, so that every decoder shows the same image; other pictures unchanged.
PictureHeader KeepShownImage(const PictureHeader& header, std::string* bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_HEADER_H_
