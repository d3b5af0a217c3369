# Cross-compiles Tarvelo for 64-bit Windows with the MinGW-w64 GCC (posix thread model, for
# std::thread), linked statically so that each .exe runs alone.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# TARVELO_MINGW_SYSROOT names the cross compiler's own headers and libraries; only packages
# found there are used, so no library of the build machine is linked by mistake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARVELO_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${TARVELO_MINGW_TRIPLET}-g++-posix ${TARVELO_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${TARVELO_MINGW_TRIPLET}-gcc-posix ${TARVELO_MINGW_TRIPLET}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${TARVELO_MINGW_TRIPLET}-windres)

set(TARVELO_MINGW_SYSROOT /usr/${TARVELO_MINGW_TRIPLET} CACHE PATH "Headers and libraries of the cross compiler")
set(CMAKE_FIND_ROOT_PATH ${TARVELO_MINGW_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine when it is there (ctest, gtest discovery is not used).
find_program(TARVELO_WINE NAMES wine64 wine)
if(TARVELO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVELO_WINE})
endif()
