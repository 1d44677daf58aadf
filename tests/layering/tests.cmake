# Every handheld include runs from a higher layer to a lower one.
add_test(NAME layering_include_order
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/layering/include_order.sh ${CMAKE_SOURCE_DIR})
