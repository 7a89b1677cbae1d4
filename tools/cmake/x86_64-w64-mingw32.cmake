# Cross build for 64-bit Windows from the same sources (see mingw-w64.cmake): the tests' build
# where a 32-bit Wine can't run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)
# The Wine prefix the test programs run in: a 64-bit prefix on the 64-bit loader.
set(OSTREL_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
