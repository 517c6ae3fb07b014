# Cross-builds for 64-bit Windows with Debian's mingw-w64 compilers (g++-mingw-w64-x86-64-win32)
# and runs the test programs under Wine.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triplet x86_64-w64-mingw32)
# The win32 thread model: no winpthread DLL to ship or link.
find_program(CMAKE_C_COMPILER NAMES ${_triplet}-gcc-win32 ${_triplet}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_triplet}-g++-win32 ${_triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_triplet}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian puts the 64-bit loader outside PATH when wine32 is not installed.
find_program(TESSALY_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CACHE)
if(TESSALY_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSALY_WINE})
endif()
