// Images that one system cannot use as the other does, each mastered with xorriso and, where
// xorriso will not write the fault, patched: each finding names the file and the system it breaks.
#include "menu_check/checks/image_names_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "menu_check/image_check.h"
#include "menu_check/model/image_reader.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
using testing::UnorderedElementsAre;

constexpr Targets kLinux{false, true};
constexpr Targets kWindows{true, false};

// The medium's root mastered into an image beside it, removed with the object.
class Image {
 public:
  // `how` is xorriso's command line, with IMAGE and TREE for the image and the medium's root.
  Image(const ScratchMedium& medium, const std::string& how)
      : path_(medium.root().string() + ".iso") {
    const std::string master = "xorriso " + how + " >/dev/null 2>&1";
    std::string command = master;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"IMAGE", path_.string()},
                                   {"TREE", medium.root().string()}}) {
      command.replace(command.find(from), from.size(), "'" + to + "'");
    }
    mastered_ = std::system(command.c_str()) == 0;
  }
  ~Image() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  bool mastered() const { return mastered_; }

  // Replaces every `from` in the image's bytes with `to`, as long; how many there were.
  int Patch(const std::string& from, const std::string& to) const {
    std::string bytes;
    {
      std::ifstream in(path_, std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    int count = 0;
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1)) {
      bytes.replace(at, from.size(), to);
      ++count;
    }
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
    return count;
  }

  // "path: message" for each finding for `targets`.
  std::vector<std::string> Findings(const Targets& targets) const {
    const ImageViews views = ReadImageViews(path_.string());
    EXPECT_EQ(views.problem, "");
    std::vector<Finding> findings;
    CheckImageNames(views, targets, &findings);
    std::vector<std::string> lines;
    for (const Finding& finding : findings) lines.push_back(finding.file + ": " + finding.message);
    return lines;
  }

 private:
  fs::path path_;
  bool mastered_ = false;
};

std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (const char c : ascii) wide += std::string(1, '\0') + c;
  return wide;
}

class ImageNamesCheckTest : public testing::Test {
 protected:
  void SetUp() override {
    if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
    medium_.WriteDefinition("Title\r\n$null$\r\n1\r\nA\r\nsetup.sh\r\n");
    medium_.Write("setup.sh", "#!/bin/sh\n");
  }
  ScratchMedium medium_;
};

TEST_F(ImageNamesCheckTest, AnImageMasteredPlainlyIsCleanAndItsJolietTreeIsFound) {
  medium_.Write("docs/readme.txt", std::string(40000, 'a'));
  {
    const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
    ASSERT_TRUE(image.mastered());
    EXPECT_THAT(image.Findings(Targets()), IsEmpty());
    EXPECT_TRUE(ReadImageViews(medium_.root().string() + ".iso").joliet);
  }
  const Image without_joliet(medium_, "-as mkisofs -R -o IMAGE TREE");
  ASSERT_TRUE(without_joliet.mastered());
  const ImageViews views = ReadImageViews(medium_.root().string() + ".iso");
  EXPECT_TRUE(views.rock_ridge);
  EXPECT_FALSE(views.joliet);
  EXPECT_NE(views.windows_view.Exact("SETUP.SH"), nullptr);
}

TEST_F(ImageNamesCheckTest, AFileCompressedWithZisofsIsNamedForWindowsOnly) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "the same line again\n";
  medium_.Write("docs/readme.txt", text);
  const Image image(medium_,
                    "-outdev IMAGE -joliet on -map TREE / -set_filter_r --zisofs /docs/readme.txt "
                    "-- -commit");
  ASSERT_TRUE(image.mastered());
  EXPECT_THAT(image.Findings(kWindows),
              ElementsAre(AllOf(HasSubstr("docs/readme.txt: in the image as Windows sees it"),
                                HasSubstr("compressed with zisofs, and Windows reads its "
                                          "compressed bytes"))));
  EXPECT_THAT(image.Findings(kLinux), IsEmpty());
}

