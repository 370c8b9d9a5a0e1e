# Fails when EXECUTABLE imports a DLL outside Windows' own: the menu must run from the medium on a
# bare Windows 7 to 11, with no runtime DLL beside it. Run with -DOBJDUMP=... -DEXECUTABLE=...
cmake_minimum_required(VERSION 3.18...3.22)
set(system_dlls
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll)

execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE}
  OUTPUT_VARIABLE headers RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${EXECUTABLE}: ${errors}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "${EXECUTABLE}: no import table found; is it a Windows program?")
endif()
set(foreign "")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll_lower)
  if(NOT dll_lower IN_LIST system_dlls)
    list(APPEND foreign "${dll}")
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${EXECUTABLE} imports DLLs that Windows does not ship: ${foreign}")
endif()
