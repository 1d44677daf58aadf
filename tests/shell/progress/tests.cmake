# The Progress page in a device: painting, Start, apply and help in-process,
# and Kestrum started with "S" both ways.
kestrum_test(progress kestrum_test_shell_kit)
add_dependencies(progress helper_kestrum helper_peghelp)

add_test(NAME progress_drawn_run COMMAND ${CMAKE_CURRENT_LIST_DIR}/drawn_run.sh ${CMAKE_BINARY_DIR})
set_tests_properties(progress_drawn_run PROPERTIES TIMEOUT 300)