TEST_F(ImageNamesCheckTest, LinksThatLeadNowhereOnLinuxAndAreMissingOnWindows) {
  const fs::path bin = medium_.root() / "bin";
  fs::create_directories(bin / "tools");
  medium_.Write("bin/tools/run.sh", "#!/bin/sh\n");
  fs::create_symlink("tools/run.sh", bin / "good");
  fs::create_symlink("../bin/./tools/../good", bin / "good-through-dots");
  fs::create_symlink("missing.sh", bin / "dangling");
  fs::create_symlink("tools/run.sh/x", bin / "through-a-file");
  fs::create_symlink("round-b", bin / "round-a");
  fs::create_symlink("round-a", bin / "round-b");
  fs::create_symlink("/usr/bin/env", bin / "absolute");
  fs::create_symlink("../../outside.sh", bin / "climbing");
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  EXPECT_THAT(
      image.Findings(kLinux),
      UnorderedElementsAre(
          AllOf(HasSubstr("bin/dangling: "), HasSubstr("no \"bin/missing.sh\" on the medium")),
          AllOf(HasSubstr("bin/through-a-file: "), HasSubstr("no \"bin/tools/run.sh/\"")),
          AllOf(HasSubstr("bin/round-a: "), HasSubstr("loop")),
          AllOf(HasSubstr("bin/round-b: "), HasSubstr("loop")),
          AllOf(HasSubstr("bin/absolute: "), HasSubstr("leads out of the medium")),
          AllOf(HasSubstr("bin/climbing: "), HasSubstr("leads out of the medium"))));
  const std::vector<std::string> windows = image.Findings(kWindows);
  EXPECT_EQ(windows.size(), 8u);
  for (const std::string& finding : windows) {
    EXPECT_THAT(finding, HasSubstr("missing from the image as Windows sees it (Joliet names): "
                                   "Joliet keeps no links"));
  }
}

TEST_F(ImageNamesCheckTest, AMenuFileThatIsALinkIsReadThroughItOnLinux) {
  const std::string menu = "Title\r\n$null$\r\n1\r\nA\r\n$exit$\r\n";
  medium_.Write("lang/english.mnu", menu);
  fs::remove(medium_.root() / "menu/config.mnu");
  fs::create_symlink("../lang/english.mnu", medium_.root() / "menu/config.mnu");
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  const ImageViews views = ReadImageViews(medium_.root().string() + ".iso");
  const std::string* read = views.linux_view.ContentOf("menu/config.mnu");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(*read, menu);
  // Kept once, under the file's own path, however many links lead to it.
  EXPECT_EQ(views.linux_view.contents.count("menu/config.mnu"), 0u);
  EXPECT_EQ(views.linux_view.ContentOf("lang/english.mnu"), read);
  EXPECT_EQ(views.windows_view.IgnoringCase("menu/config.mnu"), nullptr);
}

// A target longer than one SL entry holds (250 bytes) is written in several. It is read as Linux
// reads it, not with the last component of one entry joined to the first of the next (libarchive
// read "d/../d/.../..d" here, a path that leads nowhere).
TEST_F(ImageNamesCheckTest, ALinkTargetWrittenInSeveralEntriesIsReadAsWritten) {
  medium_.Write("d/x", "x");
  std::string target = "d";
  for (int i = 0; i < 60; ++i) target += "/../d";
  target += "/x";
  fs::create_symlink(target, medium_.root() / "lnk");
  fs::create_symlink("/" + target, medium_.root() / "d/absolute");
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  const ImageViews views = ReadImageViews(medium_.root().string() + ".iso");
  ASSERT_EQ(views.linux_view.link_targets.count("lnk"), 1u);
  EXPECT_EQ(views.linux_view.link_targets.at("lnk"), target);
  EXPECT_EQ(views.linux_view.link_targets.at("d/absolute"), "/" + target);
  const MediumName* reached = views.linux_view.Reach("lnk");
  ASSERT_NE(reached, nullptr);
  EXPECT_EQ(reached->path, "d/x");
  EXPECT_THAT(image.Findings(kLinux), Not(Contains(HasSubstr("lnk"))));
}

// The bytes an image check keeps are counted in all, both views and every file together: a file
// that goes past the budget is named as left out, not kept (a 1 MB image can hold a compressed
// file of gigabytes that many names lead to).
TEST_F(ImageNamesCheckTest, FilesPastTheBudgetAreNamedNotKept) {
  medium_.Write("autorun.sh", "#!/bin/sh\n");
  medium_.Write("menu/config.de.mnu", std::string(1000, '\''));
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  ByteBudget budget(1000 + 10 + 34);  // the three files of one view
  const ImageViews views = ReadImageViews(medium_.root().string() + ".iso", &budget);
  const auto kept = [](const MediumView& view, const std::string& path) {
    return view.ContentOf(path) != nullptr;
  };
  for (const char* file : {"menu/config.de.mnu", "menu/config.mnu", "autorun.sh"}) {
    EXPECT_TRUE(kept(views.linux_view, file)) << file;
    EXPECT_FALSE(kept(views.windows_view, file)) << file;
    EXPECT_THAT(views.windows_view.contents_left_out, Contains(file));
  }
  EXPECT_FALSE(budget.Take(10));  // what Windows' autorun.sh would have taken
}

