# 32-bit Windows programs (the shipped ones) built with mingw-w64.
set(KESTRO_MINGW_TARGET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
