// Win32 body of MenuWindow: plain CreateWindowExW controls on a window that behaves like a dialog
// (IsDialogMessageW in the loop), laid out from twips at the window's DPI.
#include "menu_window/win32/menu_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "menu_form/form_layout.h"
#include "menu_form/menu_entry.h"
#include "menu_window/win32/dpi_win32.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {
namespace {

constexpr wchar_t kWindowClass[] = L"Tolvar_Autorun";  // the form's name (kFormName)
constexpr int kMenuId = 101;
constexpr int kGoBoxId = 102;
constexpr int kExitBoxId = 103;
constexpr int kDescriptionId = 104;
constexpr int kPictureId = 105;  // the picture's name for screen readers, when it has one
constexpr int kIconId = 1;       // the application icon in the resources

HWND CreateChild(HWND parent, HINSTANCE instance, const wchar_t* window_class,
                 const wchar_t* caption, DWORD style, const RECT& rect, int id) {
  // A control made in a right-to-left window is mirrored as it is, and reads as it does.
  const DWORD ex_style = GetWindowLongW(parent, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
  return CreateWindowExW(ex_style, window_class, caption, WS_CHILD | WS_VISIBLE | style, rect.left,
                         rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

std::string LastErrorText() { return SystemErrorText(GetLastError()); }

}  // namespace

MenuWindow::MenuWindow(HINSTANCE instance) : instance_(instance) {}

MenuWindow::~MenuWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  if (font_ != nullptr) DeleteObject(font_);
  if (large_icon_ != nullptr) DestroyIcon(large_icon_);
  if (small_icon_ != nullptr) DestroyIcon(small_icon_);
}

Result MenuWindow::Create() {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance_;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  if (RegisterClassExW(&window_class) == 0) {
    return Result::Failure("its window class: " + LastErrorText());
  }

  // Everything is made at its final place and size for the screen's DPI: moving windows
  // afterwards costs start-up time, above all under Wine.
  dpi_ = WindowDpi(nullptr);
  const RECT frame = WindowRect(dpi_, nullptr);
  window_ = CreateWindowExW(0, kWindowClass, Widen(kDesignTitle).c_str(), kWindowStyle, frame.left,
                            frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                            nullptr, instance_, this);
  if (window_ == nullptr) return Result::Failure("the window: " + LastErrorText());

  // Tab follows the order in which the controls were created: the layout's keyboard order. The
  // picture area is no control of its own; it is painted on the window.
  for (const ControlLayout* layout : KeyboardOrder()) {
    if (CreateControl(*layout) == nullptr) {
      return Result::Failure("its controls: " + LastErrorText());
    }
  }
  saved_focus_ = ControlHandle(KeyboardOrder().front()->control);
  SendMessageW(menu_, CB_SETMINVISIBLE, kVisibleListRows, 0);
  ApplyFont(dpi_);

  large_icon_ =
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  small_icon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  if (large_icon_ != nullptr) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon_));
  }
  if (small_icon_ != nullptr) {
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
  }

  // A window on a monitor whose DPI differs from the system's is laid out again for it.
  const UINT window_dpi = WindowDpi(window_);
  if (window_dpi != dpi_) ApplyLayout(window_dpi, nullptr);
  return Result::Ok();
}

