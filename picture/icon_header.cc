// ReadIconHeader: the directory, then each image's PNG IHDR or BITMAPINFOHEADER.
#include "picture/icon_header.h"

#include <cstdint>
#include <string>

#include "picture/byte_order.h"

namespace tolvar {
namespace {

std::string SizeText(uint64_t width, uint64_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// One image of an icon, as its directory entry lists it.
struct IconImage {
  uint64_t width = 0;
  uint64_t height = 0;
  uint32_t bits = 0;  // to choose between images of one size
  size_t offset = 0;
  size_t size = 0;
  bool png = false;
};

// The image the directory entry at `entry` lists, checked against the image's own header (a PNG's
// IHDR, or a bitmap's BITMAPINFOHEADER, whose height counts the mask below the picture too).
Expected<IconImage> ReadIconImage(std::string_view b, size_t entry) {
  IconImage image;
  // A side of 0 in the directory is 256.
  const auto side = [&](size_t at) -> uint64_t {
    const uint8_t written = static_cast<uint8_t>(b[at]);
    return written == 0 ? 256 : written;
  };
  image.width = side(entry);
  image.height = side(entry + 1);
  image.size = Little32(b, entry + 8);
  image.offset = Little32(b, entry + 12);
  if (image.offset > b.size() || b.size() - image.offset < image.size) {
    return Expected<IconImage>::Failure("an image lies beyond the end of the file");
  }
  const std::string_view bytes = b.substr(image.offset, image.size);
  uint64_t width = 0, height = 0;
  if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8)) {
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") {
      return Expected<IconImage>::Failure("a PNG inside is cut short");
    }
    image.png = true;
    image.bits = 32;
    width = Big32(bytes, 16);
    height = Big32(bytes, 20);
  } else {
    if (bytes.size() < 16 || Little32(bytes, 0) < 40) {
      return Expected<IconImage>::Failure("a bitmap inside is cut short");
    }
    const int64_t columns = static_cast<int32_t>(Little32(bytes, 4));
    const int64_t rows = static_cast<int32_t>(Little32(bytes, 8));
    image.bits = Little16(bytes, 14);
    width = static_cast<uint64_t>(columns < 0 ? -columns : columns);
    // The picture, then its one-bit mask of the same size.
    height = rows % 2 != 0 ? 0 : static_cast<uint64_t>(rows < 0 ? -rows : rows) / 2;
  }
  if (width != image.width || height != image.height) {
    return Expected<IconImage>::Failure("an image inside declares " + SizeText(width, height) +
                                        " where the directory says " +
                                        SizeText(image.width, image.height));
  }
  return image;
}

}  // namespace

// The largest image is the one shown (of images of one size, the one of most bits a pixel). Every
// image is checked, not only that one: decoders differ in the image they pick, and some decode
// them all.
Expected<PictureHeader> ReadIconHeader(std::string_view b) {
  if (b.size() < 6) return Expected<PictureHeader>::Failure("its directory is cut short");
  const size_t count = Little16(b, 4);
  if (count == 0) return Expected<PictureHeader>::Failure("it holds no image");
  if ((b.size() - 6) / 16 < count) {
    return Expected<PictureHeader>::Failure("its directory is cut short");
  }
  PictureHeader header;
  header.format = PictureFormat::kIco;
  uint64_t total = 0;
  IconImage best;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = 6 + 16 * i;
    const Expected<IconImage> image = ReadIconImage(b, entry);
    if (!image) return Expected<PictureHeader>::Failure(image.reason());
    const uint64_t area = image->width * image->height;
    total += area;
    if (total > kMaxDecodedPixels) {
      return Expected<PictureHeader>::Failure("its images together hold more than the " +
                                              std::to_string(kMaxDecodedPixels / 1'000'000) +
                                              " megapixels a picture may take to decode");
    }
    if (i == 0 || area > best.width * best.height ||
        (area == best.width * best.height && image->bits > best.bits)) {
      best = image.value();
      header.icon_entry = entry;
    }
  }
  header.width = best.width;
  header.height = best.height;
  header.icon_image_offset = best.offset;
  header.icon_image_size = best.size;
  header.icon_image_is_png = best.png;
  return header;
}

}  // namespace tolvar
