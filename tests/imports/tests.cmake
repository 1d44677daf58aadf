# Nothing outside the platform calls a function Windows CE 3.0 lacks.
find_program(KESTRUM_NM i686-w64-mingw32-nm REQUIRED)
# The C runtime's import library tells its functions from the program's own.
find_library(KESTRUM_CRT_IMPORTS msvcrt REQUIRED)
add_test(NAME handheld_imports
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/imports/handheld_imports.sh ${KESTRUM_NM}
            ${CMAKE_CURRENT_SOURCE_DIR}/imports/handheld_functions.txt ${KESTRUM_CRT_IMPORTS}
            $<TARGET_FILE:kestrum_common> $<TARGET_FILE:kestrum_settings> $<TARGET_FILE:kestrum_closer>
            $<TARGET_FILE:kestrum_engine> $<TARGET_FILE:kestrum_shell_base> $<TARGET_FILE:kestrum_pages>
            $<TARGET_FILE:kestrum_shell>)
