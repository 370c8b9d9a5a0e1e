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

# Any line that may be an include directive, once comments are gone and lines joined (see
# preprocessed_text): the digraph %: is a #. Each must be a plain include of an allowed name.
set(directive_like "(#|%:)[ \t]*(include|import)")
set(plain_include "^[ \t]*#[ \t]*include[ \t]*(<([^>]*)>|\"([^\"]*)\")[ \t]*$")

# `text` as the compiler's first phases leave it for its directives: a line that ends in a
# backslash joined to the next, every comment a blank, and every string and character literal
# emptied, so that neither a comment (#/**/include) nor a literal hides an include or fakes one.
function(preprocessed_text text result_variable)
  string(REPLACE "\\\r\n" "" text "${text}")
  string(REPLACE "\\\n" "" text "${text}")
  set(result "")
  while(NOT text STREQUAL "")
    string(REGEX MATCH "^[^\"'/]+" piece "${text}")
    string(SUBSTRING "${text}" 0 2 start)
    # What stands before a quote decides its kind: R" opens a raw string, 1' is a digit separator,
    # and after #include the quotes hold the header's name.
    string(LENGTH "${result}" length)
    set(tail "${result}")
    if(length GREATER 32)
      math(EXPR tail_start "${length} - 32")
      string(SUBSTRING "${result}" ${tail_start} -1 tail)
    endif()
    if(NOT piece STREQUAL "")
      set(kept "${piece}")
    elseif(start STREQUAL "/*")
      string(SUBSTRING "${text}" 2 -1 rest)
      string(FIND "${rest}" "*/" end)
      if(end EQUAL -1)
        set(piece "${text}")
      else()
        math(EXPR end "${end} + 4")
        string(SUBSTRING "${text}" 0 ${end} piece)
      endif()
      set(kept " ")
    elseif(start STREQUAL "//")
      string(REGEX MATCH "^[^\n]*" piece "${text}")
      set(kept "")
    elseif(start MATCHES "^\"" AND tail MATCHES "(^|[^A-Za-z0-9_])(u8|u|U|L)?R$" AND
           text MATCHES "^\"([^ ()\\\t\n]*)\\(")
      set(closing ")${CMAKE_MATCH_1}\"")
      string(FIND "${text}" "${closing}" end)
      if(end EQUAL -1)
        set(piece "${text}")
      else()
        string(LENGTH "${closing}" length)
        math(EXPR end "${end} + ${length}")
        string(SUBSTRING "${text}" 0 ${end} piece)
      endif()
      set(kept "\"\"")
    elseif(start MATCHES "^'" AND tail MATCHES "(^|[^A-Za-z_])[0-9][0-9A-Za-z_']*$")
      set(piece "'")
      set(kept "'")
    elseif(start MATCHES "^[\"']")
      # A literal to its closing quote; one that is not closed on its line runs to the line's end.
      string(SUBSTRING "${start}" 0 1 quote)
      string(REGEX MATCH "^${quote}([^${quote}\\\n]|\\\\.)*${quote}" piece "${text}")
      if(piece STREQUAL "")
        string(REGEX MATCH "^[^\n]*" piece "${text}")
      endif()
      set(kept "${quote}${quote}")
      if(tail MATCHES "(#|%:)[ \t]*include[ \t]*$")
        set(kept "${piece}")
      endif()
    else()
      set(piece "/")  # a slash alone
      set(kept "/")
    endif()
    string(APPEND result "${kept}")
    string(LENGTH "${piece}" length)
    string(SUBSTRING "${text}" ${length} -1 text)
  endwhile()
  set(${result_variable} "${result}" PARENT_SCOPE)
endfunction()

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
  file(READ "${file}" text)
  # A semicolon would split CMake's list of lines; no plain include holds one.
  string(REPLACE ";" "@" text "${text}")
  preprocessed_text("${text}" text)
  string(REGEX MATCHALL "[^\n]*${directive_like}[^\n]*" lines "${text}")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" shown)
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
