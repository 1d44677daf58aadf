# The programs' size budgets: Kestrum.exe <= 96 KiB, deskinstall.exe <= 24 KiB,
# both linked for ASLR and DEP. Stripped release builds are deterministic, so
# the test can hold them. The budgets are the normal build's: the checks of a
# sanitized build add to every function.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT KESTRUM_SANITIZE)
    add_test(NAME program_sizes
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_sizes.sh ${CMAKE_OBJDUMP}
                $<TARGET_FILE:Kestrum> 98304 $<TARGET_FILE:deskinstall> 24576)
endif()
