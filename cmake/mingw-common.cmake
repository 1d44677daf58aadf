# Cross toolchain: Win32 programs built with mingw-w64 (posix threading model)
# for KESTRUM_MINGW_ARCH, which the including toolchain file sets.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTRUM_MINGW_ARCH})

set(CMAKE_C_COMPILER ${KESTRUM_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRUM_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRUM_MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRUM_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages of the host (its GoogleTest among them) cannot link into Win32 programs.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
