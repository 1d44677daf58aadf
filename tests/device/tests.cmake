# The help viewer's decisions, in the harness's fresh device.
kestrum_test(device peghelp_topic)

# The device tool and what it installs, end to end: a device made by
# tools/device, the help viewer's window and the demo programs inside it.
add_executable(device_window ${CMAKE_CURRENT_LIST_DIR}/window/device_window_test.cpp)
target_link_libraries(device_window PRIVATE kestrum_test_support)
target_compile_options(device_window PRIVATE ${KESTRUM_WARNINGS})
add_dependencies(device_window peghelp demoapp)
add_test(NAME device_tool
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/device_tool_test.sh $<TARGET_FILE:device_window>)
set_tests_properties(device_tool PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE DEPENDS harness_reap ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")

# The demo's arithmetic (no Wine): Report figures read from a +text trace,
# what went away between two device listings.
add_test(NAME demo_summary COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/demo_summary_test.py)

# The README's demo command on a fresh device; skipped until Kestrum.exe is built.
add_test(NAME demo COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/demo_test.sh)
set_tests_properties(demo PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                     ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")

# The device's screen as a web page, in Debian's headless Chromium driven by
# puppeteer-core (package.json at the top; tools/setup-debian.sh installs
# both); skipped until Kestrum.exe is built.
add_test(NAME device_view COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/view_test.sh)
set_tests_properties(device_view PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                     ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")

# The device's installer and Remove Programs (tools/wceload) through the
# device tool: install, replace, remove, refusals, bad input.
add_test(NAME device_installer COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/installer_test.sh)
set_tests_properties(device_installer PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
                     ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")

# deskinstall to Kestrum in the Start menu, through the emulated desktop's
# application manager, then a cleaning of what real installs left; skipped
# until the install set is built.
add_test(NAME device_install_path COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_path_test.sh)
set_tests_properties(device_install_path PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                     ENVIRONMENT "KESTRUM_BUILD_DIR=${CMAKE_BINARY_DIR}")
