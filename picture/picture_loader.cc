// Portable part of the picture loader: reading the file, and the checks at the picture area's size
// at 96 DPI. The decoding is each platform's (DecodePicture).
#include "picture/picture_loader.h"

#include <utility>

#include "menu_form/form_layout.h"
#include "picture/picture_file.h"
#include "picture/picture_header.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

Expected<PicturePixels> LoadPicture(const std::string& path, int width, int height) {
  Expected<std::string> bytes = ReadPictureFile(MatchCase(NativePath(path)));
  if (!bytes) return Expected<PicturePixels>::Failure(bytes.reason());
  return DecodePicture(std::move(bytes).value(), width, height);
}

Result CheckPicture(const std::string& path) {
  return LoadPicture(path, kPictureAreaAtDesignDpi.width, kPictureAreaAtDesignDpi.height).result();
}

Result CheckPictureBytes(std::string bytes) {
  if (bytes.size() > kMaxPictureFileBytes) return Result::Failure(PictureTooLarge());
  return DecodePicture(std::move(bytes), kPictureAreaAtDesignDpi.width,
                       kPictureAreaAtDesignDpi.height)
      .result();
}

}  // namespace tolvar
