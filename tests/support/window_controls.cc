// Test helper, Win32 only: what the controls of a running program's window hold, as the system
// itself reports them, for the end-to-end tests that cannot see inside a Wine window from X.
//   tolvar_window_controls.exe TITLE
// prints, as one JSON object in UTF-8, the client size of the visible top-level window titled
// exactly TITLE, its place on the screen and extended style, and each of its child windows in
// z-order: class, text, place in the client area and on the screen, styles, and a list's items and
// their data; and the extended style of each open list of a combo box of that window's thread (a
// window of its own, hidden while the list is closed).
// A right-to-left window counts its client area from the right: only the places on the screen
// show where a control is. Ends with 1 when there is no such window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "shared_routines/utf16_win32.h"

namespace {

std::string Json(const RECT& rect) {
  return "[" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
         std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "]";
}

std::string ExStyle(HWND window) {
  return std::to_string(GetWindowLongW(window, GWL_EXSTYLE) & 0xffffffffu);
}

std::string Json(const std::wstring& text) {
  std::string quoted = "\"";
  for (const char c : tolvar::Narrow(text)) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

// A control's text through WM_GETTEXT, which the system carries across processes.
std::wstring ControlText(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

// The items of a combo box, each through CB_GETLBTEXT.
std::string ComboItems(HWND combo) {
  std::string items = "[";
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring item(length > 0 ? length + 1 : 1, L'\0');
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
    item.resize(copied > 0 ? copied : 0);
    items += (i > 0 ? ", " : "") + Json(item);
  }
  return items + "]";
}

// Each item's data, which the menu's owner-drawn list holds its icon's number in (plus one).
std::string ComboItemData(HWND combo) {
  std::string data = "[";
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    data += (i > 0 ? ", " : "") + std::to_string(SendMessageW(combo, CB_GETITEMDATA, i, 0));
  }
  return data + "]";
}

struct Search {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (IsWindowVisible(window) && ControlText(window) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The open lists (class ComboLBox) among a thread's top-level windows, as a JSON list of their
// extended styles.
BOOL CALLBACK AddOpenList(HWND window, LPARAM parameter) {
  wchar_t class_name[64] = L"";
  GetClassNameW(window, class_name, 64);
  if (lstrcmpiW(class_name, L"ComboLBox") == 0) {
    auto* styles = reinterpret_cast<std::string*>(parameter);
    *styles += (styles->size() > 1 ? ", " : "") + ExStyle(window);
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  Search search = {argv[1], nullptr};
  EnumWindows(FindTitled, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return 1;
  RECT client = {};
  GetClientRect(search.found, &client);
  RECT window = {};
  GetWindowRect(search.found, &window);
  std::string json = "{\"client\": [" + std::to_string(client.right) + ", " +
                     std::to_string(client.bottom) + "], \"window\": " + Json(window) +
                     ", \"ex_style\": " + ExStyle(search.found) + ", \"controls\": [";
  bool first = true;
  // The children in z-order, the order in which screen readers and the dialog keys meet them.
  for (HWND child = GetWindow(search.found, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[64] = L"";
    GetClassNameW(child, class_name, 64);
    RECT rect = {};
    GetWindowRect(child, &rect);
    const RECT screen = rect;
    MapWindowPoints(nullptr, search.found, reinterpret_cast<POINT*>(&rect), 2);
    json += std::string(first ? "" : ", ") + "{\"class\": " + Json(class_name) +
            ", \"text\": " + Json(ControlText(child)) + ", \"rect\": [" +
            std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
            std::to_string(rect.right - rect.left) + ", " + std::to_string(rect.bottom - rect.top) +
            "], \"style\": " + std::to_string(GetWindowLongW(child, GWL_STYLE) & 0xffffffffu) +
            ", \"ex_style\": " + ExStyle(child) + ", \"screen\": " + Json(screen);
    if (lstrcmpiW(class_name, L"ComboBox") == 0) {
      json += ", \"items\": " + ComboItems(child) + ", \"item_data\": " + ComboItemData(child);
    }
    json += "}";
    first = false;
  }
  std::string open_lists = "[";
  EnumThreadWindows(GetWindowThreadProcessId(search.found, nullptr), AddOpenList,
                    reinterpret_cast<LPARAM>(&open_lists));
  json += "], \"open_lists\": " + open_lists + "]}\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), json.data(), static_cast<DWORD>(json.size()), &written,
            nullptr);
  return 0;
}
