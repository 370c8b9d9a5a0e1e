// The icon pictures: the format check on top of the picture loader, which keeps the budget.
#include "picture/icon_picture.h"

#include <utility>

#include "picture/picture_file.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {
namespace {

const char* FormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kJpeg:
    case PictureFormat::kWholeJpeg:
      return "a JPEG picture";
    case PictureFormat::kGif:
      return "a GIF picture";
    case PictureFormat::kTiff:
      return "a TIFF picture";
    default:
      return nullptr;
  }
}

}  // namespace

Expected<PicturePixels> DecodeIconPicture(std::string bytes, int side) {
  // The header reader says what the file is; its refusal (a format whose size it cannot read, a
  // size over the budget) comes from the loader below in the splash picture's words.
  const Expected<PictureHeader> header = ReadPictureHeader(bytes);
  if (header) {
    if (const char* other = FormatName(header->format)) {
      return Expected<PicturePixels>::Failure(std::string("it is ") + other + "; an icon must be " +
                                              kIconFormats);
    }
  }
  return DecodePicture(std::move(bytes), side, side);
}

Expected<PicturePixels> LoadIconPicture(const std::string& path, int side) {
  Expected<std::string> bytes = ReadPictureFile(MatchCase(NativePath(path)));
  if (!bytes) return Expected<PicturePixels>::Failure(bytes.reason());
  return DecodeIconPicture(std::move(bytes).value(), side);
}

}  // namespace tolvar
