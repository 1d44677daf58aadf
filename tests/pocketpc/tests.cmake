# The Pocket PC build, when its toolchain is on this machine (tools/build-pocketpc.sh
# makes it): built with everything else, so a change that breaks the handheld's
# compiler breaks this build, and its Kestrum.exe checked for what a Windows CE
# 3.0 device needs. Nothing here can run it.
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/build-pocketpc.sh --print-prefix
                OUTPUT_VARIABLE ce_prefix OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS ${ce_prefix}/.complete)
    message(STATUS "No Pocket PC toolchain in ${ce_prefix}: the Pocket PC build and its checks are left out")
    return()
endif()

include(ExternalProject)
ExternalProject_Add(kestrum_pocketpc
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/pocketpc
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/arm-mingw32ce.cmake
               -DKESTRUM_CE_PREFIX=${ce_prefix}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

set(pocketpc_check python3 ${CMAKE_CURRENT_LIST_DIR}/check_image.py)
set(pocketpc_image ${ce_prefix}/bin/arm-mingw32ce-objdump ${CMAKE_BINARY_DIR}/pocketpc/bin/Kestrum.exe
    ${CMAKE_SOURCE_DIR}/tests/imports/handheld_functions.txt ${CMAKE_SOURCE_DIR}/tests/imports/ce_functions.txt)
add_test(NAME pocketpc_image COMMAND ${pocketpc_check} ${pocketpc_image})
# The check itself: each fault planted in a copy of the image must show.
add_test(NAME pocketpc_image_faults COMMAND ${pocketpc_check} --plant ${pocketpc_image})

# The install set for the user: the ARM cabinet and the x86 deskinstall beside it.
set(pocketpc_bin ${CMAKE_BINARY_DIR}/pocketpc/bin)
add_test(NAME pocketpc_cabinet
    COMMAND ${CMAKE_SOURCE_DIR}/tests/installset/check_install_set.py cabinet ${pocketpc_bin}/Kestrum.ARM.CAB 2577
            ${pocketpc_bin}/Kestrum.exe ${CMAKE_SOURCE_DIR}/handheld/resources/help/Kestrum.htm)
add_test(NAME pocketpc_install_set
    COMMAND ${CMAKE_SOURCE_DIR}/tests/installset/check_install_set.py set ${CMAKE_BINARY_DIR}/pocketpc/installset
            ${pocketpc_bin}/Kestrum.ARM.CAB ${CMAKE_BINARY_DIR}/pocketpc/deskinstall-x86/bin/deskinstall.exe --x86-gui)
