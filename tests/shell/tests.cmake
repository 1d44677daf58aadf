# Tests of the handheld shell: resources, platform pieces, start-up and the
# main window, run in a device; a screenshot check; and the asset generator.
set(shell_dir ${CMAKE_CURRENT_LIST_DIR})

# Helper programs travel to D:\Tests beside the test program (build/bin/helper_*.exe).
foreach(helper launch peghelp)
    add_executable(helper_${helper} WIN32 ${shell_dir}/helpers/helper_${helper}.cpp)
    target_compile_definitions(helper_${helper} PRIVATE UNICODE _UNICODE)
    target_compile_options(helper_${helper} PRIVATE ${KESTRUM_WARNINGS})
    target_link_options(helper_${helper} PRIVATE -municode)
endforeach()

# Kestrum itself travels as helper_kestrum.exe; the tests install it where the
# handheld keeps it and read its resources.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/helper_kestrum.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Kestrum> ${CMAKE_BINARY_DIR}/bin/helper_kestrum.exe
    DEPENDS Kestrum)
add_custom_target(helper_kestrum ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/helper_kestrum.exe)

kestrum_test(shell kestrum_test_shell_kit)
add_dependencies(shell helper_kestrum helper_peghelp helper_launch)

add_test(NAME shell_screenshot
    COMMAND ${shell_dir}/screenshot.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/shots/kestrum.png)
set_tests_properties(shell_screenshot PROPERTIES TIMEOUT 300)

add_test(NAME shell_assets_reproducible
    COMMAND ${shell_dir}/assets_reproducible.sh ${CMAKE_SOURCE_DIR}/handheld/resources)
