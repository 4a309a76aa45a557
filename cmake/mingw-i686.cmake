# Windows, 32-bit: the bitness of the accounting system's in-process request processor before
# its 2022 releases, which an in-process COM server must match.
set(VANTRELL_MINGW_TRIPLE i686-w64-mingw32)
set(VANTRELL_MINGW_BITS 32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
