# The harness itself: a test program that ends halfway with status 0 fails,
# and so does one that crashes, at once.
add_executable(exit_halfway ${CMAKE_CURRENT_LIST_DIR}/exit_halfway/exit_halfway.cpp)
target_link_libraries(exit_halfway PRIVATE kestrum_test_support)
target_compile_options(exit_halfway PRIVATE ${KESTRUM_WARNINGS})
add_test(NAME harness_exit_halfway
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/exit_halfway_test.sh $<TARGET_FILE:exit_halfway> $<TARGET_FILE:harness_probe>)
set_tests_properties(harness_exit_halfway PROPERTIES TIMEOUT 300 ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")

# A probe for the harness's own tests: ends at once, blocks until killed, or
# reads through a null pointer.
add_executable(harness_probe ${CMAKE_CURRENT_LIST_DIR}/probe/harness_probe.cpp)
target_compile_options(harness_probe PRIVATE ${KESTRUM_WARNINGS})
add_dependencies(exit_halfway harness_probe)

# A run killed with SIGKILL leaves its device; the next run reaps it. Alone,
# and before device_tool, which fails on any device left behind.
add_test(NAME harness_reap COMMAND ${CMAKE_CURRENT_LIST_DIR}/reap_test.sh $<TARGET_FILE:harness_probe>)
set_tests_properties(harness_reap PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")
