// What a key does in the drop-down list, decided without a widget: the row it leads to, from the
// key, the row it starts from and the captions. DropDown asks this for the closed list and the
// open one alike, and carries the answer out.
#ifndef TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_KEYS_H_
#define TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_KEYS_H_

#include <glib.h>

#include <string_view>
#include <vector>

namespace tolvar {

// The answer of both functions when the key leads to no row.
inline constexpr int kNoTarget = -2;

// The row a navigation key (GDK's `keyval`: the arrows, Home, End, Page Up and Page Down, on the
// keypad too) leads to from `from` (-1: none) in a list of `count` rows of which `visible_rows`
// show at once. kNoTarget when the key does not navigate, when Alt is held (Alt with an arrow opens
// and closes the list) or when the list is empty.
int NavigationTarget(guint keyval, guint state, int from, int count, int visible_rows);

// The next row after `from` (-1: none) whose caption starts with the letter `keyval` types, without
// regard to case, wrapping round to `from` itself. kNoTarget when the key types no letter (or
// Control or Alt is held) or no caption starts with it.
int LetterTarget(guint keyval, guint state, int from,
                 const std::vector<std::string_view>& captions);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_KEYS_H_
