# The Tools menu: the start-up programs of a soft reset, Close All, the About
# box in this process, and the device commands given to Kestrum.exe in a device.
set(tools_menu_dir ${CMAKE_CURRENT_SOURCE_DIR}/tools_menu)

add_executable(helper_probe WIN32 ${tools_menu_dir}/helpers/helper_probe.cpp)
target_compile_definitions(helper_probe PRIVATE UNICODE _UNICODE)
target_compile_options(helper_probe PRIVATE ${KESTRUM_WARNINGS})
target_link_options(helper_probe PRIVATE -municode)

kestrum_test(tools_menu kestrum_test_shell_kit ntdll)
# The closer's stand-in application and its protocol are reused for Close All.
target_sources(tools_menu PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/closer/helper/observer_window.cpp)
target_include_directories(tools_menu PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/closer/helper)
add_dependencies(tools_menu helper_kestrum helper_windows helper_probe)
