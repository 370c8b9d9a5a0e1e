// libFuzzer target: arbitrary bytes as the start of a picture file, through the header reader, the
// checks before decoding and, as the Windows menu does with what passes, through its BMP reader.
// Besides crashes and sanitizer reports it checks what any answer must hold: nothing whose size was
// not read reaches a decoder, a GIF's cut lies inside the file and reads back the same, an icon's
// image is at most 256 x 256, lies inside the file and reads back the same once cut out, a small
// declared size always passes, a large one never does unless a JPEG decoder scales it, a refusal
// names the declared size, and a BMP read has the declared size and is opaque.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "picture/bmp_pixels.h"
#include "picture/picture_header.h"
#include "tests/fuzz/property_check.h"

namespace tolvar {
namespace {

void CheckBudget(std::string_view bytes, const Expected<PictureHeader>& read, int width,
                 int height) {
  const Expected<PictureHeader> before = CheckBeforeDecoding(bytes, width, height, false);
  if (!read) {
    Check(!before.ok() && !before.reason().empty(), "an unknown format never reaches a decoder");
    return;
  }
  const PictureHeader& header = read.value();
  const Result plain = CheckDecodingBudget(header, width, height, false);
  const Result scaled = CheckDecodingBudget(header, width, height, true);
  Check(before.ok() == plain.ok && before.reason() == plain.reason,
        "a known format is held to the budget alone");
  const uint64_t pixels = header.width * header.height;
  const bool jpeg =
      header.format == PictureFormat::kJpeg || header.format == PictureFormat::kWholeJpeg;
  const uint64_t budget = jpeg ? kMaxDecodedJpegPixels : kMaxDecodedPixels;
  Check(plain.ok == (pixels <= budget), "the budget counts the declared pixels");
  Check(plain.ok || !scaled.ok || header.format == PictureFormat::kJpeg,
        "only a scalable JPEG gets through by scaling");
  Check(!plain.ok || scaled.ok, "scaling never refuses what fits unscaled");
  const std::string size = std::to_string(header.width) + " x " + std::to_string(header.height);
  Check(plain.ok || plain.reason.find(size) != std::string::npos, "a refusal names the size");
}

// What KeepShownImage leaves of a picture that was read: the same size, and for an icon the image
// the header chose, which reads back the same.
void CheckShownImage(std::string_view bytes, const PictureHeader& header) {
  std::string cut(bytes);
  const PictureHeader kept = KeepShownImage(header, &cut);
  Check(kept.width == header.width && kept.height == header.height, "what is kept keeps its size");
  if (header.format == PictureFormat::kGif && header.first_frame_end != 0) {
    const Expected<PictureHeader> again = ReadPictureHeader(cut);
    Check(again.ok() && again->width == header.width && again->height == header.height &&
              again->first_frame_end == header.first_frame_end,
          "a GIF cut after its first frame reads the same");
  } else if (header.format == PictureFormat::kIco) {
    Check(header.width <= kLargestIconSide && header.height <= kLargestIconSide,
          "an icon's image is at most 256 x 256");
    Check(header.icon_image_offset <= bytes.size() &&
              header.icon_image_size <= bytes.size() - header.icon_image_offset,
          "an icon's image lies inside the file");
    const Expected<PictureHeader> again = ReadPictureHeader(cut);
    Check(again.ok() && again->width == header.width && again->height == header.height &&
              again->format == kept.format,
          "an icon's image cut out reads the same");
  } else {
    Check(cut == bytes, "only a GIF or an icon is cut");
  }
}

}  // namespace
}  // namespace tolvar

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvar;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Expected<PictureHeader> read = ReadPictureHeader(bytes);
  CheckBudget(bytes, read, 489, 121);
  CheckBudget(bytes, read, 1, 1);
  CheckBudget(bytes, read, 978, 242);
  if (!read) return 0;
  const PictureHeader& header = read.value();
  Check(header.width <= 0xFFFFFFFFu && header.height <= 0xFFFFFFFFu, "sizes fit 32 bits");
  Check(header.first_frame_end <= size, "the first frame ends inside the file");

  if (header.format == PictureFormat::kBmp && CheckDecodingBudget(header, 489, 121, false).ok) {
    const std::optional<PicturePixels> pixels = ReadPlainBmp(bytes);
    if (pixels) {
      Check(static_cast<uint64_t>(pixels->width) == header.width &&
                static_cast<uint64_t>(pixels->height) == header.height,
            "a BMP is read at its declared size");
      Check(pixels->pixels.size() == header.width * header.height, "a BMP read fills its pixels");
      for (const uint32_t pixel : pixels->pixels) Check(pixel >> 24 == 0xFF, "a BMP is opaque");
    }
  }
  CheckShownImage(bytes, header);
  return 0;
}
