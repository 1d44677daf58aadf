# The install set of one build: the installation cabinet of its Kestrum.exe in
# the program's folder, and installset/, the folder a user takes to the
# desktop computer (deskinstall.exe, Setup.ini naming that cabinet, the
# cabinet, and for the Pocket PC a README.txt).
#
# kestrum_install_set(CAB PROCESSOR DESKINSTALL DESKINSTALL_TARGET [README])
#   CAB          the cabinet's file name, Kestrum.<processor family>.CAB
#   PROCESSOR    the processor number the cabinet names, as the device reports it
#   DESKINSTALL  the deskinstall.exe that goes into the set, and the target that builds it
set(kestrum_install_set_dir ${CMAKE_CURRENT_LIST_DIR})

function(kestrum_install_set cab processor deskinstall deskinstall_target)
    set(src ${kestrum_install_set_dir})
    set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    set(set ${CMAKE_BINARY_DIR}/installset)
    set(writer ${CMAKE_SOURCE_DIR}/tools/cecab/write-cab)

    set(KESTRUM_CAB_PROCESSOR ${processor})
    set(KESTRUM_CAB_PROGRAM ${bin}/Kestrum.exe)
    set(KESTRUM_CAB_HELP ${CMAKE_SOURCE_DIR}/handheld/resources/help/Kestrum.htm)
    set(KESTRUM_CAB_NAME ${cab})
    set(description ${CMAKE_BINARY_DIR}/installset-description/Kestrum.cab)
    configure_file(${src}/Kestrum.cab.in ${description} @ONLY)
    # The application manager is a Windows program: its files have Windows line ends.
    configure_file(${src}/Setup.ini.in ${set}/Setup.ini @ONLY NEWLINE_STYLE CRLF)
    if(ARGN STREQUAL "README")
        configure_file(${src}/README.txt ${set}/README.txt @ONLY NEWLINE_STYLE CRLF)
    endif()

    add_custom_command(OUTPUT ${bin}/${cab}
        COMMAND ${writer} ${description} ${bin}/${cab}
        DEPENDS Kestrum ${writer} ${description} ${KESTRUM_CAB_HELP}
        COMMENT "Packing ${cab}"
        VERBATIM)
    add_custom_target(kestrum_install_set ALL
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${bin}/${cab} ${deskinstall} ${set}/
        DEPENDS ${bin}/${cab} ${deskinstall_target}
        COMMENT "Filling ${set}"
        VERBATIM)
endfunction()
