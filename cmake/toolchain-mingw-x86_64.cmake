# 64-bit Windows programs built with mingw-w64: the tests' build where the
# host cannot run the 32-bit Wine.
set(KESTRO_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
