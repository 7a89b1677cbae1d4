# Cross build for Windows with Debian's mingw-w64 compilers (POSIX threads, so that std::thread
# works), included by i686-w64-mingw32.cmake (the program as it ships) and
# x86_64-w64-mingw32.cmake, which set CMAKE_SYSTEM_PROCESSOR, _triple and OSTREL_WINE_ARCH. The
# libraries come from OSTREL_WIN32_DEPS (BUILD_DIR/deps), which tools/build-windows.sh fills;
# every program is linked statically: one .exe, no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_AR ${_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_OBJCOPY ${_triple}-objcopy CACHE FILEPATH "")
set(CMAKE_STRIP ${_triple}-strip CACHE FILEPATH "")

set(OSTREL_WIN32_DEPS "" CACHE PATH "Where the Windows builds of the libraries are installed")
set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${OSTREL_WIN32_DEPS})
set(CMAKE_PREFIX_PATH ${OSTREL_WIN32_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Debian's libz-mingw-w64-dev, for each architecture.
set(ZLIB_LIBRARY /usr/${_triple}/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/${_triple}/include CACHE PATH "")

# Static C and C++ run-times and winpthreads.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The test programs run under Wine, in the build folder's private prefix of the programs'
# architecture (tools/windows/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR env OSTREL_WINE_ARCH=${OSTREL_WINE_ARCH}
  ${CMAKE_CURRENT_LIST_DIR}/../windows/wine-run.sh CACHE STRING "")
