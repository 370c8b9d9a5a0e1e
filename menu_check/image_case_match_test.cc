// The letter-case rule over a real folder and over the checker's view of the same folder mastered
// as an ISO image: the Linux menu (MatchCase) and the checker (--image) must find the same file
// for every name, or the checker would pass a medium the menu cannot use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "menu_check/image_reader.h"
#include "shared_routines/case_match.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

constexpr char kNone[] = "(nothing)";

// The entry the Linux menu opens for `name` on the disk, or kNone.
std::string OnDisk(const std::string& name) {
  const std::string path = MatchCase(name);
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::u8path(path), error)) ? path : kNone;
}

std::string InImage(const MediumView& view, const std::string& name) {
  const MediumName* found = view.AsLinuxMenuFinds(name);
  return found != nullptr ? found->path : kNone;
}

TEST(ImageCaseMatchTest, TheMenuOnTheDiskAndTheCheckerInTheImageFindTheSameFiles) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  ScratchMedium medium;
  medium.Write("Setup.exe", "MZ");
  medium.Write("MENU/CONFIG.MNU", "Title\r\n");
  medium.Write("docs/Readme.txt", "a");
  medium.Write("docs/README.TXT", "b");
  medium.Write("Tools/Disk 1/Install.EXE", "MZ");
  const std::string capital_u_umlaut = "\xC3\x9C", small_u_umlaut = "\xC3\xBC";  // UTF-8
  medium.Write(capital_u_umlaut + "ber.txt", "x");

  const fs::path image = medium.root().string() + ".iso";
  const std::string master = "xorriso -as mkisofs -R -J -o '" + image.string() + "' '" +
                             medium.root().string() + "' >/dev/null 2>&1";
  const int mastered = std::system(master.c_str());
  ASSERT_EQ(mastered, 0) << "xorriso status " << mastered;
  const ImageViews views = ReadImageViews(image.string());
  std::error_code ignored;
  fs::remove(image, ignored);
  ASSERT_EQ(views.problem, "");
  ASSERT_TRUE(views.rock_ridge);

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Setup.exe", "Setup.exe"},                                // exact case
      {"SETUP.EXE", "Setup.exe"},                                // other case
      {"menu/config.mnu", "MENU/CONFIG.MNU"},                    // every component
      {"./menu/config.mnu", "./MENU/CONFIG.MNU"},                // as written, with "./"
      {"tools/disk 1/install.exe", "Tools/Disk 1/Install.EXE"},  // nested
      {"docs/Readme.txt", "docs/Readme.txt"},                    // exact beats two alike
      {"docs/readme.txt", kNone},                                // two alike: ambiguous
      {"DOCS/README.TXT", "docs/README.TXT"},                    // folder alone, file exact
      {"tools/disk 2/install.exe", kNone},                       // missing folder
      {"setup.exe/x", kNone},                                    // a file is no folder
      {"missing.exe", kNone},
      {capital_u_umlaut + "BER.TXT", capital_u_umlaut + "ber.txt"},  // ASCII folded, Ü as it is
      {small_u_umlaut + "ber.txt", kNone},                           // ü is not Ü
  };
  for (const auto& [name, found] : expected) {
    EXPECT_EQ(OnDisk(name), found) << name;
    // The view names paths from the root, without "./".
    const std::string in_view = found.rfind("./", 0) == 0 ? found.substr(2) : found;
    EXPECT_EQ(InImage(views.linux_view, name), in_view) << name;
  }
}

}  // namespace
}  // namespace tolvar
