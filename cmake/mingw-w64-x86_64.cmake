# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads, GCC 12).
# Its long double is the x87 80-bit type, the same as on Linux x86-64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TEMBREL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TEMBREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEMBREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TEMBREL_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${TEMBREL_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TEMBREL_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Look for headers, libraries and packages only in the MinGW sysroot and the
# prefixes given (the cross-built Qt and libjpeg), never in the build machine's /usr.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TEMBREL_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Run test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine CACHE FILEPATH "")

# Link the C and C++ runtimes and winpthread in, so each program is one file
# that needs no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
