// libFuzzer target: arbitrary bytes as an ISO image for the checker's --image. Besides crashes,
// hangs and sanitizer reports it checks what any answer must have: an image that cannot be read
// says why and gives the image's own exit status, and one that can be read lists only relative
// names that are not empty.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "menu_check/image_check.h"
#include "menu_check/model/image_reader.h"
#include "tests/fuzz/property_check.h"

namespace tolvar {
namespace {

// One scratch file for the whole run: libarchive reads images from files.
const std::string& ScratchImage() {
  static const std::string path = [] {
    std::string name = "/tmp/tolvar-image-fuzz-" + std::to_string(getpid()) + ".iso";
    std::atexit([] { std::remove(ScratchImage().c_str()); });
    return name;
  }();
  return path;
}

void NamesAreRelative(const MediumView& view) {
  for (const MediumName& name : view.names) {
    Check(!name.path.empty() && name.path[0] != '/', "a name is empty or absolute");
  }
}

}  // namespace
}  // namespace tolvar

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvar;
  const std::string& path = ScratchImage();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  const ImageViews views = ReadImageViews(path);
  const bool read = views.problem.empty();
  if (read) {
    NamesAreRelative(views.linux_view);
    NamesAreRelative(views.windows_view);
  }
  const CheckReport report = CheckImage(path, ".", Targets{});
  Check(report.image_unreadable == !read, "the check and the reading disagree");
  Check(report.ExitStatus() >= 0 && report.ExitStatus() <= 4, "an exit status out of range");
  return 0;
}
