// ReadPictureHeader and the checks before decoding: the size fields of PNG, JPEG, GIF, BMP, TIFF
// and ICO, the signatures of the formats refused, and the decoding budget.
#include "picture/picture_header.h"

#include <algorithm>
#include <utility>

#include "picture/byte_order.h"
#include "picture/icon_header.h"

namespace tolvar {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

// The refusal of a file whose size is not read, `what` naming what its first bytes say it is.
Expected<PictureHeader> NotShown(const std::string& what) {
  return Expected<PictureHeader>::Failure("it is " + what + "; the menu shows only " +
                                          kPictureFormatsShown +
                                          " pictures, whose size it reads before decoding");
}

Expected<PictureHeader> Png(std::string_view b) {
  PictureHeader header;
  // The signature, then the IHDR chunk: length, type, width, height.
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") {
    return NotShown("a PNG picture whose header is cut short or damaged");
  }
  header.format = PictureFormat::kPng;
  header.width = Big32(b, 16);
  header.height = Big32(b, 20);
  return header;
}

Expected<PictureHeader> Jpeg(std::string_view b) {
  const auto damaged = [] {
    return NotShown("a JPEG picture whose header is cut short or damaged");
  };
  PictureHeader header;
  size_t at = 2;  // past the start-of-image marker
  while (at + 4 <= b.size()) {
    if (static_cast<uint8_t>(b[at]) != 0xFF) return damaged();
    const uint8_t marker = static_cast<uint8_t>(b[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
      at += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return damaged();  // image data before any frame header
    const size_t length = Big16(b, at + 2);
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > b.size()) return damaged();
      // Only sequential Huffman frames (SOF0, SOF1) decode row by row at a reduced scale; the
      // others keep every coefficient of the whole picture.
      header.format = marker <= 0xC1 ? PictureFormat::kJpeg : PictureFormat::kWholeJpeg;
      header.height = Big16(b, at + 5);
      header.width = Big16(b, at + 7);
      return header;
    }
    if (length < 2) return damaged();
    at += 2 + length;
  }
  return damaged();
}

// Skips a chain of GIF sub-blocks at `at`; the offset past its terminator, or 0 when it is cut.
size_t SkipSubBlocks(std::string_view b, size_t at) {
  while (at < b.size()) {
    const size_t length = static_cast<uint8_t>(b[at]);
    if (length == 0) return at + 1;
    at += 1 + length;
  }
  return 0;
}

Expected<PictureHeader> Gif(std::string_view b) {
  PictureHeader header;
  if (b.size() < 13) return NotShown("a GIF picture whose header is cut short or damaged");
  header.format = PictureFormat::kGif;
  header.width = Little16(b, 6);
  header.height = Little16(b, 8);
  const uint8_t flags = static_cast<uint8_t>(b[10]);
  size_t at = 13;
  if (flags & 0x80) at += 3 * (size_t{2} << (flags & 7));
  while (at < b.size()) {
    const uint8_t block = static_cast<uint8_t>(b[at]);
    if (block == 0x21) {  // extension: label, then sub-blocks
      at = at + 2 <= b.size() ? SkipSubBlocks(b, at + 2) : 0;
    } else if (block == 0x2C) {  // image descriptor
      if (at + 10 > b.size()) return header;
      // A frame may reach past the logical screen; decoders grow the canvas to hold it.
      header.width = std::max<uint64_t>(header.width, Little16(b, at + 1) + Little16(b, at + 5));
      header.height = std::max<uint64_t>(header.height, Little16(b, at + 3) + Little16(b, at + 7));
      const uint8_t image_flags = static_cast<uint8_t>(b[at + 9]);
      at += 10;
      if (image_flags & 0x80) at += 3 * (size_t{2} << (image_flags & 7));
      // The code size byte, then the compressed data.
      header.first_frame_end = at + 1 < b.size() ? SkipSubBlocks(b, at + 1) : 0;
      return header;
    } else {
      return header;  // trailer or damage before any frame
    }
    if (at == 0) return header;
  }
  return header;
}

Expected<PictureHeader> Bmp(std::string_view b) {
  PictureHeader header;
  if (b.size() < 26) return NotShown("a BMP picture whose header is cut short");
  header.format = PictureFormat::kBmp;
  if (Little32(b, 14) == 12) {  // OS/2 1.x core header, 16-bit sizes
    header.width = Little16(b, 18);
    header.height = Little16(b, 20);
  } else {
    // Signed; a negative height means rows top first.
    const int64_t width = static_cast<int32_t>(Little32(b, 18));
    const int64_t height = static_cast<int32_t>(Little32(b, 22));
    header.width = static_cast<uint64_t>(width < 0 ? -width : width);
    header.height = static_cast<uint64_t>(height < 0 ? -height : height);
  }
  return header;
}