// Names of one extent (hard links) come from libarchive as links to the first, with no bytes of
// their own: each is read as the first, once, and not as an empty file.
TEST_F(ImageNamesCheckTest, AFileUnderSeveralNamesIsReadOnceAsItIs) {
  const std::string german = "Titel\r\n$null$\r\n1\r\nA\r\nsetup.sh\r\n";
  medium_.Write("menu/config.de.mnu", german);
  fs::create_hard_link(medium_.root() / "menu/config.de.mnu",
                       medium_.root() / "menu/config.fr.mnu");
  fs::create_hard_link(medium_.root() / "setup.sh", medium_.root() / "second.sh");
  const Image image(medium_, "-outdev IMAGE -joliet on -hardlinks on -map TREE /");
  ASSERT_TRUE(image.mastered());
  const ImageViews views = ReadImageViews(medium_.root().string() + ".iso");
  for (const MediumView* view : {&views.linux_view, &views.windows_view}) {
    ASSERT_EQ(view->same_file.size(), 2u) << view->description;
    for (const char* file : {"menu/config.de.mnu", "menu/config.fr.mnu"}) {
      const std::string* read = view->ContentOf(file);
      ASSERT_NE(read, nullptr) << file;
      EXPECT_EQ(*read, german) << file;
      EXPECT_EQ(view->Exact(file)->size, german.size()) << file;
    }
    EXPECT_EQ(view->Exact("second.sh")->size, 10u);
  }
  // Checked whole: the French file was read as empty ("the file ends where the title was
  // expected"), on each system.
  const CheckReport report = CheckImage(medium_.root().string() + ".iso", ".", Targets());
  EXPECT_EQ(report.Count(Severity::kError), 0);
  for (const Finding& finding : report.findings) {
    // The medium lists its shell script on both systems, which is a finding of its own.
    if (finding.message.find("is a shell script for Linux") != std::string::npos) continue;
    EXPECT_EQ(finding.severity, Severity::kNote) << finding.file << ": " << finding.message;
  }
}

TEST_F(ImageNamesCheckTest, ANameHoldingASlashIsNamedForTheSystemWhoseTreeHoldsIt) {
  medium_.Write("docs/q_q.txt", "x");
  {
    const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
    ASSERT_TRUE(image.mastered());
    ASSERT_EQ(image.Patch("q_q.txt", "q/q.txt"), 1);  // the Rock Ridge name only
    EXPECT_THAT(image.Findings(kLinux),
                ElementsAre(AllOf(HasSubstr("docs/q/q.txt: in the image as Linux sees it"),
                                  HasSubstr("holds '/'"))));
    EXPECT_THAT(image.Findings(kWindows), IsEmpty());
  }
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  ASSERT_EQ(image.Patch(Utf16("q_q.txt"), Utf16("q/q.txt")), 1);
  EXPECT_THAT(image.Findings(kWindows),
              ElementsAre(AllOf(HasSubstr("docs/q/q.txt: in the image as Windows sees it"),
                                HasSubstr("holds '/'"))));
  EXPECT_THAT(image.Findings(kLinux), IsEmpty());
}

TEST_F(ImageNamesCheckTest, TwoEntriesOfOneNameAreNamedForTheSystemWhoseTreeHoldsThem) {
  medium_.Write("docs/aaaa.txt", "a");
  medium_.Write("docs/bbbb.txt", "b");
  medium_.Write("cccc/one.txt", "1");
  medium_.Write("dddd/two.txt", "2");
  {
    // Two folders of one name are no folder that leads back into itself.
    const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
    ASSERT_TRUE(image.mastered());
    ASSERT_EQ(image.Patch("dddd", "cccc"), 1);  // the Rock Ridge name only
    EXPECT_THAT(image.Findings(kLinux),
                ElementsAre(AllOf(HasSubstr("cccc: in the image as Linux sees it"),
                                  HasSubstr("two entries of this name"))));
  }
  {
    const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
    ASSERT_TRUE(image.mastered());
    ASSERT_EQ(image.Patch("bbbb.txt", "aaaa.txt"), 1);  // the Rock Ridge name only
    EXPECT_THAT(image.Findings(kLinux),
                ElementsAre(AllOf(HasSubstr("docs/aaaa.txt: in the image as Linux sees it"),
                                  HasSubstr("two entries of this name"))));
    EXPECT_THAT(image.Findings(kWindows), IsEmpty());
  }
  const Image image(medium_, "-as mkisofs -R -J -o IMAGE TREE");
  ASSERT_TRUE(image.mastered());
  ASSERT_EQ(image.Patch(Utf16("bbbb.txt"), Utf16("aaaa.txt")), 1);
  EXPECT_THAT(image.Findings(kWindows),
              ElementsAre(AllOf(HasSubstr("docs/aaaa.txt: in the image as Windows sees it"),
                                HasSubstr("two entries of this name"))));
  EXPECT_THAT(image.Findings(kLinux), IsEmpty());
}

}  // namespace
}  // namespace tolvar
