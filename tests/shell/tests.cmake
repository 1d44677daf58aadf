# Tests of the handheld shell: resources, platform pieces, start-up and the
# main window, run in a device; a screenshot check; and the asset generator.
set(shell_dir ${CMAKE_CURRENT_SOURCE_DIR}/shell)

# Helper programs travel to D:\Tests beside the test program.
add_executable(helper_launch WIN32 ${shell_dir}/helper_launch.cpp)
target_compile_definitions(helper_launch PRIVATE UNICODE _UNICODE)
target_link_options(helper_launch PRIVATE -municode)
