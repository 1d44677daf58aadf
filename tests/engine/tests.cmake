kestrum_test(engine kestrum_engine)
set_tests_properties(engine PROPERTIES ENVIRONMENT "KESTRUM_PLANT_LINKS=Purge Links/sub/linked:Linked Target")

# The walks keep a fixed stack whatever the depth of the tree: read from the
# compiler's call graph, since Wine's large thread stacks would hide an overflow.
add_test(NAME walk_stack
    COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/walk_stack.py ${CMAKE_CXX_COMPILER} ${CMAKE_SOURCE_DIR}/handheld
            ${CMAKE_SOURCE_DIR}/handheld/engine/folder_walk.cpp ${CMAKE_SOURCE_DIR}/handheld/engine/folder_purge.cpp
            ${CMAKE_SOURCE_DIR}/handheld/engine/dead_shortcuts.cpp ${CMAKE_SOURCE_DIR}/handheld/engine/dead_appmgr_files.cpp
            ${CMAKE_SOURCE_DIR}/handheld/platform/desktop/folder_listing.cpp)