// The first directory's size and sample layout: the decoders on both platforms read no other.
Expected<PictureHeader> Tiff(std::string_view b) {
  const auto damaged = [] {
    return NotShown(
        "a TIFF picture whose header is cut short or damaged, or whose decoder would hold more "
        "than its size (more than four samples a pixel, more than 16 bits a sample, or larger "
        "tiles than 16 megapixels)");
  };
  PictureHeader header;
  if (b.size() < 8) return damaged();
  const bool little = b[0] == 'I';
  auto u16 = [&](size_t at) { return little ? Little16(b, at) : Big16(b, at); };
  auto u32 = [&](size_t at) { return little ? Little32(b, at) : Big32(b, at); };
  const size_t directory = u32(4);
  if (directory > b.size() || b.size() - directory < 2) return damaged();
  const size_t entries = u16(directory);
  uint64_t width = 0, height = 0, samples = 1, bits = 1, tile_width = 0, tile_height = 0;
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + 12 * i;
    if (entry + 12 > b.size()) break;
    const uint32_t tag = u16(entry);
    const uint32_t type = u16(entry + 2);
    // SHORT or LONG (read as LONG otherwise, never less than the value); values that do not fit
    // the entry, such as the bits of each sample, lie at an offset.
    const uint32_t count = u32(entry + 4);
    size_t at = entry + 8;
    if ((type == 3 && count > 2) || (type != 3 && count > 1)) at = u32(entry + 8);
    if (at > b.size() || b.size() - at < 4) continue;
    const uint64_t value = type == 3 ? u16(at) : u32(at);
    // A field written twice counts at its larger value, whichever one the decoder keeps.
    uint64_t* field = tag == 256   ? &width
                      : tag == 257 ? &height
                      : tag == 258 ? &bits
                      : tag == 277 ? &samples
                      : tag == 322 ? &tile_width
                      : tag == 323 ? &tile_height
                                   : nullptr;
    if (field != nullptr) *field = std::max(*field, value);
  }
  // A decoder holds a whole tile, or a row of every sample, beside the picture: what the budget
  // counts must bound those as well.
  if (width == 0 || height == 0 || samples > 4 || bits > 16 ||
      tile_width * tile_height > kMaxDecodedPixels) {
    return damaged();
  }
  header.format = PictureFormat::kTiff;
  header.width = width;
  header.height = height;
  return header;
}

std::string SizeText(uint64_t width, uint64_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

bool HasAt(std::string_view bytes, size_t at, std::string_view text) {
  return bytes.size() >= at && bytes.substr(at, text.size()) == text;
}

// What a file the header reader takes no size from is, as far as its first bytes tell: the
// formats some decoder on either platform would otherwise have tried. Null when they do not tell.
// Metafiles replay drawing commands: no size can be read from them before they run.
const char* OtherFormatName(std::string_view b) {
  using namespace std::string_view_literals;
  if (HasAt(b, 0, "\0\0\2\0"sv)) return "a Windows cursor (CUR)";
  if (HasAt(b, 0, "RIFF"sv) && HasAt(b, 8, "ACON"sv)) return "an animated cursor (ANI)";
  if (HasAt(b, 0, "RIFF"sv) && HasAt(b, 8, "WEBP"sv)) return "a WebP picture";
  if (HasAt(b, 0, "icns"sv)) return "a Mac icon (ICNS)";
  if (HasAt(b, 4, "idsc"sv) || HasAt(b, 4, "idat"sv) || HasAt(b, 4, "iicc"sv)) {
    return "a QuickTime picture (QTIF)";
  }
  if (HasAt(b, 4, "ftyp"sv)) return "an ISO media file (AVIF, HEIF or a video)";
  if (HasAt(b, 0, "\0\0\0\x0CjP  "sv) || HasAt(b, 0, "\xFF\x4F\xFF\x51"sv))
    return "a JPEG 2000 picture";
  if (HasAt(b, 0, "\xFF\x0A"sv) || HasAt(b, 0, "\0\0\0\x0CJXL "sv)) return "a JPEG XL picture";
  if (HasAt(b, 0, "\xD7\xCD\xC6\x9A"sv) || HasAt(b, 0, "\x01\0\x09\0\0\x03"sv) ||
      HasAt(b, 0, "\x02\0\x09\0\0\x03"sv)) {
    return "a Windows metafile (WMF)";
  }
  if (HasAt(b, 0, "\x01\0\0\0"sv) && HasAt(b, 40, " EMF"sv)) return "an enhanced metafile (EMF)";
  if (HasAt(b, 0, "/* XPM */"sv)) return "an X pixmap (XPM)";
  if (HasAt(b, 0, "#define "sv)) return "an X bitmap (XBM)";
  if (b.size() >= 3 && b[0] == 'P' && b[1] >= '1' && b[1] <= '7' &&
      (b[2] == '\n' || b[2] == '\r' || b[2] == ' ' || b[2] == '\t')) {
    return "a portable anymap (PNM)";
  }
  if (HasAt(b, 0, "8BPS"sv)) return "a Photoshop picture (PSD)";
  if (b.size() >= 18 && b.substr(b.size() - 18) == "TRUEVISION-XFILE.\0"sv) {
    return "a Targa picture (TGA)";
  }
  if (b.substr(0, 1024).find("<svg") != std::string_view::npos) return "an SVG drawing";
  return nullptr;
}

}  // namespace

