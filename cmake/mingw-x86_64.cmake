# Windows, 64-bit: for the accounting system's 64-bit request processor (2022 and later).
set(VANTRELL_MINGW_TRIPLE x86_64-w64-mingw32)
set(VANTRELL_MINGW_BITS 64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
