// The letter-case rule over a real folder and over the checker's view of the same folder mastered
// as an ISO image: the Linux menu (MatchCase) and the checker (--image) must find the same file
// for every name, or the checker would pass a medium the menu cannot use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "menu_check/model/image_reader.h"
#include "menu_check/model/medium_files.h"
#include "menu_check/model/view_probe.h"
#include "shared_routines/case_match.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/plain_program.h"
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

// As spelled on the way, before links are followed, as MatchCase answers on the disk.
std::string InImage(const MediumView& view, const std::string& name) {
  const std::optional<std::string> spelled = view.Spelled(name, CaseRule::kOnlyMatch);
  const MediumName* found = view.AsLinuxMenuFinds(name);
  EXPECT_EQ(found, spelled ? view.Reach(*spelled) : nullptr) << name;
  return found != nullptr ? *spelled : kNone;
}

// Masters the folder `root` with Rock Ridge and Joliet, as the README does, and reads it back.
ImageViews Mastered(const fs::path& root) {
  const fs::path image = root.string() + ".iso";
  const std::string master = "xorriso -as mkisofs -R -J -o '" + image.string() + "' '" +
                             root.string() + "' >/dev/null 2>&1";
  const int mastered = std::system(master.c_str());
  EXPECT_EQ(mastered, 0) << "xorriso status " << mastered;
  ImageViews views = ReadImageViews(image.string());
  EXPECT_EQ(views.problem, "");
  std::error_code ignored;
  fs::remove(image, ignored);
  return views;
}

std::string Shown(std::optional<WithoutExecuteBit> answer) {
  if (!answer) return "has the bit";
  switch (*answer) {
    case WithoutExecuteBit::kOpened:
      return "opened";
    case WithoutExecuteBit::kStartedAnyway:
      return "started anyway";
    case WithoutExecuteBit::kOpenedNotStarted:
      return "opened, not started";
  }
  return "?";
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

  // Links: the link's name matched without regard to case, then followed; a link to a link.
  medium.Write("Programs-1.2/Setup.sh", "#!/bin/sh\n");
  fs::create_directory_symlink("Programs-1.2", medium.root() / "Programs");
  fs::create_symlink("Programs/Setup.sh", medium.root() / "Install.sh");
  fs::create_symlink("Loop", medium.root() / "Loop");
  fs::create_symlink("/bin/sh", medium.root() / "Outside");

  const ImageViews views = Mastered(medium.root());
  ASSERT_TRUE(views.rock_ridge);
  // The folder check's own view of the same folder, its links kept as links.
  const FolderFiles folder(medium.root().string());

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
      {"programs/setup.sh", "Programs/Setup.sh"},                    // through a link
      {"Programs/../Programs/SETUP.SH", "Programs/Setup.sh"},        // ".." read as Windows does
      {"install.sh", "Install.sh"},                                  // a link to a file
      {"loop/x", kNone},                                             // a loop leads nowhere
  };
  for (const auto& [name, found] : expected) {
    EXPECT_EQ(OnDisk(name), found) << name;
    // The view names paths from the root, without "./".
    const std::string in_view = found.rfind("./", 0) == 0 ? found.substr(2) : found;
    EXPECT_EQ(InImage(views.linux_view, name), in_view) << name;
    EXPECT_EQ(InImage(folder.View(System::kLinux), name), in_view) << name;
  }
  // A link out of the medium leads nowhere in either, though the disk follows it.
  EXPECT_EQ(folder.View(System::kLinux).Reach("Outside"), nullptr);
  EXPECT_EQ(views.linux_view.Reach("Outside"), nullptr);
}

