# The running-program closer: its decision table, and closing real windows
# of helper programs inside a device.
kestrum_test(closer kestrum_closer)

# The stand-in application; run-in-device copies build/bin/helper_*.exe beside the test.
add_executable(helper_windows WIN32 ${CMAKE_CURRENT_LIST_DIR}/helper/helper_windows.cpp)
target_compile_definitions(helper_windows PRIVATE UNICODE _UNICODE)
target_include_directories(helper_windows PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_compile_options(helper_windows PRIVATE ${KESTRUM_WARNINGS} -municode)
target_link_options(helper_windows PRIVATE -municode)
add_dependencies(closer helper_windows)
