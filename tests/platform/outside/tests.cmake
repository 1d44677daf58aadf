# Kestrum started outside an emulated device: in a prefix whose Z: leads to a
# decoy folder made for the test, it shows one box, ends with 16 and changes nothing.
add_executable(helper_outside ${CMAKE_CURRENT_LIST_DIR}/helper_outside.cpp)
target_compile_options(helper_outside PRIVATE ${KESTRUM_WARNINGS})
target_include_directories(helper_outside PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
add_test(NAME outside_device
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/outside_device.sh $<TARGET_FILE:Kestrum> $<TARGET_FILE:helper_outside>)
set_tests_properties(outside_device PROPERTIES TIMEOUT 600)