// One matrix of files shaped as programs, without and with the execute bit: the folder check and
// the image check ask the menu's rule (LaunchWithoutExecuteBit over the file's first bytes) and
// agree with what the menu does with the file on the disk, path by path.
TEST(ImageCaseMatchTest, TheFolderAndTheImageAgreeOnEveryPathAsTheMenuAnswers) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  std::ifstream shell("/bin/sh", std::ios::binary);
  std::string dynamic_elf(kProgramHeadBytes, '\0');
  shell.read(&dynamic_elf[0], dynamic_elf.size());
  dynamic_elf.resize(shell.gcount());
  ScratchMedium medium;
  medium.Write("Tools/dynamic", dynamic_elf);
  medium.Write("Tools/static", std::string("\x7f"
                                           "ELF\x01\x01\x01",
                                           7) +
                                   std::string(60, '\0'));
  medium.Write("Tools/absolute.sh", "#!/bin/sh\n");
  medium.Write("Tools/relative.sh", "#!sh\n");
  medium.Write("Tools/manual.txt", "words");
  medium.Write("Tools/ready.sh", "#!/bin/sh\n");
  fs::permissions(medium.root() / "Tools/ready.sh", fs::perms::owner_exec, fs::perm_options::add);
  fs::create_directory_symlink("Tools", medium.root() / "Linked");
  const fs::path iso = medium.root().string() + ".iso";
  ASSERT_EQ(std::system(("xorriso -as mkisofs -R -J -o '" + iso.string() + "' '" +
                         medium.root().string() + "' >/dev/null 2>&1")
                            .c_str()),
            0);
  const ImageViews views = ReadImageViews(iso.string());
  ASSERT_TRUE(views.rock_ridge);

  FolderFiles files(".");
  ViewProbe folder(files.View(System::kLinux), System::kLinux);
  ViewProbe image(views.linux_view, System::kLinux);
  const std::vector<std::string> paths = {
      "Tools/dynamic",    "tools/static",   "TOOLS/absolute.sh", "Tools/relative.sh",
      "Tools/manual.txt", "Tools/ready.sh", "linked/dynamic",    "Linked/relative.sh",
      "tools/missing",    "Tools"};
  // The image's bytes are read in one pass, for what a first round asked.
  for (const std::string& path : paths) {
    image.ExecuteBitMissing(path);
    folder.ExecuteBitMissing(path);
  }
  ASSERT_EQ(files.Read(files.View(System::kLinux), folder.missing(), &folder.contents), "");
  const std::string problem =
      ReadImageContents(iso.string(), views.linux_view, image.missing(), &image.contents);
  std::error_code ignored;
  fs::remove(iso, ignored);
  ASSERT_EQ(problem, "");

  for (const std::string& path : paths) {
    const bool menu_finds = FileExists(path);
    EXPECT_EQ(folder.Exists(path), menu_finds) << path;
    EXPECT_EQ(image.Exists(path), menu_finds) << path;
    EXPECT_EQ(image.CaseVariant(path), folder.CaseVariant(path)) << path;
    EXPECT_EQ(image.CaseVariantIsUnique(path), folder.CaseVariantIsUnique(path)) << path;
    const std::string checked = Shown(folder.ExecuteBitMissing(path));
    EXPECT_EQ(Shown(image.ExecuteBitMissing(path)), checked) << path;
    if (!menu_finds || checked == "has the bit") continue;
    // What the menu does: its own rule over the bytes it would start.
    std::ifstream file(MatchCase(path), std::ios::binary);
    std::string head(kProgramHeadBytes, '\0');
    file.read(&head[0], head.size());
    head.resize(file.gcount());
    EXPECT_EQ(Shown(LaunchWithoutExecuteBit(head)), checked) << path;
  }
  EXPECT_EQ(Shown(folder.ExecuteBitMissing("Tools/static")), "opened, not started");
  EXPECT_EQ(Shown(folder.ExecuteBitMissing("Tools/relative.sh")), "opened, not started");
  EXPECT_EQ(Shown(folder.ExecuteBitMissing("linked/dynamic")), "started anyway");
}

}  // namespace
}  // namespace tolvar
