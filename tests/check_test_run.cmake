# Checks, after the whole suite has run, that every group of tests that should exist
# was there and ran, so that a part left out of the build (no application, hence no GUI
# tests) or a test program that was never built cannot pass unnoticed.
#
#   cmake -DBUILD_DIR=build -DJUNIT=build/test-results.xml [-DSTRICT=ON] -P tests/check_test_run.cmake
#
# JUNIT is the report of `ctest --output-junit`. Groups are test labels:
#  - unit: the GoogleTest suite; at least one test must run;
#  - gui: the GUI tests; at least one must run (they need a display, not test data);
#  - z80-conformance: the five suites must exist; without the test data they skip;
#  - web: the web page's check must exist; without the web build (scripts/build-web.sh)
#    it skips.
# A test whose program was not built fails the check. With STRICT (in CI, where the
# test data is always there) any test that did not run fails it.
cmake_minimum_required(VERSION 3.21)

set(groups unit gui z80-conformance web)
set(minimum_unit 1)
set(minimum_gui 1)
set(minimum_z80-conformance 5)
set(minimum_web 1)

get_filename_component(cmake_bin "${CMAKE_COMMAND}" DIRECTORY)
find_program(CTEST ctest HINTS "${cmake_bin}" REQUIRED)
execute_process(COMMAND "${CTEST}" --show-only=json-v1 WORKING_DIRECTORY "${BUILD_DIR}"
                OUTPUT_VARIABLE json RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "ctest could not list the tests of ${BUILD_DIR}")
endif()
if(NOT EXISTS "${JUNIT}")
  message(FATAL_ERROR "no test report at ${JUNIT}: the suite did not run")
endif()

# The registered tests and their labels.
string(JSON test_count LENGTH "${json}" tests)
set(all_tests "")
foreach(group ${groups})
  set(registered_${group} "")
endforeach()
if(test_count GREATER 0)
  math(EXPR last "${test_count} - 1")
  foreach(i RANGE ${last})
    string(JSON name GET "${json}" tests ${i} name)
    list(APPEND all_tests "${name}")
    string(JSON property_count ERROR_VARIABLE no_properties LENGTH "${json}" tests ${i} properties)
    if(no_properties OR property_count EQUAL 0)
      continue()
    endif()
    math(EXPR last_property "${property_count} - 1")
    foreach(p RANGE ${last_property})
      string(JSON property GET "${json}" tests ${i} properties ${p} name)
      if(NOT property STREQUAL "LABELS")
        continue()
      endif()
      string(JSON label_count LENGTH "${json}" tests ${i} properties ${p} value)
      math(EXPR last_label "${label_count} - 1")
      foreach(l RANGE ${last_label})
        string(JSON label GET "${json}" tests ${i} properties ${p} value ${l})
        if(label IN_LIST groups)
          list(APPEND registered_${label} "${name}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endif()

# What happened to each test: run, fail or notrun (with the reason of a notrun).
file(READ "${JUNIT}" report)
# XML escapes (parameterised tests carry quotes in their names) would split CMake's
# lists at their ";"; names are compared as identifiers below, so any stand-in will do.
string(REGEX REPLACE "&[a-z]+;" "_" report "${report}")
string(REGEX MATCHALL "<testcase name=\"[^\"]*\"[^>]*status=\"[a-z]*\">[ \t\r\n]*(<skipped message=\"[^\"]*\")?"
       cases "${report}")
foreach(case IN LISTS cases)
  string(REGEX REPLACE "^<testcase name=\"([^\"]*)\".*" "\\1" name "${case}")
  string(REGEX REPLACE ".*status=\"([a-z]*)\".*" "\\1" status "${case}")
  set(reason "")
  if(case MATCHES "<skipped message=\"([^\"]*)\"")
    set(reason "${CMAKE_MATCH_1}")
  endif()
  # Variables are keyed by the name made an identifier: test names may hold quotes,
  # spaces and "#", which variable references do not take.
  string(MAKE_C_IDENTIFIER "${name}" key)
  set("status_${key}" "${status}")
  set("reason_${key}" "${reason}")
endforeach()

set(problems "")
foreach(name IN LISTS all_tests)
  string(MAKE_C_IDENTIFIER "${name}" key)
  if(NOT DEFINED "status_${key}")
    list(APPEND problems "${name} did not run")
  elseif("${status_${key}}" STREQUAL "notrun")
    if("${reason_${key}}" MATCHES "Unable to find executable")
      list(APPEND problems "${name}: its program was not built")
    elseif(STRICT)
      list(APPEND problems "${name} was skipped (${reason_${key}}), which hides a missing install step here")
    endif()
  endif()
endforeach()

foreach(group ${groups})
  list(LENGTH registered_${group} registered)
  if(registered LESS ${minimum_${group}})
    list(APPEND problems "group ${group}: ${registered} tests registered, at least ${minimum_${group}} expected (was a part of the build left out?)")
    continue()
  endif()
  set(ran 0)
  foreach(name IN LISTS registered_${group})
    string(MAKE_C_IDENTIFIER "${name}" key)
    if("${status_${key}}" MATCHES "^(run|fail)$")
      math(EXPR ran "${ran} + 1")
    endif()
  endforeach()
  if(ran EQUAL 0 AND NOT group MATCHES "^(z80-conformance|web)$")
    list(APPEND problems "group ${group}: none of its ${registered} tests ran")
  endif()
  message(STATUS "${group}: ${ran} of ${registered} tests ran")
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The test run is incomplete:\n  ${text}")
endif()
