// GtkMenuWindow: the window Tolvar_Autorun in GTK 3, and the MenuView operations on it. It only
// draws and forwards its four events; what they do is the form's business.
#ifndef TOLVAR_MENU_WINDOW_GTK_MENU_WINDOW_GTK_H_
#define TOLVAR_MENU_WINDOW_GTK_MENU_WINDOW_GTK_H_

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <string>

#include "menu_form/form_layout.h"
#include "menu_form/menu_form.h"
#include "menu_form/menu_view.h"
#include "menu_window/gtk/drop_down.h"

namespace tolvar {

// The hooks of MenuEvents are set once by the menu program, which guards them: nothing they run
// unwinds through GTK.
class GtkMenuWindow : public MenuView, public MenuEvents {
 public:
  // Builds nothing yet: Create does.
  GtkMenuWindow() = default;
  ~GtkMenuWindow() override;
  GtkMenuWindow(const GtkMenuWindow&) = delete;
  GtkMenuWindow& operator=(const GtkMenuWindow&) = delete;

  // Builds the window in its design-time state, hidden. GTK must be initialised. GTK has no
  // failure to report here (it ends the process when memory runs out), so the result is success.
  Result Create();

  // Shows the window with the focus on the first control of the keyboard order, Go_Box.
  void Show();

  void SetTitle(const std::string& title) override;
  Result ShowSplash(const std::string& path) override;
  void ReserveListItems(int count, size_t text_bytes) override;
  void AddListItem(int position, std::string_view text) override;
  void SetListPosition(int position) override;
  int ReadListPosition() override;
  void SetButtonCaption(Button button, const std::string& caption) override;
  void Warn(const std::string& text, const std::string& title) override;
  void SetRightToLeft() override;
  void SetPictureDescription(const std::string& text) override;
  void ShowDescriptionRow() override;
  void SetDescription(const std::string& text) override;
  void DescribeListItem(int position, std::string_view description) override;
  Result SetWindowIcon(const std::string& path) override;
  Expected<int> LoadListIcon(const std::string& path) override;
  void SetListItemIcon(int position, int icon) override;
  void Close() override;

 private:
  static void OnGoBoxClicked(GtkButton* button, gpointer self);
  static void OnExitBoxClicked(GtkButton* button, gpointer self);
  static void OnDestroy(GtkWidget* window, gpointer self);
  // The control's widget; null for the description row while it is not shown.
  GtkWidget* ControlWidget(Control control);
  void Place(GtkWidget* control, const ControlLayout& layout);
  int Left(const PixelRect& box) const;

  GtkWidget* window_ = nullptr;
  GtkWidget* fixed_ = nullptr;
  GtkWidget* splash_ = nullptr;
  GtkWidget* go_box_ = nullptr;
  GtkWidget* exit_box_ = nullptr;
  GtkWidget* description_ = nullptr;  // from ShowDescriptionRow on
  std::optional<DropDown> menu_;
  int dpi_ = kDesignDpi;  // the layout's resolution: twips to the window's pixels
  bool right_to_left_ = false;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_MENU_WINDOW_GTK_H_
