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
    gtest_add_tests(TARGET ${name} TEST_PREFIX "${RAPPORTA_TEST_ARCH}.${name}."
                    TEST_LIST _cases)
    set(_fixtures wine ${T_FIXTURES})
    set_tests_properties(${_cases} PROPERTIES FIXTURES_REQUIRED "${_fixtures}"
                         TIMEOUT ${T_TIMEOUT})
    set(_locks ${T_LOCKS})
    if(T_GUI)
      list(APPEND _locks display.${RAPPORTA_TEST_ARCH})
    endif()
    if(_locks)
      set_tests_properties(${_cases} PROPERTIES RESOURCE_LOCK "${_locks}")
    endif()
  elseif(WIN32)
    gtest_discover_tests(${name} TEST_PREFIX "${name}."
                         PROPERTIES TIMEOUT ${T_TIMEOUT})
  else()
    gtest_discover_tests(${name} TEST_PREFIX "native.${name}."
                         PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()
