// Paths and links in a menu file that reach past the medium: shares on other machines, the
// system's device names, links that carry more than the author's address, menu files that lead out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "menu_form/command_kind.h"
#include "menu_form/language_files.h"
#include "menu_form/menu_form.h"
#include "shared_routines/directory_lister.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/resolves_inside.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

// `file` (absolute) through a prefix that the system still resolves to it: "\\?\" before a drive
// path on Windows; on Linux a leading "\\", which reads as "//" there and so as the root. Each
// names a real file, so only the refusal keeps it from being found.
std::string ThroughNoLocalPath(const fs::path& file) {
#ifdef _WIN32
  return "\\\\?\\" + file.u8string();
#else
  std::string path = file.u8string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "\\" + path;  // "\tmp\x" becomes "\\tmp\x", a share "tmp" to Windows
#endif
}

TEST(HostilePathsTest, SharesAndDeviceNamesNameNoLocalFile) {
  for (const char* path :
       {"\\\\attacker.example\\share\\splash.png", "//attacker.example/share/x", "\\/server/x",
        "/\\server\\x", "\\\\?\\UNC\\server\\share\\x", "\\\\.\\pipe\\x", "\\\\?\\C:\\setup.exe",
        "\\?"
        "?\\UNC\\server\\x",
        "/?"
        "?/C:/x",
        " \\\\server\\x", "\\\\"}) {
    EXPECT_TRUE(NamesNoLocalFile(path)) << path;
  }
  for (const char* path : {"setup.exe", ".\\setup.exe", "\\setup.exe", "/setup.exe", "C:\\x",
                           "menu\\\\splash.png", "?",
                           "?"
                           "?\\x",
                           "\\?x", ""}) {
    EXPECT_FALSE(NamesNoLocalFile(path)) << path;
  }
}

// The path that reaches the system is the one to watch: each of these names an existing file, and
// neither FileExists, the splash, a command nor a start folder may take it.
TEST(HostilePathsTest, NoLocalPathIsMissingEverywhereTheMenuTakesAPath) {
  ScratchMedium medium;
  medium.Write("menu/splash.bmp", "BM");
  medium.Write("setup.exe", "program");
  fs::create_directories(medium.root() / "work");
  const std::string splash = ThroughNoLocalPath(medium.root() / "menu" / "splash.bmp");
  const std::string program = ThroughNoLocalPath(medium.root() / "setup.exe");
  const std::string folder = ThroughNoLocalPath(medium.root() / "work");
  ASSERT_TRUE(FileExists((medium.root() / "setup.exe").u8string()));
  EXPECT_FALSE(FileExists(splash));
  EXPECT_FALSE(FileExists(program));

  medium.WriteDefinition("T\r\n" + splash + "\r\n2\r\nRemote\r\n" + program +
                         "\r\n'#directory: " + folder + "\r\nIn a remote folder\r\nsetup.exe\r\n");
  FakeMenu menu;
  ASSERT_FALSE(menu.Load());
  for (const std::string& call : menu.view.calls) {
    EXPECT_EQ(call.find("ShowSplash"), std::string::npos) << call;
  }
  menu.view.UserSelects(1);
  menu.view.calls.clear();
  menu.form.OnGoBoxClick();
  EXPECT_EQ(menu.view.calls, (Calls{"Warn Kestova: Can't find file!!"}));

  menu.view.UserSelects(2);
  menu.view.calls.clear();
  menu.form.OnGoBoxClick();
  EXPECT_TRUE(menu.starter.requests.empty());
  ASSERT_EQ(menu.view.calls.size(), 1u);
  EXPECT_NE(menu.view.calls[0].find("cannot be found"), std::string::npos) << menu.view.calls[0];

  // Whoever else asks the program start gets the same answer, before the system sees the path.
  EXPECT_FALSE(menu.starter.Start(program).ok);
  EXPECT_TRUE(menu.starter.requests.empty());
}

TEST(HostilePathsTest, LinksAreOpenedEncodedAndMailtoAttachesNothing) {
  // A fullwidth quote (U+FF02) that a handler's ANSI command line would turn into a real one, and
  // a real quote and blank, which would end the handler's "%1".
  EXPECT_EQ(LinkAsOpened("https://example.org/\xEF\xBC\x82 --new-window \xEF\xBC\x82x\""),
            "https://example.org/%EF%BC%82%20--new-window%20%EF%BC%82x%22");
  EXPECT_EQ(LinkAsOpened("http://example.org/caf\xC3\xA9?q=1&r=%41#top"),
            "http://example.org/caf%C3%A9?q=1&r=%41#top");
  // A mail program may attach what these name; whatever else the link asks stays.
  EXPECT_EQ(LinkAsOpened("mailto:a@example.org?attach=/etc/passwd"), "mailto:a@example.org");
  EXPECT_EQ(LinkAsOpened("MAILTO:a@example.org?subject=Hi&Attachment=C:\\Windows\\win.ini&body=x"),
            "MAILTO:a@example.org?subject=Hi&body=x");
  EXPECT_EQ(LinkAsOpened("mailto:a@example.org?ATTACH=x;subject=Hi?%61ttach=y& attach =z"),
            "mailto:a@example.org?subject=Hi");
  EXPECT_EQ(LinkAsOpened("mailto:a@example.org?subject=attach=x&body=see%20attachment"),
            "mailto:a@example.org?subject=attach=x&body=see%20attachment");
  EXPECT_EQ(WithoutAttachments("https://example.org/?attach=x"), "https://example.org/?attach=x");

  // The core encodes before any system sees the link, so both systems get the same text.
  FakeProgramStart starter;
  ASSERT_TRUE(
      starter.OpenLink("mailto:a@example.org?attachment=%2Fetc%2Fpasswd&subject=\xC3\xA9").ok);
  EXPECT_EQ(starter.links, (Calls{"mailto:a@example.org?subject=%C3%A9"}));
}