HWND MenuWindow::CreateControl(const ControlLayout& layout) {
  // The arrow keys move the focus within a group, which runs from a control marked WS_GROUP to
  // the next one, round the end: the focusable controls form one from the first of the keyboard
  // order on, so that an arrow never reaches a control after them.
  const DWORD focus_style =
      (layout.tab_position >= 0 ? WS_TABSTOP : 0) | (layout.tab_position == 0 ? WS_GROUP : 0);
  switch (layout.control) {
    case Control::kGoBox:
      go_box_ = CreateChild(window_, instance_, L"BUTTON", Widen(layout.design_caption).c_str(),
                            focus_style | BS_DEFPUSHBUTTON, ControlRect(layout, dpi_), kGoBoxId);
      return go_box_;
    case Control::kExitBox:
      exit_box_ = CreateChild(window_, instance_, L"BUTTON", Widen(layout.design_caption).c_str(),
                              focus_style | BS_PUSHBUTTON, ControlRect(layout, dpi_), kExitBoxId);
      return exit_box_;
    case Control::kMenu:
      menu_ = CreateChild(window_, instance_, L"COMBOBOX", L"",
                          focus_style | CBS_DROPDOWNLIST | WS_VSCROLL, MenuRect(dpi_), kMenuId);
      return menu_;
    case Control::kDescription:
      // A group of its own, which the arrow keys never enter; made after the list, it follows
      // the list in the z-order, where screen readers look for what belongs to it. The text
      // shows as written ('&' too), cut with an ellipsis.
      description_ = CreateChild(window_, instance_, L"STATIC", L"",
                                 focus_style | WS_GROUP | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                 ControlRect(layout, dpi_), kDescriptionId);
      return description_;
    case Control::kSplash:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);  // the picture area is painted on the window
  return nullptr;
}

HWND MenuWindow::ControlHandle(Control control) const {
  switch (control) {
    case Control::kGoBox:
      return go_box_;
    case Control::kExitBox:
      return exit_box_;
    case Control::kMenu:
      return menu_;
    case Control::kDescription:
      return description_;
    case Control::kSplash:
      break;
  }
  return window_;
}

void MenuWindow::Show() {
  EndListFilling();
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  MoveFocus(ControlHandle(KeyboardOrder().front()->control));
}

int MenuWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab, the arrows, Return and Space between the controls, as in a dialog box.
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void MenuWindow::SetTitle(const std::string& title) {
  SetWindowTextW(window_, Widen(title).c_str());
}

Result MenuWindow::ShowSplash(const std::string& path) {
  const RECT area = SplashRect();
  const Result loaded =
      picture_area_.Load(path, SIZE{area.right - area.left, area.bottom - area.top});
  picture_area_.Invalidate(window_, area);
  return loaded;
}

void MenuWindow::ReserveListItems(int count, size_t text_bytes) {
  // The list otherwise grows its array a few items at a time: under Wine, 32766 items fill in
  // two thirds of the time with the room taken at once. UTF-16 has no more units than UTF-8 has
  // bytes; each item adds its terminator.
  SendMessageW(menu_, CB_INITSTORAGE, static_cast<WPARAM>(count),
               static_cast<LPARAM>((text_bytes + count) * sizeof(wchar_t)));
}

void MenuWindow::AddListItem(int position, std::string_view text) {
  // Filling thousands of items one by one with redraw on is many times slower, above all under
  // Wine; redraw comes back with the first selection or the first showing.
  if (!filling_list_) {
    SendMessageW(menu_, WM_SETREDRAW, FALSE, 0);
    filling_list_ = true;
  }
  std::wstring caption = Widen(text);
  SendMessageW(menu_, CB_INSERTSTRING, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(caption.c_str()));
  longest_captions_.Keep(std::move(caption));
}

