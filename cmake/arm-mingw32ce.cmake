# Cross toolchain: Kestrum for a real Pocket PC (Windows CE 3.0 on ARM), with
# CeGCC's arm-mingw32ce compiler (GCC 4.4) and GNU binutils. The toolchain's
# folder comes as KESTRUM_CE_PREFIX (tools/build-pocketpc.sh passes it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR arm)
# Picks the platform's CE side and the handheld-only build (CMakeLists.txt).
set(KESTRUM_TARGET pocketpc)

if(NOT KESTRUM_CE_PREFIX)
    set(KESTRUM_CE_PREFIX $ENV{KESTRUM_CE_PREFIX})
endif()
if(NOT KESTRUM_CE_PREFIX)
    message(FATAL_ERROR "KESTRUM_CE_PREFIX names no toolchain: use tools/build-pocketpc.sh")
endif()
# The compiler checks configure projects of their own; they need the folder too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRUM_CE_PREFIX)

set(CMAKE_C_COMPILER ${KESTRUM_CE_PREFIX}/bin/arm-mingw32ce-gcc)
set(CMAKE_CXX_COMPILER ${KESTRUM_CE_PREFIX}/bin/arm-mingw32ce-g++)
set(CMAKE_RC_COMPILER ${KESTRUM_CE_PREFIX}/bin/arm-mingw32ce-windres)

# The compiler links coredll and the CE runtime by itself; the desktop's
# default libraries do not exist for the handheld.
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "")
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "")

set(CMAKE_FIND_ROOT_PATH ${KESTRUM_CE_PREFIX}/arm-mingw32ce)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
