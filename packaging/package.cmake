# The release zip, made by CPack from the MinGW-w64 build: the program and
# the texts its users read, nothing else. `cpack` (or the `package` target)
# in the i686 build writes rapporta-<version>-win32.zip.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_here ${CMAKE_CURRENT_LIST_DIR})
set(_texts ${CMAKE_BINARY_DIR}/package-texts)
set(RAPPORTA_GUIDE_NAME "はじめにお読みください.txt")

# The copyright file of the Debian package that provided a file of the
# toolchain that goes into the program, and that package's name and version.
function(rapporta_copyright_of out label library)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH "${path}" path)
  execute_process(COMMAND dpkg-query -S "${path}" OUTPUT_VARIABLE owner
                  RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX MATCH "^[^:]+" package "${owner}")
  set(copyright /usr/share/doc/${package}/copyright)
  if(failed OR NOT EXISTS ${copyright})
    message(FATAL_ERROR "No Debian copyright file found for ${library} (${path}); "
                        "the notices are taken from the build machine's packages")
  endif()
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                  OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(${out} ${copyright} PARENT_SCOPE)
  set(${label} "${package} ${version}" PARENT_SCOPE)
endfunction()
rapporta_copyright_of(_mingw _mingw_package libmingw32.a)
rapporta_copyright_of(_winpthread _winpthread_package libwinpthread.a)
rapporta_copyright_of(_libgcc _libgcc_package libgcc.a)
rapporta_copyright_of(_libstdcxx _libstdcxx_package libstdc++.a)
# A header of libstdc++'s whose opening comment carries the STL's notices.
set(_stl_header include/c++/bits/stl_algo.h)
rapporta_copyright_of(_stl_copyright _stl_package ${_stl_header})
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_stl_header}
                OUTPUT_VARIABLE _stl_header OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT _winpthread STREQUAL _mingw)
  message(FATAL_ERROR "winpthreads comes from another package (${_winpthread}) than "
                      "the runtime (${_mingw}): teach packaging/notices.py to read both")
endif()

set(_notices ${_texts}/THIRD-PARTY-NOTICES.txt)
add_custom_command(OUTPUT ${_notices}
  COMMAND Python3::Interpreter ${_here}/notices.py
          --mingw ${_mingw} --mingw-package ${_mingw_package}
          --gcc ${_libgcc} --gcc ${_libstdcxx}
          --stl ${_stl_header} --stl-package ${_stl_package} -o ${_notices}
  DEPENDS ${_here}/notices.py ${_mingw} ${_libgcc} ${_libstdcxx} ${_stl_header}
  COMMENT "Writing THIRD-PARTY-NOTICES.txt from the runtime's copyright files"
  VERBATIM)

# Texts for Notepad: CR LF, and a byte-order mark on those with Japanese in them.
set(_outputs ${_notices})
foreach(text "README.txt|${_here}/README.txt|--bom"
             "LICENSE.txt|${CMAKE_SOURCE_DIR}/LICENSE|"
             "${RAPPORTA_GUIDE_NAME}|${CMAKE_SOURCE_DIR}/docs/ja/README.md|--bom;--markdown")
  string(REPLACE "|" ";" text "${text}")
  list(GET text 0 name)
  list(GET text 1 source)
  list(SUBLIST text 2 -1 options)
  add_custom_command(OUTPUT ${_texts}/${name}
    COMMAND Python3::Interpreter ${_here}/windows_text.py ${source} ${_texts}/${name} ${options}
    DEPENDS ${_here}/windows_text.py ${source})
  list(APPEND _outputs ${_texts}/${name})
endforeach()
add_custom_target(package_texts ALL DEPENDS ${_outputs})

# Everything in one folder, so that "ここに展開" (extract here) leaves one
# folder behind and no loose files.
set(RAPPORTA_PACKAGE_FOLDER Rapporta-${PROJECT_VERSION})
install(TARGETS rapporta RUNTIME DESTINATION ${RAPPORTA_PACKAGE_FOLDER})
install(FILES ${_outputs} DESTINATION ${RAPPORTA_PACKAGE_FOLDER})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME rapporta)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(RAPPORTA_PACKAGE_NAME rapporta-${PROJECT_VERSION}-win32)
else()
  set(RAPPORTA_PACKAGE_NAME rapporta-${PROJECT_VERSION}-win64)
endif()
set(CPACK_PACKAGE_FILE_NAME ${RAPPORTA_PACKAGE_NAME})
# The folder above is the zip's only top entry; CPack adds none of its own.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
