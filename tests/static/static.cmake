# Included by the native build: clang-tidy and cppcheck over src/ and
# standin/, each one test that fails on any finding. They read the x86_64
# cross build's compile commands, which cover the Windows sources as well as
# the portable ones, or the native build's when there is no cross build.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(RAPPORTA_CROSS)
  set(_static_db ${CMAKE_BINARY_DIR}/win-x86_64)
else()
  set(_static_db ${CMAKE_BINARY_DIR})
endif()

find_program(RAPPORTA_CLANG_TIDY NAMES clang-tidy clang-tidy-14)
if(RAPPORTA_CLANG_TIDY)
  add_test(NAME native.static.clang_tidy
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/clang_tidy.sh ${CMAKE_SOURCE_DIR} ${_static_db} 2)
  set_tests_properties(native.static.clang_tidy PROPERTIES TIMEOUT 600 PROCESSORS 2
                       ENVIRONMENT CLANG_TIDY=${RAPPORTA_CLANG_TIDY})
else()
  message(WARNING "clang-tidy not found: the static.clang_tidy test is left out")
endif()

find_program(RAPPORTA_CPPCHECK cppcheck)
if(RAPPORTA_CPPCHECK)
  add_test(NAME native.static.cppcheck
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/cppcheck.sh ${CMAKE_SOURCE_DIR} ${_static_db} 2)
  set_tests_properties(native.static.cppcheck PROPERTIES TIMEOUT 300 PROCESSORS 2)
else()
  message(WARNING "cppcheck not found: the static.cppcheck test is left out")
endif()
