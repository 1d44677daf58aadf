# Kestrum for a real Pocket PC, included by CMakeLists.txt when the toolchain
# is cmake/arm-mingw32ce.cmake: the handheld program alone, from the same
# sources, with the platform's CE side.
#
# The handheld's compiler is GCC 4.4: C++ up to its -std=gnu++0x. Windows CE
# 3.0 is what the headers are asked for; its common controls have the 32-bit
# spin range, which the headers offer from the level 0x0400 on.
unset(CMAKE_CXX_STANDARD)
unset(CMAKE_CXX_STANDARD_REQUIRED)
unset(CMAKE_CXX_EXTENSIONS)
string(APPEND CMAKE_CXX_FLAGS " -std=gnu++0x")
add_compile_definitions(_WIN32_WCE=0x300 _WIN32_IE=0x0400)

# A CE program is a GUI program by its subsystem; there is no -mwindows.
set(CMAKE_CXX_CREATE_WIN32_EXE "")

# A CE 3.0 loader predates the ASLR and DEP marks (DllCharacteristics 0):
# binutils sets them by default. Without -s the runtime's debug sections
# stay in the image.
add_link_options(-Wl,--gc-sections $<$<CONFIG:Release>:-s> -Wl,--disable-dynamicbase,--disable-nxcompat)

add_subdirectory(handheld)

# The install set for the user: the cabinet for the StrongARM (2577) of CE
# 3.0's Pocket PCs, and deskinstall for the x86 desktop, built for i686 by its
# own cross compiler whatever the host, since no 32-bit host is needed to make it.
include(ExternalProject)
ExternalProject_Add(deskinstall_x86
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/deskinstall-x86
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
               -DKESTRUM_TARGET=deskinstall
    BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/deskinstall-x86/bin/deskinstall.exe
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
include(installset/installset.cmake)
kestrum_install_set(Kestrum.ARM.CAB 2577 ${CMAKE_BINARY_DIR}/deskinstall-x86/bin/deskinstall.exe deskinstall_x86 README)
