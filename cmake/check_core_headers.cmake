# Fails when a file of the portable core (shared_routines/, menu_form/) includes an OS or toolkit
# header. Platform bodies (*_win32.cc, *_posix.cc), Windows-only headers (*_win32.h) that only
# platform code includes, unit tests (*_test.cc) and benchmarks (*_benchmark.cc), which measure the
# core on one platform, may; nothing else there may, so that the menu's behaviour stays the same on
# every platform and can be tested without one.
# Run as: cmake -DSOURCE_DIR=<repository> [-DSTAMP=<file to touch on success>] -P this file
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_core_headers.cmake: SOURCE_DIR is not set")
endif()

# Windows and its libraries; POSIX and its system directories; the toolkits the windows use.
set(platform_header
  "^[ \t]*#[ \t]*include[ \t]*[<\"]((windows|winbase|windef|winuser|winnt|windowsx|shellapi|shlwapi|shlobj|commctrl|commdlg|objbase|objidl|ole2|gdiplus|io|direct|process|unistd|dirent|fcntl|fnmatch|spawn|poll|pthread|dlfcn|langinfo|pwd|grp|termios|glob|libgen|glib|gio|gtk|gdk)\\.h|(sys|arpa|netinet|gtk|gdk|gdk-pixbuf|glib|gio|gobject|pango|cairo|atk|fontconfig|X11|wine)/)")

file(GLOB_RECURSE core_files
  "${SOURCE_DIR}/shared_routines/*.h" "${SOURCE_DIR}/shared_routines/*.cc"
  "${SOURCE_DIR}/menu_form/*.h" "${SOURCE_DIR}/menu_form/*.cc")
set(offenders "")
foreach(file IN LISTS core_files)
  if(file MATCHES "_(win32|posix|test|benchmark)\\.cc$" OR file MATCHES "_win32\\.h$")
    continue()
  endif()
  file(STRINGS "${file}" includes REGEX "#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "${platform_header}")
      file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
      string(STRIP "${line}" line)
      string(APPEND offenders "\n  ${relative}: ${line}")
    endif()
  endforeach()
endforeach()

if(offenders)
  message(FATAL_ERROR "The portable core includes OS or toolkit headers; move the platform's part "
                      "into a *_win32.cc or *_posix.cc body behind a header of its own:${offenders}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
