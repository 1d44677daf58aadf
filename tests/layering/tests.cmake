# Every handheld include runs from a higher layer to a lower one, and every
# platform function shows itself as one.
add_test(NAME layering_include_order
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/layering/include_order.sh ${CMAKE_SOURCE_DIR})
add_test(NAME layering_platform_names
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/layering/platform_names.sh ${CMAKE_SOURCE_DIR})
