# Native (Linux) build: the portable rules and their tests, built with
# sanitizers, plus the two Windows cross builds driven as sub-builds so that
# one build and one ctest run cover everything.
option(RAPPORTA_SANITIZE "Build native code with ASan and UBSan" ON)
option(RAPPORTA_CROSS "Also cross-build and test the Windows program" ON)

if(RAPPORTA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra -Wpedantic)

set(RAPPORTA_WINE_DIR ${CMAKE_BINARY_DIR}/wine CACHE PATH
    "Where the Windows test runs keep their Wine prefixes and Xvfb displays")

if(RAPPORTA_CROSS)
  include(ExternalProject)
  set(_subdirs "")
  foreach(arch x86_64 i686)
    ExternalProject_Add(win-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/win-${arch}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DRAPPORTA_WINE_DIR=${RAPPORTA_WINE_DIR}/${arch}
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
        -DRAPPORTA_TEST_ARCH=${arch}
      INSTALL_COMMAND ""
      BUILD_ALWAYS TRUE
      USES_TERMINAL_BUILD TRUE)
    string(APPEND _subdirs "subdirs(\"${CMAKE_BINARY_DIR}/win-${arch}\")\n")

    # Each architecture gets its own Wine prefix and display: each registers
    # its own build of the stand-in host, and the two runs can overlap. A
    # second one holds the stand-in registered with its events as a pure
    # dispinterface; in x86_64 a third is scratch for a test that registers
    # a real host for the machine (see rapporta_add_gtest_run).
    set(_runs "" -dispinterface)
    if(arch STREQUAL "x86_64")
      list(APPEND _runs -scratch)
    endif()
    foreach(run IN LISTS _runs)
      add_test(NAME wine${run}.setup.${arch}
               COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/setup.sh ${RAPPORTA_WINE_DIR}/${arch}${run})
      set_tests_properties(wine${run}.setup.${arch} PROPERTIES FIXTURES_SETUP wine${run})
      add_test(NAME wine${run}.cleanup.${arch}
               COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/cleanup.sh ${RAPPORTA_WINE_DIR}/${arch}${run})
      set_tests_properties(wine${run}.cleanup.${arch} PROPERTIES FIXTURES_CLEANUP wine${run})
    endforeach()
  endforeach()
  # ctest descends into the cross builds from here, so their tests (run under
  # Wine) are counted in the same run as the native ones.
  file(WRITE ${CMAKE_BINARY_DIR}/cross-tests.cmake "${_subdirs}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${CMAKE_BINARY_DIR}/cross-tests.cmake)

  # The release: the i686 build's package (packaging/package.cmake), copied
  # here.
  set(_zip rapporta-${PROJECT_VERSION}-win32.zip)
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}/win-i686 --target package
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/win-i686/${_zip} ${CMAKE_BINARY_DIR}/${_zip}
    DEPENDS win-i686
    COMMENT "Packing ${CMAKE_BINARY_DIR}/${_zip}"
    USES_TERMINAL)
endif()

# Fuzzing of the log rule and static analysis, as tests of this build.
include(${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz.cmake)
include(${CMAKE_SOURCE_DIR}/tests/static/static.cmake)
