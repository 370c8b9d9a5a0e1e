// The drop-down list's keys, on GDK's key values and GLib's Unicode tables alone: no widget.
#include "menu_window/gtk/drop_down_keys.h"

#include <gdk/gdk.h>

#include <algorithm>

namespace tolvar {
namespace {

// The letter a key types, folded for comparing without regard to case; 0 when it types none.
gunichar TypedLetter(guint keyval, guint state) {
  if ((state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) return 0;
  const gunichar typed = gdk_keyval_to_unicode(keyval);
  return typed != 0 && g_unichar_isgraph(typed) ? g_unichar_tolower(typed) : 0;
}

gunichar FirstLetter(std::string_view caption) {
  return caption.empty() ? 0 : g_unichar_tolower(g_utf8_get_char(caption.data()));
}

}  // namespace

int NavigationTarget(guint keyval, guint state, int from, int count, int visible_rows) {
  if ((state & GDK_MOD1_MASK) != 0 || count == 0) return kNoTarget;
  const int last = count - 1;
  const int page = std::max(visible_rows - 1, 1);
  switch (keyval) {
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
      return std::max(from - 1, 0);
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
      return std::min(from + 1, last);
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
      return 0;
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
      return last;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
      return std::max(from - page, 0);
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
      return std::min(std::max(from, 0) + page, last);
    default:
      return kNoTarget;
  }
}

int LetterTarget(guint keyval, guint state, int from,
                 const std::vector<std::string_view>& captions) {
  const gunichar letter = TypedLetter(keyval, state);
  const int count = static_cast<int>(captions.size());
  if (letter == 0) return kNoTarget;
  for (int step = 1; step <= count; ++step) {
    const int position = (std::max(from, -1) + step) % count;
    if (FirstLetter(captions[position]) == letter) return position;
  }
  return kNoTarget;
}

}  // namespace tolvar
