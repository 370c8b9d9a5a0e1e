// The drop-down list's keys without a widget: where each navigation key and each typed letter
// leads, at the ends of the list, with modifiers held and with captions beyond ASCII.
#include "menu_window/gtk/drop_down_keys.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

namespace tolvar {
namespace {

constexpr int kVisible = 8;  // a page moves by one row less

int Navigate(guint keyval, int from, int count = 20, guint state = 0) {
  return NavigationTarget(keyval, state, from, count, kVisible);
}

TEST(DropDownKeysTest, NavigationKeysMoveWithinTheListAndStopAtItsEnds) {
  for (const auto [up, down, home, end, page_up, page_down] :
       {std::array<guint, 6>{GDK_KEY_Up, GDK_KEY_Down, GDK_KEY_Home, GDK_KEY_End, GDK_KEY_Page_Up,
                             GDK_KEY_Page_Down},
        std::array<guint, 6>{GDK_KEY_KP_Up, GDK_KEY_KP_Down, GDK_KEY_KP_Home, GDK_KEY_KP_End,
                             GDK_KEY_KP_Page_Up, GDK_KEY_KP_Page_Down}}) {
    EXPECT_EQ(Navigate(down, 3), 4);
    EXPECT_EQ(Navigate(up, 3), 2);
    EXPECT_EQ(Navigate(up, 0), 0);
    EXPECT_EQ(Navigate(down, 19), 19);
    EXPECT_EQ(Navigate(home, 12), 0);
    EXPECT_EQ(Navigate(end, 2), 19);
    EXPECT_EQ(Navigate(page_down, 3), 10);
    EXPECT_EQ(Navigate(page_down, 15), 19);
    EXPECT_EQ(Navigate(page_up, 10), 3);
    EXPECT_EQ(Navigate(page_up, 5), 0);
    // Nothing selected yet: Down and Page Down start from the top.
    EXPECT_EQ(Navigate(down, -1), 0);
    EXPECT_EQ(Navigate(page_down, -1), 7);
    EXPECT_EQ(Navigate(up, -1), 0);
  }
}

TEST(DropDownKeysTest, OtherKeysAltAndAnEmptyListNavigateNowhere) {
  EXPECT_EQ(Navigate(GDK_KEY_a, 3), kNoTarget);
  EXPECT_EQ(Navigate(GDK_KEY_Return, 3), kNoTarget);
  EXPECT_EQ(Navigate(GDK_KEY_Down, 3, 20, GDK_MOD1_MASK), kNoTarget);  // Alt+Down opens the list
  EXPECT_EQ(Navigate(GDK_KEY_Down, 3, 20, GDK_SHIFT_MASK), 4);
  EXPECT_EQ(Navigate(GDK_KEY_Down, -1, 0), kNoTarget);
  EXPECT_EQ(Navigate(GDK_KEY_End, -1, 0), kNoTarget);
}

TEST(DropDownKeysTest, ALetterLeadsToTheNextCaptionStartingWithItWrappingRound) {
  const std::vector<std::string_view> captions{"Please Select...",
                                               "Install",
                                               "",
                                               "info",
                                               "\xC3\x89"
                                               "clair",
                                               "Leave"};
  EXPECT_EQ(LetterTarget(GDK_KEY_i, 0, 0, captions), 1);
  EXPECT_EQ(LetterTarget(GDK_KEY_i, 0, 1, captions), 3);  // without regard to case
  EXPECT_EQ(LetterTarget(GDK_KEY_I, 0, 3, captions), 1);  // round past the end
  EXPECT_EQ(LetterTarget(GDK_KEY_I, GDK_SHIFT_MASK, 3, captions), 1);
  EXPECT_EQ(LetterTarget(GDK_KEY_eacute, 0, 0, captions), 4);  // beyond ASCII, folded
  EXPECT_EQ(LetterTarget(GDK_KEY_l, 0, 5, captions), 5);       // the only one: itself
  EXPECT_EQ(LetterTarget(GDK_KEY_p, 0, -1, captions), 0);      // nothing selected: from the top
  EXPECT_EQ(LetterTarget(GDK_KEY_p, 0, 0, captions), 0);
  EXPECT_EQ(LetterTarget(GDK_KEY_z, 0, 0, captions), kNoTarget);
}

TEST(DropDownKeysTest, KeysThatTypeNoLetterLeadNowhere) {
  const std::vector<std::string_view> captions{" blank first", "install", "Leave"};
  EXPECT_EQ(LetterTarget(GDK_KEY_i, GDK_CONTROL_MASK, 0, captions), kNoTarget);
  EXPECT_EQ(LetterTarget(GDK_KEY_i, GDK_MOD1_MASK, 0, captions), kNoTarget);
  EXPECT_EQ(LetterTarget(GDK_KEY_space, 0, 2, captions), kNoTarget);
  EXPECT_EQ(LetterTarget(GDK_KEY_Down, 0, 0, captions), kNoTarget);
  EXPECT_EQ(LetterTarget(GDK_KEY_i, 0, -1, {}), kNoTarget);
}

}  // namespace
}  // namespace tolvar