Expected<PictureHeader> ReadPictureHeader(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n"sv)) return Png(bytes);
  if (StartsWith(bytes, "\xFF\xD8\xFF"sv)) return Jpeg(bytes);
  if (StartsWith(bytes, "GIF87a"sv) || StartsWith(bytes, "GIF89a"sv)) return Gif(bytes);
  if (StartsWith(bytes, "GIF8"sv))
    return NotShown("a GIF picture whose header is cut short or damaged");
  if (StartsWith(bytes, "BM"sv)) return Bmp(bytes);
  if (StartsWith(bytes, "II*\0"sv) || StartsWith(bytes, "MM\0*"sv)) return Tiff(bytes);
  if (StartsWith(bytes, "\0\0\1\0"sv)) {
    Expected<PictureHeader> icon = ReadIconHeader(bytes);
    if (!icon) return NotShown("a Windows icon (ICO): " + icon.reason());
    return icon;
  }
  const char* name = OtherFormatName(bytes);
  if (name != nullptr) {
    // Such a picture was made by a program that can save it as PNG too; an author is told so.
    return Expected<PictureHeader>::Failure(NotShown(name).reason() +
                                            "; save it as PNG (or convert it) to show it");
  }
  return Expected<PictureHeader>::Failure(
      std::string("it is not a picture in a format the menu shows (") + kPictureFormatsShown + ")");
}

Result CheckDecodingBudget(const PictureHeader& header, int area_width, int area_height,
                           bool decoder_scales_jpeg) {
  uint64_t decoded_width = header.width, decoded_height = header.height;
  const bool jpeg =
      header.format == PictureFormat::kJpeg || header.format == PictureFormat::kWholeJpeg;
  if (header.format == PictureFormat::kJpeg && decoder_scales_jpeg) {
    // The decoder takes the strongest reduction that still leaves at least the area.
    for (uint64_t divisor = 8; divisor > 1; divisor /= 2) {
      const uint64_t width = (header.width + divisor - 1) / divisor;
      const uint64_t height = (header.height + divisor - 1) / divisor;
      if (width >= static_cast<uint64_t>(area_width) &&
          height >= static_cast<uint64_t>(area_height)) {
        decoded_width = width;
        decoded_height = height;
        break;
      }
    }
  }
  // Both are below 2^32, so the product cannot overflow.
  const uint64_t budget = jpeg ? kMaxDecodedJpegPixels : kMaxDecodedPixels;
  if (decoded_width * decoded_height <= budget) return Result::Ok();
  return Result::Failure("it declares " + SizeText(header.width, header.height) +
                         ", more than the " + std::to_string(budget / 1'000'000) +
                         " megapixels a picture may take to decode");
}

Expected<PictureHeader> CheckBeforeDecoding(std::string_view bytes, int area_width, int area_height,
                                            bool decoder_scales_jpeg) {
  Expected<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header) return header;
  const Result budget =
      CheckDecodingBudget(header.value(), area_width, area_height, decoder_scales_jpeg);
  if (!budget.ok) return Expected<PictureHeader>::Failure(budget);
  return header;
}

Result CheckDecoderSize(const PictureHeader& header, uint64_t width, uint64_t height) {
  if (width <= header.width && height <= header.height) return Result::Ok();
  return Result::Failure("its decoder reads " + SizeText(width, height) +
                         " from it where its header declares " +
                         SizeText(header.width, header.height));
}

PictureHeader KeepShownImage(const PictureHeader& header, std::string* bytes) {
  PictureHeader kept = header;
  if (header.format == PictureFormat::kGif && header.first_frame_end != 0) {
    bytes->resize(header.first_frame_end);
    bytes->push_back(';');  // the trailer
  } else if (header.format == PictureFormat::kIco && header.icon_image_is_png) {
    *bytes = bytes->substr(header.icon_image_offset, header.icon_image_size);
    kept.format = PictureFormat::kPng;
  } else if (header.format == PictureFormat::kIco) {
    // The icon's header with a count of one, the chosen entry pointing just past it, the image.
    std::string icon(bytes->data(), 4);
    icon += std::string("\1\0", 2);
    icon.append(*bytes, header.icon_entry, 12);
    constexpr char kImageOffset[4] = {6 + 16, 0, 0, 0};
    icon.append(kImageOffset, 4);
    icon.append(*bytes, header.icon_image_offset, header.icon_image_size);
    *bytes = std::move(icon);
    kept.icon_entry = 6;
    kept.icon_image_offset = 6 + 16;
  }
  return kept;
}

}  // namespace tolvar
