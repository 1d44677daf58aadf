# The install set, read back by a reader of its own: the cabinet writer's
# refusals, and the emulated build's cabinet and install set. The Pocket PC's
# are checked with the Pocket PC build (tests/pocketpc).
set(install_set_check ${CMAKE_CURRENT_LIST_DIR}/check_install_set.py)
add_test(NAME write_cab_refusals
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/write_cab_refusals.py ${CMAKE_SOURCE_DIR}/tools/cecab/write-cab)
add_test(NAME emulated_cabinet
    COMMAND ${install_set_check} cabinet ${CMAKE_BINARY_DIR}/bin/Kestrum.X86.CAB device $<TARGET_FILE:Kestrum>
            ${CMAKE_SOURCE_DIR}/handheld/resources/help/Kestrum.htm)
add_test(NAME emulated_install_set
    COMMAND ${install_set_check} set ${CMAKE_BINARY_DIR}/installset ${CMAKE_BINARY_DIR}/bin/Kestrum.X86.CAB
            $<TARGET_FILE:deskinstall>)
