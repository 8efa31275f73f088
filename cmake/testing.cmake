# GoogleTest is built from source so the same tests build natively and cross.
set(RAPPORTA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${RAPPORTA_GTEST_SOURCE}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${RAPPORTA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Registers the cases of a cross-built test executable found in its sources,
# as <prefix><case>, under Wine in the prefix and display named by the
# emulator's RAPPORTA_WINE_RUN (empty: the architecture's own).
function(_rapporta_add_wine_cases name prefix run gui timeout fixtures locks sources)
  if(sources)
    set(sources SOURCES ${sources})
  endif()
  gtest_add_tests(TARGET ${name} ${sources} TEST_PREFIX "${prefix}" TEST_LIST _cases)
  set(_state ${RAPPORTA_TEST_ARCH})
  set(_wine wine)
  # The emulator ends a case that nears its timeout itself, saying where it hung.
  set(_environment RAPPORTA_TEST_TIMEOUT=${timeout})
  if(run)
    set(_state ${RAPPORTA_TEST_ARCH}-${run})
    set(_wine wine-${run})
    list(APPEND _environment RAPPORTA_WINE_RUN=${run})
  endif()
  set_tests_properties(${_cases} PROPERTIES FIXTURES_REQUIRED "${_wine};${fixtures}"
                       TIMEOUT ${timeout} ENVIRONMENT "${_environment}")
  if(gui)
    list(APPEND locks display.${_state})
  endif()
  if(locks)
    set_tests_properties(${_cases} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
endfunction()

# rapporta_add_gtest(<name> SOURCES ... [LIBRARIES ...] [GUI] [TIMEOUT s]
#                   [FIXTURES ...] [LOCKS ...])
# Native builds discover the cases by running the binary; cross builds scan
# the sources instead, because running a Windows binary needs the Wine prefix
# that the test run itself sets up. Every case becomes one ctest test, and the
# cases that use the display (GUI) never run at the same time as each other.
# FIXTURES and LOCKS add to the cases' FIXTURES_REQUIRED and RESOURCE_LOCK.
function(rapporta_add_gtest name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBRARIES;FIXTURES;LOCKS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    _rapporta_add_wine_cases(${name} "${RAPPORTA_TEST_ARCH}.${name}." "" "${T_GUI}"
                             ${T_TIMEOUT} "${T_FIXTURES}" "${T_LOCKS}" "")
  elseif(WIN32)
    gtest_discover_tests(${name} TEST_PREFIX "${name}."
                         PROPERTIES TIMEOUT ${T_TIMEOUT})
  else()
    gtest_discover_tests(${name} TEST_PREFIX "native.${name}."
                         PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# rapporta_add_gtest_run(<name> <run> [GUI] [TIMEOUT s] [FIXTURES ...] [LOCKS ...]
#                       [SOURCES ...])
# Runs the cases of the cross-built test executable <name> (those in SOURCES
# when given) once more, as
# <arch>-<run>.<name>.<case>, in a Wine prefix and display of their own
# (<arch>-<run>, set up by the native build's wine-<run> fixture): the same
# tests in a world set up differently, without a copy of them. The cases see
# RAPPORTA_WINE_RUN=<run>.
function(rapporta_add_gtest_run name run)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "FIXTURES;LOCKS;SOURCES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(CMAKE_CROSSCOMPILING)
    _rapporta_add_wine_cases(${name} "${RAPPORTA_TEST_ARCH}-${run}.${name}." ${run} "${T_GUI}"
                             ${T_TIMEOUT} "${T_FIXTURES}" "${T_LOCKS}" "${T_SOURCES}")
  endif()
endfunction()
