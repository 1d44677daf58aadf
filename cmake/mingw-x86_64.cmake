# 64-bit Win32 programs, for hosts that cannot run 32-bit programs at all.
set(KESTRUM_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
