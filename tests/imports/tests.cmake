# Nothing outside the platform calls a function Windows CE 3.0 lacks.
# C symbols carry a leading underscore in 32-bit objects only.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(KESTRUM_SYMBOL_PREFIX "_")
else()
    set(KESTRUM_SYMBOL_PREFIX "")
endif()
# The C runtime's import library tells its functions from the program's own.
find_library(KESTRUM_CRT_IMPORTS msvcrt REQUIRED)
add_test(NAME handheld_imports
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/imports/handheld_imports.sh ${CMAKE_NM} "${KESTRUM_SYMBOL_PREFIX}"
            ${CMAKE_CURRENT_SOURCE_DIR}/imports/handheld_functions.txt ${KESTRUM_CRT_IMPORTS}
            $<TARGET_FILE:kestrum_common> $<TARGET_FILE:kestrum_settings> $<TARGET_FILE:kestrum_closer>
            $<TARGET_FILE:kestrum_engine> $<TARGET_FILE:kestrum_shell_base> $<TARGET_FILE:kestrum_pages>
            $<TARGET_FILE:kestrum_shell>)
