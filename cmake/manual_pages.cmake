# Manual pages, data/man/PROGRAM.1: the version filled in, compressed as Debian wants them (gzip -9n, no name
# or time stamp inside) and installed under share/man/man1.
include(GNUInstallDirs)

function(zeta_install_manual_page program)
    if(WIN32)
        return()
    endif()
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    configure_file(${PROJECT_SOURCE_DIR}/data/man/${program}.1 ${page} @ONLY)
    add_custom_command(OUTPUT ${page}.gz
                       COMMAND gzip -9 -n -f -k ${page}
                       DEPENDS ${page}
                       COMMENT "Compressing the manual page ${program}.1"
                       VERBATIM)
    add_custom_target(${program}-manual-page ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
