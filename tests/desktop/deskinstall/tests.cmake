# deskinstall: its steps over recording fakes, and whole runs inside a device.
# The test program is not called deskinstall.exe, which is the product's name.
set(deskinstall_tests_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB deskinstall_test_sources CONFIGURE_DEPENDS ${deskinstall_tests_dir}/*.cpp)
add_executable(deskinstall_tests ${deskinstall_test_sources})
target_link_libraries(deskinstall_tests PRIVATE kestrum_test_support deskinstall_steps)
target_compile_options(deskinstall_tests PRIVATE ${KESTRUM_WARNINGS})

# What a whole run needs on the device, travelling as helpers to D:\Tests:
# the product itself, a stand-in application manager and a self-registering library.
add_executable(helper_deskinstall_appmgr WIN32 ${deskinstall_tests_dir}/helpers/helper_deskinstall_appmgr.cpp)
target_compile_options(helper_deskinstall_appmgr PRIVATE ${KESTRUM_WARNINGS})
add_library(helper_deskinstall_regmarker SHARED ${deskinstall_tests_dir}/helpers/helper_deskinstall_regmarker.cpp)
set_target_properties(helper_deskinstall_regmarker PROPERTIES PREFIX "")
target_compile_options(helper_deskinstall_regmarker PRIVATE ${KESTRUM_WARNINGS})
target_link_options(helper_deskinstall_regmarker PRIVATE -Wl,--kill-at)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/helper_deskinstall.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:deskinstall> ${CMAKE_BINARY_DIR}/bin/helper_deskinstall.exe
    DEPENDS deskinstall)
add_custom_target(helper_deskinstall DEPENDS ${CMAKE_BINARY_DIR}/bin/helper_deskinstall.exe)
add_dependencies(deskinstall_tests helper_deskinstall_appmgr helper_deskinstall_regmarker helper_deskinstall)

add_test(NAME deskinstall_steps COMMAND deskinstall_tests --gtest_filter=SetupRun*:SetupText*)
set_tests_properties(deskinstall_steps PROPERTIES TIMEOUT 600)

# Whole runs, one device each; end_to_end.sh checks Wine's log of the
# debugger output and message boxes against expected/<name>.debug and .boxes.
function(deskinstall_run_test name filter)
    add_test(NAME deskinstall_${name}
        COMMAND ${deskinstall_tests_dir}/end_to_end.sh $<TARGET_FILE:deskinstall_tests> ${filter}
                ${deskinstall_tests_dir}/expected/${name})
    set_tests_properties(deskinstall_${name} PROPERTIES TIMEOUT 600)
endfunction()
deskinstall_run_test(run EndToEnd.StartsManagerCopiesFilesAndRegistersTheLibrary)
deskinstall_run_test(run_without_library EndToEnd.MissingRegisteredLibraryEndsQuietlyWithoutRegsvr32)
deskinstall_run_test(failed_start EndToEndBox.ManagerThatCannotStartIsReportedAndNothingIsCopied)
deskinstall_run_test(planted_regsvr32 EndToEnd.PlantedRegsvr32BesideTheInstallSetIsNotRun)
deskinstall_run_test(long_folder EndToEndBox.LongestInstallSetFolderStillStartsTheManager)