void MenuWindow::EndListFilling() {
  if (!filling_list_) return;
  filling_list_ = false;
  WidenOpenList();
  SendMessageW(menu_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(menu_, nullptr, TRUE);
}

void MenuWindow::WidenOpenList() {
  const int widest = longest_captions_.MeasureWidest(menu_, font_);
  // The row's margins and the scroll bar beside the text, up to the screen's width.
  const int wanted = widest + 2 * GetSystemMetrics(SM_CXEDGE) + 4 * GetSystemMetrics(SM_CXBORDER) +
                     GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(menu_, CB_SETDROPPEDWIDTH, std::min(wanted, GetSystemMetrics(SM_CXSCREEN)), 0);
}

void MenuWindow::SetListPosition(int position) {
  EndListFilling();
  // CB_SETCURSEL sends no CBN_SELCHANGE: the form runs its handler itself.
  SendMessageW(menu_, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

int MenuWindow::ReadListPosition() {
  const LRESULT position = SendMessageW(menu_, CB_GETCURSEL, 0, 0);
  return position == CB_ERR ? -1 : static_cast<int>(position);
}

void MenuWindow::SetButtonCaption(Button button, const std::string& caption) {
  SetWindowTextW(button == Button::kGoBox ? go_box_ : exit_box_, Widen(caption).c_str());
}

void MenuWindow::Warn(const std::string& text, const std::string& title) {
  // A box of a right-to-left menu reads as it does: a message box is not mirrored by its owner.
  const bool right_to_left =
      window_ != nullptr && (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  MessageBoxW(window_, Widen(text).c_str(), Widen(title).c_str(),
              MB_ICONEXCLAMATION | MB_OK | (right_to_left ? MB_RIGHT | MB_RTLREADING : 0));
}

void MenuWindow::Close() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void MenuWindow::MoveFocus(HWND target) {
  if (target == nullptr) return;
  SetFocus(target);
  // As in a dialog box, a focused push button is the one Return presses; otherwise Go_Box is.
  const bool exit_is_default = target == exit_box_;
  SendMessageW(go_box_, BM_SETSTYLE, exit_is_default ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
  SendMessageW(exit_box_, BM_SETSTYLE, exit_is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void MenuWindow::HandleCommand(int id, int code) {
  if (id == kMenuId && code == CBN_SELCHANGE) {
    Raise(on_menu_click);
  } else if (id == kGoBoxId && code == BN_CLICKED) {
    Raise(on_go_box_click);
  } else if (id == kExitBoxId && code == BN_CLICKED) {
    Raise(on_exit_box_click);
  }
}

LRESULT CALLBACK MenuWindow::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MenuWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = self->menu_ = self->go_box_ = self->exit_box_ = self->description_ = nullptr;
    self->picture_area_.Forget();
    return DefWindowProcW(window, message, wparam, lparam);
  }
  if (self->window_ == nullptr) self->window_ = window;
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT MenuWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      HandleCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case DM_GETDEFID: {
      // IsDialogMessageW asks which button Return presses when the focus is not on a push button.
      const int id = GetFocus() == exit_box_ ? kExitBoxId : kGoBoxId;
      return MAKELRESULT(id, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL: {
      // IsDialogMessageW moves the focus with Tab and the arrows by asking the window for it.
      HWND target = lparam != 0 ? reinterpret_cast<HWND>(wparam)
                                : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
      MoveFocus(target);
      return 0;
    }
    case WM_ACTIVATE:
      // A message box or another program takes the focus away; it comes back where it was.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) saved_focus_ = focus;
      } else if (saved_focus_ != nullptr && IsWindow(saved_focus_)) {
        SetFocus(saved_focus_);
        return 0;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window_, &paint);
      picture_area_.Paint(dc, SplashRect());
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_MEASUREITEM: {
      // The owner-drawn list asks as it is made; the field is fitted to the layout afterwards.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (item->CtlID != kMenuId) break;
      item->itemHeight = static_cast<UINT>(ListIconSide() + 2);
      return TRUE;
    }
    case WM_DRAWITEM: {
      // The child that names the picture shows it, over the window's own painting.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlID == kMenuId) {
        list_icons_.DrawItem(*item, ListIconSide());
        return TRUE;
      }
      if (item->CtlID != kPictureId) break;
      picture_area_.Paint(item->hDC, item->rcItem);
      return TRUE;
    }
    case WM_DPICHANGED:
      ApplyLayout(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void MenuWindow::ShowDescriptionRow() {
  if (description_ != nullptr) return;
  // Without the row the menu works as before: a control that cannot be made leaves the window
  // as designed, and the descriptions unshown.
  if (CreateControl(kDescriptionLayout) == nullptr) return;
  // The window is still hidden: it grows and is centred again, with the row at the window's DPI.
  ApplyLayout(dpi_, nullptr);
}

void MenuWindow::SetDescription(const std::string& text) {
  if (description_ != nullptr) SetWindowTextW(description_, Widen(text).c_str());
}

void MenuWindow::SetPictureDescription(const std::string& text) {
  // Without the child the menu works as before, its picture unnamed.
  picture_area_.Describe(window_, instance_, SplashRect(), Widen(text), kPictureId);
}

}  // namespace tolvar
