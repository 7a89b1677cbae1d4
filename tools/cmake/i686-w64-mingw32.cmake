# Cross build for 32-bit Windows, the program as it ships (see mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_triple i686-w64-mingw32)
# The Wine prefix the test programs run in: 32-bit programs on the 32-bit loader.
set(OSTREL_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
