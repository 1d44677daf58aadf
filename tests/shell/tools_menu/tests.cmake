# The Tools menu: the start-up programs of a soft reset, Close All, the About
# box in this process, and the device commands given to Kestrum.exe in a device.
set(tools_menu_dir ${CMAKE_CURRENT_LIST_DIR})

add_executable(helper_probe WIN32 ${tools_menu_dir}/helpers/helper_probe.cpp)
target_compile_definitions(helper_probe PRIVATE UNICODE _UNICODE)
target_compile_options(helper_probe PRIVATE ${KESTRUM_WARNINGS})
target_link_options(helper_probe PRIVATE -municode)

# Close All runs against the closer's stand-in application.
kestrum_test(tools_menu kestrum_test_shell_kit ntdll)
add_dependencies(tools_menu helper_kestrum helper_windows helper_probe)
