# 32-bit Win32 programs: the build of every host that runs 32-bit programs.
set(KESTRUM_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
