// The checker on paths and links that reach past the medium: it names each, and shows nothing of
// a file outside the medium.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "menu_check/checks/language_check.h"
#include "menu_check/checks/path_hint.h"
#include "menu_check/menu_check.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

std::vector<std::string> Messages(const CheckReport& report) {
  std::vector<std::string> messages;
  for (const Finding& finding : report.findings) {
    messages.push_back(finding.file + ":" + std::to_string(finding.line) + " " + finding.message);
  }
  return messages;
}

TEST(HostilePathsCheckTest, SharesAndDevicePathsAreNamedBeforeTheRootsHint) {
  for (const char* path : {"\\\\attacker.example\\share\\splash.png", "//server/share/x",
                           "\\\\?\\UNC\\server\\x", "\\\\.\\pipe\\x", "\\\\?\\C:\\setup.exe"}) {
    EXPECT_THAT(PathHint(path, "no picture is shown"),
                AllOf(HasSubstr("a share on another machine or a device of the system"),
                      HasSubstr("no picture is shown"), Not(HasSubstr("starts at a root"))))
        << path;
  }
  EXPECT_THAT(PathHint("\\setup.exe", "x"), HasSubstr("starts at a root"));

  // As a command, "\\?\" is no wildcard pattern to look for.
  ScratchMedium medium;
  medium.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n\\\\?\\C:\\setup.exe\r\n");
  EXPECT_THAT(Messages(CheckMenu(".")),
              ElementsAre(AllOf(HasSubstr(":5 entry 1: the path names a share on another machine"),
                                HasSubstr("Can't find file!!"))));
}

TEST(HostilePathsCheckTest, MailtoAttachmentsAreNamedAndOtherLinksPass) {
  EXPECT_THAT(LinkHint("mailto:a@example.org?subject=Hi&ATTACH=/etc/passwd"),
              AllOf(HasSubstr("attach a file"), HasSubstr("\"mailto:a@example.org?subject=Hi\"")));
  EXPECT_THAT(LinkHint("mailto:a@example.org?attachment=C:\\Windows\\win.ini"),
              HasSubstr("drops that part"));
  EXPECT_EQ(LinkHint("mailto:a@example.org?subject=attachment"), "");
  EXPECT_EQ(LinkHint("https://example.org/?attach=x"), "");

  ScratchMedium medium;
  medium.WriteDefinition("T\r\n$null$\r\n1\r\nMail\r\nmailto:a@example.org?attach=/etc/passwd\r\n");
  EXPECT_THAT(Messages(CheckMenu(".")),
              ElementsAre(HasSubstr(":5 entry 1: the mailto: link asks")));
}

#ifndef _WIN32
// A menu file or language file that links out of the medium: named, and none of its lines shown.
TEST(HostilePathsCheckTest, AMenuFileLinkedOutOfTheMediumIsNamedNotShown) {
  ScratchMedium outside;
  outside.Write("netrc", "machine example.org\r\npassword hunter2\r\nlogin me\r\n");
  ScratchMedium medium;
  std::filesystem::create_directories("menu");
  std::filesystem::create_symlink(outside.root() / "netrc", "menu/config.mnu");
  const CheckReport plain = CheckMenu(".");
  EXPECT_FALSE(plain.checked);
  EXPECT_THAT(Messages(plain),
              ElementsAre(AllOf(HasSubstr("is a link to a file outside the medium"),
                                HasSubstr("Can't locate menu options"))));

  std::filesystem::remove("menu/config.mnu");
  medium.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  std::filesystem::create_symlink(outside.root() / "netrc", "menu/config.de.mnu");
  CheckReport report = CheckMenu(".");
  const std::vector<std::string> messages = Messages(report);
  EXPECT_THAT(messages, ElementsAre(AllOf(HasSubstr("config.de.mnu"),
                                          HasSubstr("is a link to a file outside the medium"),
                                          HasSubstr("the next menu file"))));
  for (const std::string& message : messages) {
    EXPECT_THAT(message, AllOf(Not(HasSubstr("password")), Not(HasSubstr("machine"))));
  }
}

// A picture that links out of the medium is not on the medium: named as the menu names a picture
// it cannot show, whatever lies at the other end on the author's machine.
TEST(HostilePathsCheckTest, APictureLinkedOutOfTheMediumCannotBeShownFromIt) {
  ScratchMedium outside;
  outside.Write("splash.bmp", "BM not a picture at all");
  ScratchMedium medium;
  medium.WriteDefinition("T\r\nmenu\\splash.bmp\r\n1\r\nA\r\n$exit$\r\n");
  std::filesystem::create_symlink(outside.root() / "splash.bmp", "menu/splash.bmp");
  const CheckReport report = CheckMenu(".");
  EXPECT_THAT(Messages(report),
              ElementsAre(AllOf(HasSubstr(":2 the splash picture"), HasSubstr("cannot be shown"),
                                HasSubstr("a link to a file outside the medium"))));
  EXPECT_EQ(report.ExitStatus(), 2);
}
#endif

}  // namespace
}  // namespace tolvar
