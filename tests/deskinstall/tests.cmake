# deskinstall: its steps over recording fakes, and whole runs inside a device.
# The test program is not called deskinstall.exe, which is the product's name.
file(GLOB deskinstall_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(deskinstall_tests ${deskinstall_test_sources})
target_link_libraries(deskinstall_tests PRIVATE kestrum_test_support deskinstall_steps)
target_compile_options(deskinstall_tests PRIVATE ${KESTRUM_WARNINGS})
add_test(NAME deskinstall_steps COMMAND deskinstall_tests --gtest_filter=SetupRun*:SetupText*)
set_tests_properties(deskinstall_steps PROPERTIES TIMEOUT 600)
