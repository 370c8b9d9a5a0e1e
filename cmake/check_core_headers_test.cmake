# Runs check_core_headers.cmake on small trees of its own: a clean core, with its exempt platform
# files, must pass; the same core with any one forbidden include added must fail, naming the file.
# Run as: cmake -DCHECK=<check_core_headers.cmake> -DWORK_DIR=<scratch folder> -P this file
cmake_minimum_required(VERSION 3.18...3.22)
if(NOT CHECK OR NOT WORK_DIR)
  message(FATAL_ERROR "check_core_headers_test.cmake: CHECK and WORK_DIR must be set")
endif()

set(tree "${WORK_DIR}/source")
set(failures "")

# A core as the house writes it, with the files the check must let through: portable headers that
# include each other, and platform bodies, platform headers and tests that include what they need.
function(write_clean_tree)
  file(REMOVE_RECURSE "${tree}")
  file(WRITE "${tree}/shared_routines/clean.h" "#include <string>\n#include <cstdio>\n")
  file(WRITE "${tree}/shared_routines/clean.cc"
       "// #include <windows.h> in a comment is no include\n"
       "#include \"shared_routines/clean.h\"\n#  include <vector>  // spaced\n"
       "#include <string> /* nor <windows.h> here */\n"
       "/* nor\n#include <windows.h>\nhere */\n"
       "// a comment goes on past a backslash \\\n#include <windows.h>\n"
       "const char* a = \"#include <windows.h>\"; const char* b = R\"x(\n#include <windows.h>\n)x\";\n"
       "const int c = 1'000; const char d = '\\'';\n#include <cstdint>\n")
  file(WRITE "${tree}/shared_routines/foo_win32.h" "#include <windows.h>\n")
  file(WRITE "${tree}/shared_routines/foo_win32.cc"
       "#include <windows.h>\n#include \"shared_routines/foo_win32.h\"\n")
  file(WRITE "${tree}/shared_routines/foo_posix.cc" "#include <unistd.h>\n#include <linux/fs.h>\n")
  file(WRITE "${tree}/menu_form/form.h" "#include \"shared_routines/clean.h\"\n")
  file(WRITE "${tree}/menu_form/form.cc" "#include \"menu_form/form.h\"\n#include <string_view>\n")
  file(WRITE "${tree}/menu_form/form_test.cc" "#include <gtest/gtest.h>\n")
  file(WRITE "${tree}/menu_form/form_benchmark.cc" "#include <benchmark/benchmark.h>\n")
  file(WRITE "${tree}/menu_form/CMakeLists.txt" "add_library(form form.cc) # include <windows.h>\n")
  # Outside the core: including it from there is what is refused, not its absence.
  file(WRITE "${tree}/menu_window/system_program_start.h" "#include <string>\n")
endfunction()

function(run_check result_variable output_variable)
  execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${tree} -P "${CHECK}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_variable} "${result}" PARENT_SCOPE)
  set(${output_variable} "${output}" PARENT_SCOPE)
endfunction()

write_clean_tree()
run_check(result output)
if(NOT result EQUAL 0)
  string(APPEND failures "\nthe clean tree was refused:\n${output}")
endif()

# Each case: the file added to the clean tree, and its text.
function(expect_refused file text)
  write_clean_tree()
  file(WRITE "${tree}/${file}" "${text}\n")
  run_check(result output)
  if(result EQUAL 0)
    set(failures "${failures}\n${file} passed with: ${text}" PARENT_SCOPE)
  elseif(NOT output MATCHES "  ${file}: ")
    set(failures "${failures}\n${file} (${text}) failed without naming it:\n${output}" PARENT_SCOPE)
  endif()
endfunction()

expect_refused(menu_form/window.cc "#include <Windows.h>")
expect_refused(menu_form/window.cc "#include <windows.h>")
expect_refused(shared_routines/picture.cc "#include <wincodec.h>")
expect_refused(shared_routines/socket.h "#include <winsock2.h>")
expect_refused(shared_routines/device.cc "#include <linux/fs.h>")
expect_refused(shared_routines/image.cc "#include <archive.h>")
expect_refused(shared_routines/portable.cc "#include \"shared_routines/foo_win32.h\"")
expect_refused(shared_routines/portable.cc "#include \"shared_routines/Foo_Win32.h\"")
expect_refused(menu_form/start.cc "#include \"menu_window/system_program_start.h\"")
expect_refused(menu_form/start.cc "#include \"shared_routines/../menu_window/system_program_start.h\"")
expect_refused(shared_routines/other.cpp "#include <windows.h>")
expect_refused(menu_form/other.hpp "#include <unistd.h>")
expect_refused(menu_form/other_WIN32.cc "#include <windows.h>")
expect_refused(menu_form/c_name.cc "#include <stdio.h>")
expect_refused(menu_form/digraph.cc "%:include <windows.h>")
expect_refused(menu_form/next.cc "#include_next <string>")
expect_refused(menu_form/macro.cc "#define HEADER <windows.h>\n#include HEADER")
expect_refused(menu_form/continued.cc "#include \\\n<windows.h>")
expect_refused(menu_form/missing.cc "#include \"menu_form/missing.h\"")
# A comment is a blank to the compiler, and a line goes on past a backslash, before any directive
# is read; a literal ends where the compiler ends it.
expect_refused(menu_form/comment.cc "#/**/include <windows.h>")
expect_refused(menu_form/comment.cc "#include /* <string> */ <windows.h>")
expect_refused(menu_form/comment.cc "/* one\n   two */ #include <windows.h>")
expect_refused(menu_form/comment.cc "#inc\\\nlude <windows.h>")
expect_refused(menu_form/literal.cc "const char* a = \"/*\";\n#include <windows.h>\n// */")
expect_refused(menu_form/literal.cc "const char a = '\"';\n#include <windows.h>\n// \"")

file(REMOVE_RECURSE "${WORK_DIR}")
if(failures)
  message(FATAL_ERROR "The core-header check does not hold:${failures}")
endif()
