# Windows build (cross with MinGW-w64, or native with MSVC).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601 WINVER=0x0601)
if(MSVC)
  add_compile_options(/W4 /utf-8 /permissive-)
else()
  add_compile_options(-Wall -Wextra -Wpedantic)
  # The release is one small .exe: optimised for size, since its time goes to
  # Wine's controls and the host's process, not to our own code; sections
  # nothing uses are dropped at the link.
  set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

if(CMAKE_CROSSCOMPILING)
  if(NOT RAPPORTA_WINE_DIR)
    set(RAPPORTA_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  endif()
  # Every test executable runs under Wine, in the run's own prefix and display.
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_SOURCE_DIR}/tests/wine/run.sh ${RAPPORTA_WINE_DIR})
endif()
if(NOT RAPPORTA_TEST_ARCH)
  set(RAPPORTA_TEST_ARCH ${CMAKE_SYSTEM_PROCESSOR})
endif()

# Gives a program that creates the window rapporta.exe's own manifest, so that
# it drives the controls users get (common controls 6) at the DPI awareness
# they run with.
function(rapporta_embed_manifest target)
  set(_rc ${CMAKE_SOURCE_DIR}/src/ui/manifest.rc)
  target_sources(${target} PRIVATE ${_rc})
  set_source_files_properties(${_rc} PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src/ui
    OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/rapporta.manifest)
endfunction()
