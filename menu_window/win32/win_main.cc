// Win32 entry point of tolvar-autorun.exe: creates the window Tolvar_Autorun, lets the form load
// the menu into it, and shows it; a menu file the form cannot load is reported and nothing is
// shown.
#include <windows.h>
// commctrl.h needs the Windows types above it.
#include <commctrl.h>

#include <cstdio>
#include <exception>

#include "menu_form/menu_entry.h"
#include "menu_form/menu_form.h"
#include "menu_window/system_program_start.h"
#include "menu_window/win32/gdiplus_library.h"
#include "menu_window/win32/menu_window.h"
#include "shared_routines/run_time_error.h"
#include "shared_routines/system_dlls_win32.h"
#include "shared_routines/user_locale.h"
#include "shared_routines/utf16_win32.h"

namespace {

// The report of a failure that ends the menu: on stderr for whoever started it from a console or a
// script, and in a box for the person at the desktop.
int ReportFatal(const std::string& text) {
  std::fprintf(stderr, "tolvar-autorun: %s\n", text.c_str());
  std::fflush(stderr);
  MessageBoxW(nullptr, tolvar::Widen(text).c_str(), tolvar::Widen(tolvar::kMessageTitle).c_str(),
              MB_ICONERROR | MB_OK | MB_SETFOREGROUND);
  return 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL: one planted beside the program on the medium must never run.
  tolvar::LoadDllsFromSystemDirectoryOnly();
  // The picture library starts on a second thread while the window is being built.
  tolvar::PrepareGdiplus();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  tolvar::MenuWindow window(instance);
  const tolvar::Result created = window.Create();
  if (!created.ok) return ReportFatal("The menu window cannot be created: " + created.reason);

  tolvar::SystemProgramStart program_start;
  tolvar::MenuForm form(window, program_start, tolvar::UserDecimalSeparator());
  window.ConnectTo(form);

  try {
    form.OnLoad();
  } catch (const tolvar::RunTimeError& error) {
    return ReportFatal(error.what());
  } catch (const std::exception& error) {
    return ReportFatal(std::string("The menu cannot be loaded: ") + error.what());
  }
  window.Show();
  return window.RunMessageLoop();
}
