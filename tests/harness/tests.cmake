# The harness itself: a test program that ends halfway with status 0 fails.
add_executable(exit_halfway ${CMAKE_CURRENT_LIST_DIR}/exit_halfway/exit_halfway.cpp)
target_link_libraries(exit_halfway PRIVATE kestrum_test_support)
target_compile_options(exit_halfway PRIVATE ${KESTRUM_WARNINGS})
add_test(NAME harness_exit_halfway
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/exit_halfway_test.sh $<TARGET_FILE:exit_halfway>)
set_tests_properties(harness_exit_halfway PROPERTIES TIMEOUT 300 ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")
