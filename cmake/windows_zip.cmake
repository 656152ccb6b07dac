# The Windows download: zeta-viewer-VERSION-win64.zip (win32 for the 32-bit build) in the build directory,
# holding zeta-viewer.exe, README.txt and LICENSES.txt with the notices of the viewer and of the libraries
# linked into it. `cmake --build build-win64 --target windows-zip` makes it (scripts/build-windows.sh does).
if(NOT TARGET zeta-viewer)
    return()
endif()

# True in `result` when `target` links `wanted`, directly or through the libraries it links.
function(zeta_links target wanted result)
    set(pending ${target})
    set(seen)
    while(pending)
        list(POP_FRONT pending current)
        if(current STREQUAL wanted)
            set(${result} TRUE PARENT_SCOPE)
            return()
        endif()
        if(NOT TARGET ${current} OR current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(direct ${current} LINK_LIBRARIES)
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        foreach(library IN LISTS direct interface)
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
            if(library AND NOT library MATCHES "-NOTFOUND$")
                list(APPEND pending ${library})
            endif()
        endforeach()
    endwhile()
    set(${result} FALSE PARENT_SCOPE)
endfunction()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(WINDOWS_KIND "64-bit Windows")
    set(zip_name zeta-viewer-${PROJECT_VERSION}-win64)
else()
    set(WINDOWS_KIND "32-bit Windows")
    set(zip_name zeta-viewer-${PROJECT_VERSION}-win32)
endif()
set(zip_files ${PROJECT_BINARY_DIR}/zip-files)

# Text files with Windows line ends, for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt ${zip_files}/README.txt @ONLY NEWLINE_STYLE CRLF)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE viewer_licence)
file(READ ${PROJECT_SOURCE_DIR}/data/windows/runtime-licences.txt runtime_licences)
set(licences "Zeta viewer\n\n${viewer_licence}\n\n${runtime_licences}")
zeta_links(zeta-viewer picture_export links_zlib)
if(links_zlib)
    file(READ ${PROJECT_SOURCE_DIR}/data/windows/zlib-licence.txt zlib_licence)
    string(APPEND licences "\n${zlib_licence}")
endif()
string(REPLACE "\n" "\r\n" licences "${licences}")
file(WRITE ${zip_files}/LICENSES.txt "${licences}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE
             ${PROJECT_SOURCE_DIR}/data/windows/runtime-licences.txt ${PROJECT_SOURCE_DIR}/data/windows/zlib-licence.txt)

set(zip ${PROJECT_BINARY_DIR}/${zip_name}.zip)
add_custom_command(OUTPUT ${zip}
                   COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zeta-viewer> ${zip_files}/zeta-viewer.exe
                   COMMAND ${CMAKE_STRIP} ${zip_files}/zeta-viewer.exe
                   COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
                   COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip zeta-viewer.exe README.txt LICENSES.txt
                   WORKING_DIRECTORY ${zip_files}
                   DEPENDS zeta-viewer ${zip_files}/README.txt ${zip_files}/LICENSES.txt
                   COMMENT "Making ${zip_name}.zip"
                   VERBATIM)
add_custom_target(windows-zip DEPENDS ${zip})
