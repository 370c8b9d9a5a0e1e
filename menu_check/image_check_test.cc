// The image check reads the menu's directives, links and paths as the folder check does: an entry
// for one system is looked up only in that system's view of the image.
#include "menu_check/image_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "menu_check/model/image_reader.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::Field;
using testing::HasSubstr;

TEST(ImageCheckTest, DirectivesLinksAndPathsAsInTheFolderCheck) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  ScratchMedium medium;
  medium.WriteDefinition(
      "Title\r\n$null$\r\n3\r\n'#sytem: linux\r\n'#system: windows\r\nA\r\nwin\\setup.exe\r\n"
      "B\r\nhttps://example.org\r\nC\r\n..\\outside.sh\r\n");
  const std::filesystem::path image = medium.root().string() + ".iso";
  const std::string master = "xorriso -as mkisofs -R -J -o '" + image.string() + "' '" +
                             medium.root().string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(master.c_str()), 0);
  const CheckReport report = CheckImage(image.string(), ".", Targets());
  std::error_code ignored;
  std::filesystem::remove(image, ignored);

  std::vector<std::string> menu_findings;
  for (const Finding& finding : report.findings) {
    if (finding.file.empty()) {
      menu_findings.push_back(std::to_string(finding.line) + " " + finding.message);
    }
  }
  EXPECT_THAT(
      menu_findings,
      ElementsAre(
          HasSubstr("4 the menu knows no directive '#sytem: and ignores the line: "
                    "did you mean '#system:?"),
          AllOf(HasSubstr("7 in the image as Windows sees it (Joliet names): entry 1: Launch says "
                          "\"Can't find file!!\""),
                HasSubstr("no file \"win\\setup.exe\"")),
          HasSubstr("11 entry 3: the path leads out of the medium")));
  EXPECT_EQ(report.directives.size(), 2u);
}

// Without Joliet, Windows reads 8.3 names: config.he.mnu becomes CONFIG_H.MNU, which the menu
// never takes for Hebrew. Linux, reading Rock Ridge, still finds it.
TEST(ImageCheckTest, ALanguageFileWindowsCannotFindWithoutJolietIsNamed) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  ScratchMedium medium;
  medium.WriteDefinition("Title\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  medium.Write("menu/config.he.mnu", "Title\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  const std::filesystem::path image = medium.root().string() + ".iso";
  const std::string master = "xorriso -as mkisofs -R -o '" + image.string() + "' '" +
                             medium.root().string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(master.c_str()), 0);
  const auto findings = [&](const Targets& targets) {
    std::vector<std::string> about_he;
    for (const Finding& finding : CheckImage(image.string(), ".", targets).findings) {
      if (finding.file == "menu/config.he.mnu") about_he.push_back(finding.message);
    }
    return about_he;
  };
  const auto fallback = HasSubstr(
      "Windows finds no \"menu/config.he.mnu\" in the image as Windows sees it (plain ISO 9660 "
      "names, no Joliet): Windows users whose language is \"he\" get the menu of "
      "menu/config.mnu instead; master the image with Joliet (-J)");
  EXPECT_THAT(findings(Targets{}), ElementsAre(fallback));
  EXPECT_THAT(findings(Targets{true, false}), ElementsAre(fallback));
  EXPECT_THAT(findings(Targets{false, true}), testing::IsEmpty());
  std::error_code ignored;
  std::filesystem::remove(image, ignored);
}

TEST(ImageCheckTest, ADirectoryLargerThanTheImageIsRefusedBeforeAnyBufferIsTaken) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  ScratchMedium medium;
  medium.WriteDefinition("Title\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  const std::filesystem::path image = medium.root().string() + ".iso";
  const std::string master = "xorriso -as mkisofs -R -J -o '" + image.string() + "' '" +
                             medium.root().string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(master.c_str()), 0);
  EXPECT_EQ(CheckImage(image.string(), ".", Targets()).ExitStatus(), 0);
  // The root directory of the Joliet tree (the second descriptor) now says it is 4 GB long:
  // libarchive would take a 4 GB buffer for it.
  {
    std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(17 * 2048 + 156 + 10);
    file.write("\x00\xF8\xFF\xFF", 4);
  }
  const CheckReport report = CheckImage(image.string(), ".", Targets());
  std::error_code ignored;
  std::filesystem::remove(image, ignored);
  EXPECT_EQ(report.ExitStatus(), 4);
  ASSERT_FALSE(report.findings.empty());
  EXPECT_THAT(report.findings[0].message, HasSubstr("bytes long, past the image's end"));
}

// Every image the fuzzer keeps: the check calls an image unreadable exactly when its reading does,
// and a file whose bytes cannot be read (a broken zisofs body) is a finding about that file.
TEST(ImageCheckTest, TheCheckAndTheReadingAgreeOnEveryImageOfTheCorpus) {
  int images = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TOLVAR_IMAGE_CORPUS)) {
    const std::string image = entry.path().string();
    const bool read = ReadImageViews(image).problem.empty();
    const CheckReport report = CheckImage(image, ".", Targets());
    EXPECT_EQ(report.image_unreadable, !read) << image;
    ++images;
    if (entry.path().filename() != "zisofs_body_unreadable.iso") continue;
    EXPECT_TRUE(read);
    EXPECT_THAT(report.findings,
                Contains(Field(&Finding::message, HasSubstr("cannot be read from the image"))));
  }
  EXPECT_GT(images, 10);
}

}  // namespace
}  // namespace tolvar
