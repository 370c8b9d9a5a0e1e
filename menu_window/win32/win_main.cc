// Win32 entry point of tolvar-autorun.exe: the start-up work of Windows itself, and the window,
// message box and program start that the menu program runs on. What happens at start-up, and what
// a failure means, is the core's (RunMenuProgram); nothing of it belongs here.
#include <windows.h>
// commctrl.h needs the Windows types above it.
#include <commctrl.h>

#include <string>

#include "menu_form/menu_program.h"
#include "menu_window/machine_facts.h"
#include "menu_window/program_folder.h"
#include "menu_window/system_program_start.h"
#include "menu_window/win32/menu_window.h"
#include "shared_routines/system_dlls_win32.h"
#include "shared_routines/utf16_win32.h"

namespace {

// The report of a failure that ends the menu, in a box of its own: the window never shows.
void ShowErrorBox(const std::string& text, const std::string& title) {
  MessageBoxW(nullptr, tolvar::Widen(text).c_str(), tolvar::Widen(title).c_str(),
              MB_ICONERROR | MB_OK | MB_SETFOREGROUND);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL: one planted beside the program on the medium must never run.
  tolvar::LoadDllsFromSystemDirectoryOnly();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  tolvar::MenuWindow window(instance);
  tolvar::SystemProgramStart program_start;
  const tolvar::MachineFacts facts;
  tolvar::MenuPlatform platform(window, &window, program_start, tolvar::System::kWindows);
  platform.facts = &facts;
  platform.program_folder = tolvar::ProgramFolder;
  platform.enter_folder = tolvar::EnterFolder;
  platform.create_window = [&window] { return window.Create(); };
  platform.show_error_box = ShowErrorBox;
  platform.show_and_run = [&window] {
    window.Show();
    return window.RunMessageLoop();
  };
  return tolvar::RunMenuProgram(platform);
}
