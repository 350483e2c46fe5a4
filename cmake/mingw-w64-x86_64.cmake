# Cross-building for 64-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-x86-64-posix): the "posix" compiler, whose C++ runtime has
# std::thread, and windres for the program's manifest and version resource.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MARLINT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MARLINT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MARLINT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MARLINT_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs that
# run during the build (Wine for the tests) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MARLINT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
