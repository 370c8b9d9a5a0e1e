# Fails when a file of the portable core (shared_routines/, menu_form/) includes anything but the
# C++ standard library and the core's own portable headers, so that the menu's behaviour stays the
# same on every platform and can be tested without one. What may be included is listed; everything
# else is refused, whatever its name or letter case.
#
# Exempt, as before: the platform bodies (*_win32.cc, *_posix.cc) and platform headers (*_win32.h,
# *_posix.h), which are the platform's part of a concept; unit tests (*_test.cc) and benchmarks
# (*_benchmark.cc), which run the core on one platform with their own libraries. The exemption
# goes by the house's own spelling of those names only: any other C or C++ file in the core (a
# .cpp, a .hpp, a foo_WIN32.cc) is checked as a portable file.
#
# The C headers count only in their C++ names (<cstdio>, not <stdio.h>): the standard keeps the .h
# names for compatibility alone, and among them a platform header is one letter away (<strings.h>
# beside <string.h>, <io.h> beside <stdio.h>); one spelling keeps the list exact.
#
# Run as: cmake -DSOURCE_DIR=<repository> [-DSTAMP=<file to touch on success>] -P this file
cmake_minimum_required(VERSION 3.18...3.22)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_core_headers.cmake: SOURCE_DIR is not set")
endif()

# The C++17 standard library's headers, and the C library's under their C++ names.
set(standard_headers
  algorithm any array atomic bitset charconv chrono codecvt complex condition_variable deque
  exception execution filesystem forward_list fstream functional future initializer_list iomanip
  ios iosfwd iostream istream iterator limits list locale map memory memory_resource mutex new
  numeric optional ostream queue random ratio regex scoped_allocator set shared_mutex sstream stack
  stdexcept streambuf string string_view system_error thread tuple type_traits typeindex typeinfo
  unordered_map unordered_set utility valarray variant vector
  cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg
  cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype)

# A portable header of the core: in its own folders, named as the house names files, and not a
# platform's (*_win32.h, *_posix.h). Lower case only, so that no spelling of a platform header
# (foo_Win32.h) passes for a portable one on a file system that ignores case.
set(core_header "^(shared_routines|menu_form)/[a-z0-9_]+\\.h$")
set(platform_header "_(win32|posix)\\.h$")

# Any line that may be an include directive: the digraph %: is a #, and a directive may go on past
# a backslash at the end of a line. Each must be a plain include of an allowed name.
set(directive_like "(#|%:)[ \t]*(include|import|\\\\$)")
set(plain_include "^[ \t]*#[ \t]*include[ \t]*(<([^>]*)>|\"([^\"]*)\")[ \t]*(//.*)?$")

set(source_extension "\\.(c|cc|cp|cpp|cxx|c\\+\\+|h|hh|hp|hpp|hxx|h\\+\\+|inc|inl|ipp|tcc|tpp|m|mm)$")
set(exempt_name "_(win32|posix|test|benchmark)\\.cc$|_(win32|posix)\\.h$")

file(GLOB_RECURSE core_files LIST_DIRECTORIES false
  "${SOURCE_DIR}/shared_routines/*" "${SOURCE_DIR}/menu_form/*")
set(offenders "")
foreach(file IN LISTS core_files)
  get_filename_component(name "${file}" NAME)
  string(TOLOWER "${name}" lower_name)
  if(NOT lower_name MATCHES "${source_extension}" OR name MATCHES "${exempt_name}")
    continue()
  endif()
  file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
  file(STRINGS "${file}" lines REGEX "${directive_like}")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" shown)
    if(shown MATCHES "^//")
      continue()  # a line comment that mentions an include
    endif()
    if(NOT line MATCHES "${plain_include}")
      string(APPEND offenders "\n  ${relative}: ${shown} (not a plain #include of a named header)")
      continue()
    endif()
    set(standard "${CMAKE_MATCH_2}")
    set(quoted "${CMAKE_MATCH_3}")
    if(standard)
      if(NOT standard IN_LIST standard_headers)
        string(APPEND offenders "\n  ${relative}: ${shown} (not a C++ standard header)")
      endif()
    elseif(NOT quoted MATCHES "${core_header}" OR quoted MATCHES "${platform_header}")
      string(APPEND offenders "\n  ${relative}: ${shown} (not a portable header of the core)")
    elseif(NOT EXISTS "${SOURCE_DIR}/${quoted}")
      string(APPEND offenders "\n  ${relative}: ${shown} (no such header in the core)")
    endif()
  endforeach()
endforeach()

if(offenders)
  message(FATAL_ERROR "The portable core includes what it may not; move the platform's part into "
                      "a *_win32.cc or *_posix.cc body behind a header of its own:${offenders}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
