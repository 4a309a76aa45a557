# Cross-building for Windows with Debian's MinGW-w64. Included by mingw-i686.cmake and
# mingw-x86_64.cmake, which set VANTRELL_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR.
# The -posix compilers are used: with the win32 thread model GCC 12 has no std::thread or
# std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VANTRELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTRELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTRELL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTRELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the test programs under Wine through a wrapper that keeps Wine's background
# processes from holding ctest's output open.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${VANTRELL_MINGW_BITS})
