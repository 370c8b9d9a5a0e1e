// libFuzzer target: arbitrary bytes as the start of a picture file, through the header reader, the
// checks before decoding and, as the Windows menu does with what passes, through its BMP reader.
// Besides crashes and sanitizer reports it checks what any answer must hold: nothing whose size was
// not read reaches a decoder, a GIF's cut lies inside the file and reads back the same, a small
// declared size always passes, a large one never does unless a JPEG decoder scales it, a refusal
// names the declared size, and a BMP read has the declared size and is opaque.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "picture/bmp_pixels.h"
#include "picture/picture_header.h"
#include "tests/fuzz/property_check.h"

namespace tolvar {
namespace {

void CheckBudget(std::string_view bytes, const PictureHeader& header, int width, int height) {
  const std::string plain = CheckDecodingBudget(header, width, height, false);
  const std::string scaled = CheckDecodingBudget(header, width, height, true);
  const std::string before = CheckBeforeDecoding(bytes, header, width, height, false);
  if (header.format == PictureFormat::kUnknown) {
    Check(!before.empty(), "an unknown format never reaches a decoder");
    return;
  }
  Check(before == plain, "a known format is held to the budget alone");
  const uint64_t pixels = header.width * header.height;
  const bool jpeg =
      header.format == PictureFormat::kJpeg || header.format == PictureFormat::kWholeJpeg;
  const uint64_t budget = jpeg ? kMaxDecodedJpegPixels : kMaxDecodedPixels;
  Check(plain.empty() == (pixels <= budget), "the budget counts the declared pixels");
  Check(plain.empty() || !scaled.empty() || header.format == PictureFormat::kJpeg,
        "only a scalable JPEG gets through by scaling");
  Check(!plain.empty() || scaled.empty(), "scaling never refuses what fits unscaled");
  const std::string size = std::to_string(header.width) + " x " + std::to_string(header.height);
  Check(plain.empty() || plain.find(size) != std::string::npos, "a refusal names the size");
}

}  // namespace
}  // namespace tolvar

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvar;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const PictureHeader header = ReadPictureHeader(bytes);
  Check(header.width <= 0xFFFFFFFFu && header.height <= 0xFFFFFFFFu, "sizes fit 32 bits");
  Check(header.first_frame_end <= size, "the first frame ends inside the file");
  CheckBudget(bytes, header, 489, 121);
  CheckBudget(bytes, header, 1, 1);
  CheckBudget(bytes, header, 978, 242);

  if (header.format == PictureFormat::kBmp &&
      CheckDecodingBudget(header, 489, 121, false).empty()) {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    if (ReadPlainBmp(bytes, &width, &height, &pixels)) {
      Check(static_cast<uint64_t>(width) == header.width &&
                static_cast<uint64_t>(height) == header.height,
            "a BMP is read at its declared size");
      Check(pixels.size() == header.width * header.height * 4, "a BMP read fills its pixels");
      for (size_t i = 3; i < pixels.size(); i += 4) Check(pixels[i] == 0xFF, "a BMP is opaque");
    }
  }

  std::string cut(bytes);
  KeepFirstFrame(header, &cut);
  if (header.format == PictureFormat::kGif && header.first_frame_end != 0) {
    const PictureHeader again = ReadPictureHeader(cut);
    Check(again.width == header.width && again.height == header.height &&
              again.first_frame_end == header.first_frame_end,
          "a GIF cut after its first frame reads the same");
  } else {
    Check(cut == bytes, "only a GIF is cut");
  }
  return 0;
}
