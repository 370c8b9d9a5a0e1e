# Registers every test method of a Python unittest file as a ctest test of its own, with the names
# read from the file when CMake configures: the file is the one list of its tests, and adding a test
# there re-runs the configuration.
#
#   tolvar_add_python_tests(PREFIX gtk_window FILE window_e2e_test.py CLASS MenuWindowTest
#                           COMMAND python3 [ENVIRONMENT VAR=value ...] [PROPERTIES ...])
# adds gtk_window.<name> for each "def test_<name>(self" in FILE, running
# `COMMAND FILE CLASS.test_<name>` in ENVIRONMENT, with PROPERTIES (single values, such as TIMEOUT)
# given to set_tests_properties.
function(tolvar_add_python_tests)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "PREFIX;FILE;CLASS" "COMMAND;ENVIRONMENT;PROPERTIES")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_FILE})
  file(STRINGS ${ARG_FILE} definitions REGEX "^    def test_[A-Za-z0-9_]+\\(self")
  if(NOT definitions)
    message(FATAL_ERROR "${ARG_FILE} holds no test methods")
  endif()
  foreach(definition IN LISTS definitions)
    string(REGEX REPLACE "^    def test_([A-Za-z0-9_]+)\\(self.*" "\\1" name "${definition}")
    add_test(NAME ${ARG_PREFIX}.${name}
      COMMAND ${ARG_COMMAND} ${ARG_FILE} ${ARG_CLASS}.test_${name})
    # Set apart: a list of variables would fall apart among the other properties.
    set_property(TEST ${ARG_PREFIX}.${name} PROPERTY ENVIRONMENT ${ARG_ENVIRONMENT})
    if(ARG_PROPERTIES)
      set_tests_properties(${ARG_PREFIX}.${name} PROPERTIES ${ARG_PROPERTIES})
    endif()
  endforeach()
endfunction()
