// The menu file per language and the author's own texts: which file the form reads for the user's
// languages, over real files in a scratch medium, and what the window then says.
#include "menu_form/language_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared_routines/native_path.h"
#include "tests/support/fake_menu_view.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using Paths = std::vector<std::string>;

TEST(LanguageFilesTest, SystemNamesBecomeFileTagsAndNothingElseReachesAPath) {
  EXPECT_EQ(LanguageFileTag("pt_BR.UTF-8"), "pt-br");
  EXPECT_EQ(LanguageFileTag("sr_RS@latin"), "sr-rs");
  EXPECT_EQ(LanguageFileTag("zh-Hant-TW"), "zh-hant-tw");
  EXPECT_EQ(LanguageFileTag("de"), "de");
  for (const char* name : {"C", "POSIX", "C.UTF-8", "", "../../etc/x", "de/..", "de\\x", "d",
                           "deutsch", "de--de", "de-", "de-toolongpart"}) {
    EXPECT_EQ(LanguageFileTag(name), "") << name;
  }
  EXPECT_EQ(DefinitionCandidates({"zh-Hant-TW", "pt_BR.UTF-8", "pt_PT", "C"}),
            (Paths{".\\menu\\config.zh-hant-tw.mnu", ".\\menu\\config.zh-hant.mnu",
                   ".\\menu\\config.zh.mnu", ".\\menu\\config.pt-br.mnu", ".\\menu\\config.pt.mnu",
                   ".\\menu\\config.pt-pt.mnu", ".\\menu\\config.mnu"}));
}

// The checker finds a medium's language files by reading the tag back from each name: the name
// the menu makes for a tag gives that tag back, in any letter case.
TEST(LanguageFilesTest, ATagIsReadBackFromTheNameTheMenuMakesForIt) {
  for (const char* tag : {"de", "pt-br", "zh-hant-tw"}) {
    const std::string path = LanguageDefinitionPath(tag);
    EXPECT_EQ(LanguageOfMenuFileName(path.substr(path.rfind('\\') + 1)), tag);
  }
  EXPECT_EQ(LanguageOfMenuFileName("CONFIG.DE.MNU"), "DE");
  EXPECT_EQ(LanguageOfMenuFileName("config.not a tag.mnu"), "not a tag");  // read back, not judged
  for (const char* name : {"config.mnu", "CONFIG.MNU", "config.de.txt", "setup.de.mnu", "", "de"}) {
    EXPECT_EQ(LanguageOfMenuFileName(name), "") << name;
  }
}

class LanguageMenuTest : public testing::Test {
 protected:
  // Loads the medium's menu for a user whose languages are `languages`; the fault, if any.
  std::optional<RunTimeError> Load(const std::vector<std::string>& languages) {
    view_.emplace();
    form_.emplace(*view_, starter_, ".", System::kLinux, languages);
    view_->Attach(&*form_);
    try {
      form_->OnLoad();
    } catch (const RunTimeError& error) {
      return error;
    }
    return std::nullopt;
  }
  std::string Title() const { return view_->calls.at(0); }

  ScratchMedium medium_;
  std::optional<FakeMenuView> view_;
  FakeProgramStart starter_;
  std::optional<MenuForm> form_;
};

TEST_F(LanguageMenuTest, TheFirstLanguageWithAFileWinsThenItsLanguageAloneThenThePlainFile) {
  medium_.WriteDefinition("English\n$null$\n1\nA\n$null$\n");
  medium_.Write("menu/config.de.mnu", "Deutsch\n$null$\n1\nA\n$null$\n");
  medium_.Write("menu/Config.PT.mnu", "Portugues\n$null$\n1\nA\n$null$\n");  // as Windows finds it
  EXPECT_FALSE(Load({"fr_FR.UTF-8", "de_DE.UTF-8", "en_US"}));
  EXPECT_EQ(Title(), "SetTitle Deutsch");
  EXPECT_FALSE(Load({"pt_BR.UTF-8", "de_DE"}));
  EXPECT_EQ(Title(), "SetTitle Portugues");
  EXPECT_FALSE(Load({"fr", "C"}));
  EXPECT_EQ(Title(), "SetTitle English");
  EXPECT_FALSE(Load({}));
  EXPECT_EQ(Title(), "SetTitle English");
}

TEST_F(LanguageMenuTest, ABrokenLanguageFileIsItsOwnErrorAndNeverFallsBack) {
  medium_.WriteDefinition("English\n$null$\n1\nA\n$null$\n");
  medium_.Write("menu/config.de.mnu", "Deutsch\n$null$\n2\nA\n$null$\n");
  const std::optional<RunTimeError> error = Load({"de_DE.UTF-8"});
  ASSERT_TRUE(error);
  EXPECT_EQ(error->file(), DisplayPath(LanguageDefinitionPath("de")));
  EXPECT_EQ(error->kind(), RunTimeError::Kind::kEndOfFile);
}

TEST_F(LanguageMenuTest, TheAuthorsOwnTextsReplaceTheProgramsOnlyWhereGiven) {
  medium_.WriteDefinition(
      "'#prompt: Bitte wählen...\n'#launch-caption: Starten\n'#not-found-message: Fehlt!\n"
      "'#quit-caption:\nT\n$null$\n'#prompt: too late\n1\nA\nmissing.exe\n");
  ASSERT_FALSE(Load({}));
  EXPECT_EQ(view_->items.at(0), "Bitte wählen...");
  EXPECT_NE(std::find(view_->calls.begin(), view_->calls.end(), "Go_Box Starten"),
            view_->calls.end());
  EXPECT_NE(std::find(view_->calls.begin(), view_->calls.end(), "Exit_Box Quit"),
            view_->calls.end());  // an empty caption would leave a blank button
  view_->UserSelects(1);
  form_->OnGoBoxClick();
  EXPECT_EQ(view_->calls.back(), "Warn Kestova: Fehlt!");
  view_->UserSelects(0);
  EXPECT_EQ(form_->CurrentEntry().Caption, "Bitte wählen...");
}

TEST_F(LanguageMenuTest, DirectionAndPictureDescriptionReachTheWindowBeforeTheTitle) {
  medium_.WriteDefinition(
      "'#direction: right-to-left\n'#picture-description: A lighthouse at dusk\n"
      "T\n$null$\n1\nA\n$null$\n");
  ASSERT_FALSE(Load({}));
  EXPECT_EQ(std::vector<std::string>(view_->calls.begin(), view_->calls.begin() + 3),
            (std::vector<std::string>{"SetRightToLeft",
                                      "SetPictureDescription A lighthouse at dusk", "SetTitle T"}));

  medium_.WriteDefinition(
      "'#direction: right-to-left\n'#direction: left-to-right\n'#direction: upwards\n"
      "T\n$null$\n1\nA\n$null$\n");
  ASSERT_FALSE(Load({}));
  EXPECT_EQ(view_->calls.at(0), "SetTitle T");  // the last valid one holds; no picture text
}

}  // namespace
}  // namespace tolvar
