# Included by the native build: builds the fuzz target in a clang sub-build
# (the native flags are for g++ and must not reach it) and runs it for a
# bounded time as one test. New inputs it finds stay in the build tree.
find_program(RAPPORTA_CLANGXX NAMES clang++ clang++-14)
set(RAPPORTA_FUZZ_SECONDS 60 CACHE STRING "How long the fuzz test runs")
if(NOT RAPPORTA_CLANGXX)
  message(WARNING "clang++ not found: the fuzz test is left out")
  return()
endif()

include(ExternalProject)
set(_fuzz_dir ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(fuzz
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${_fuzz_dir}
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${RAPPORTA_CLANGXX}
  INSTALL_COMMAND ""
  BUILD_ALWAYS TRUE)
add_test(NAME native.fuzz.chat_log
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/run.sh ${_fuzz_dir}/chat_log_fuzz
                 ${RAPPORTA_FUZZ_SECONDS} ${_fuzz_dir}/run ${CMAKE_CURRENT_LIST_DIR}/corpus)
math(EXPR _fuzz_timeout "${RAPPORTA_FUZZ_SECONDS} + 120")
set_tests_properties(native.fuzz.chat_log PROPERTIES TIMEOUT ${_fuzz_timeout} PROCESSORS 1)
