# Cross build for 64-bit Windows with Debian's MinGW-w64 GCC 12, posix
# threads: the compiler of the C++ runtime the host ships (libstdc++-6.dll,
# libgcc_s_seh-1.dll, libwinpthread-1.dll), which every plug-in shares with
# it, so every plug-in must be built with it too.
# The SDK installs this file beside its package: with it, find_package(OrvHost)
# finds the SDK it came with, and nothing else is needed:
#   cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=<sdk>/lib/cmake/OrvHost/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Packages are searched below the MinGW root only, where the SDK is not: name
# the SDK's package outright when this file is its own.
if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/OrvHostConfig.cmake")
  set(OrvHost_DIR "${CMAKE_CURRENT_LIST_DIR}" CACHE PATH "The OrvHost SDK of this toolchain file")
endif()
