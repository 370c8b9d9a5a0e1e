// The disk questions over real files in a scratch folder, with the same expectations for both
// bodies: names in UTF-8 both ways, "." and ".." never listed, links followed or not as promised.
#include "shared_routines/disk_entries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DiskEntriesTest, AFolderListsItsNamesInUtf8AndAMissingOneNothing) {
  ScratchMedium medium;
  medium.Write("menu/config.mnu", "x");
  medium.Write(
      "menu/\xC3\xBC"
      "bersicht.txt",
      "x");  // "übersicht.txt"
  fs::create_directories("menu/art");
  const std::vector<std::string> expected = {"art", "config.mnu",
                                             "\xC3\xBC"
                                             "bersicht.txt"};
  EXPECT_EQ(Sorted(EntryNames("menu/")), expected);
  EXPECT_EQ(Sorted(EntryNames("menu")), expected);
  EXPECT_EQ(EntryNames(""), std::vector<std::string>{"menu"});
  EXPECT_TRUE(EntryNames("missing/").empty());
  EXPECT_TRUE(EntryNames("menu/config.mnu/").empty());

  EXPECT_TRUE(
      EntryExists("menu/\xC3\xBC"
                  "bersicht.txt"));
  EXPECT_TRUE(EntryExists("menu/art"));
  EXPECT_FALSE(EntryExists("menu/gone.txt"));
}

TEST(DiskEntriesTest, AFinalPathIsAbsoluteWhateverWayThePathTook) {
  ScratchMedium medium;
  medium.Write("docs/readme.txt", "x");
  const std::optional<std::string> root = FinalPath(".");
  ASSERT_TRUE(root.has_value());
  const std::optional<std::string> file = FinalPath("docs/../docs/./readme.txt");
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file, FinalPath("docs/readme.txt"));
  EXPECT_EQ(*file, *root + kFinalPathSeparator + "docs" + kFinalPathSeparator + "readme.txt");
  EXPECT_FALSE(FinalPath("docs/missing.txt").has_value());

  EXPECT_TRUE(IsFolder("docs"));
  EXPECT_TRUE(IsFolder("docs/"));
  EXPECT_FALSE(IsFolder("docs/readme.txt"));
  EXPECT_FALSE(IsFolder("missing"));
}

TEST(DiskEntriesTest, ALinkIsAnEntryEvenWhereItLeadsNowhereAndIsFollowedToItsFolder) {
  ScratchMedium outside;
  ScratchMedium medium;
  fs::create_directories("docs");
  // Where the system lets a test make links (not every Windows does).
  std::error_code linked;
  fs::create_directory_symlink(outside.root(), "docs/out", linked);
  if (linked) GTEST_SKIP() << "no links here: " << linked.message();
  EXPECT_TRUE(IsFolder("docs/out"));
  EXPECT_EQ(FinalPath("docs/out"), FinalPath(outside.root().u8string()));
  fs::create_symlink("nowhere.txt", "docs/dangling", linked);
  ASSERT_FALSE(linked) << linked.message();
  EXPECT_TRUE(EntryExists("docs/dangling"));
  EXPECT_FALSE(FinalPath("docs/dangling").has_value());
  EXPECT_FALSE(IsFolder("docs/dangling"));
}

}  // namespace
}  // namespace tolvar
