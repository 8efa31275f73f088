# Shared part of the MinGW-w64 cross toolchains. The posix-thread compilers are
# used because the Wine-run tests need std::thread; the runtime is linked
# statically so the program is one .exe with nothing to install beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${RAPPORTA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAPPORTA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RAPPORTA_MINGW_TRIPLE}-windres)
set(RAPPORTA_WIDL ${RAPPORTA_MINGW_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${RAPPORTA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