#ifndef _WIN32
// The language files, listed: a counting stand-in in front of the real folder.
class CountingDirectories : public DirectoryLister {
 public:
  bool Exists(const std::string& path) const override { return disk_.Exists(path); }
  const DirectoryNames& List(const std::string& directory) const override {
    ++listings;
    return disk_.List(directory);
  }
  mutable int listings = 0;

 private:
  DiskDirectories disk_;
};

TEST(HostilePathsTest, ALongLanguageListCostsOneListingAndABoundedNumberOfLookups) {
  ScratchMedium medium;
  medium.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  for (int i = 0; i < 300; ++i) medium.Write("menu/other" + std::to_string(i) + ".txt", "");
  medium.Write("menu/config.de.mnu", "T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  // What a LANGUAGE of 100 KB holds: tags by the thousand, and one tag of thousands of parts.
  std::vector<std::string> languages;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) languages.push_back(std::string{a, b});
  }
  std::string long_tag = "zz";
  while (long_tag.size() < 50000) long_tag += "-x";
  languages.insert(languages.begin(), long_tag);

  const std::vector<std::string> candidates = DefinitionCandidates(languages);
  EXPECT_EQ(candidates.size(), kMostLanguagesTried + 1);
  for (const std::string& candidate : candidates) EXPECT_LT(candidate.size(), 64u) << candidate;

  CountingDirectories lister;
  std::vector<std::string> asked;
  const auto usable = [&asked](const std::string& path) {
    asked.push_back(path);
    return FileExists(path);
  };
  // "de" is the 82nd tag, past those tried: the plain file, asked for alone.
  EXPECT_EQ(ChooseDefinition(languages, lister, usable), ".\\menu\\config.mnu");
  EXPECT_EQ(lister.listings, 1);
  EXPECT_EQ(asked, (Calls{".\\menu\\config.mnu"}));

  languages.insert(languages.begin() + 3, "DE_de.UTF-8");
  asked.clear();
  EXPECT_EQ(ChooseDefinition(languages, lister, usable), ".\\menu\\config.de.mnu");
  EXPECT_EQ(lister.listings, 2);
  EXPECT_EQ(asked, (Calls{".\\menu\\config.de.mnu"}));
}

// A menu file that is a link out of the medium is not read: the user's file never reaches a box.
TEST(HostilePathsTest, AMenuFileThatLeadsOutOfTheMediumIsMissing) {
  ScratchMedium outside;
  outside.Write("netrc", "machine example.org\r\npassword hunter2\r\nx\r\n");
  ScratchMedium medium;
  medium.WriteDefinition("Plain\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  fs::create_symlink(outside.root() / "netrc", "menu/config.de.mnu");
  fs::create_directories("menu/inside");
  medium.Write("menu/inside/de.mnu", "Deutsch\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  fs::create_symlink("inside/de.mnu", "menu/config.de-at.mnu");
  EXPECT_FALSE(ResolvesInside(".\\menu\\config.de.mnu", "."));
  EXPECT_TRUE(ResolvesInside(".\\menu\\config.de-at.mnu", "."));
  EXPECT_FALSE(ResolvesInside(".\\menu\\nowhere.mnu", "."));

  FakeMenu menu(".", System::kLinux);
  MenuForm german(menu.view, menu.starter, ".", System::kLinux, {"de_DE.UTF-8"});
  menu.view.Attach(&german);
  german.OnLoad();
  for (const std::string& call : menu.view.calls) {
    EXPECT_EQ(call.find("password"), std::string::npos) << call;
  }
  EXPECT_NE(std::find(menu.view.calls.begin(), menu.view.calls.end(), "SetTitle Plain"),
            menu.view.calls.end());

  MenuForm austrian(menu.view, menu.starter, ".", System::kLinux, {"de_AT.UTF-8"});
  menu.view.Attach(&austrian);
  menu.view.calls.clear();
  austrian.OnLoad();  // a link inside the medium is the medium's file
  EXPECT_EQ(menu.view.calls.at(0), "SetTitle Deutsch");
}
#endif

}  // namespace
}  // namespace tolvar
