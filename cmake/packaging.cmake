# What is shipped besides the programs: on Windows a zip (cmake/windows_zip.cmake); elsewhere the Debian
# package that `cpack -G DEB` makes in the build directory, zeta-viewer_VERSION_ARCH.deb.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_zip.cmake)
    return()
endif()

include(GNUInstallDirs)
if(TARGET zeta-viewer)
    zeta_install_manual_page(zeta-viewer)
endif()

set(ZETA_MAINTAINER "Zeta viewer maintainers <maintainers@users.noreply.c-seed-811f49ab.example>")
set(ZETA_SUMMARY "viewer for the Riemann zeta function")

# /usr/share/doc/zeta-viewer/copyright in Debian's machine-readable form, from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
string(REGEX REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REGEX REPLACE "\n" "\n " license_text "${license_text}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license_text}")
set(copyright_holders "${CMAKE_MATCH_1}")
file(WRITE ${PROJECT_BINARY_DIR}/package/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: zeta-viewer\n\n"
     "Files: *\nCopyright: ${copyright_holders}\nLicense: Expat\n ${license_text}\n")
# A native package's changelog: one entry for the version it holds.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PROJECT_BINARY_DIR}/package/changelog
     "zeta-viewer (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Version ${PROJECT_VERSION}.\n\n"
     " -- ${ZETA_MAINTAINER}  ${changelog_date}\n")
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/package/changelog.gz
                   COMMAND gzip -9 -n -f -k ${PROJECT_BINARY_DIR}/package/changelog
                   DEPENDS ${PROJECT_BINARY_DIR}/package/changelog
                   VERBATIM)
add_custom_target(package-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/package/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/package/copyright ${PROJECT_BINARY_DIR}/package/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeta-viewer)

set(CPACK_PACKAGE_NAME zeta-viewer)
set(CPACK_PACKAGE_VENDOR "The zeta viewer developers")
set(CPACK_PACKAGE_CONTACT "${ZETA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${ZETA_SUMMARY}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZETA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; the font is opened through fontconfig at run time, so no library names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# CPack puts the summary first and indents the text; an empty line parts paragraphs.
set(CPACK_PACKAGE_DESCRIPTION
    "zeta-viewer plots one quantity of the Riemann zeta function zeta(s) - |zeta|,
Re zeta, Im zeta or 1/|zeta| - over a rectangle of the complex plane, one value
per pixel, with axes, a colour legend and the critical line. The plot pans with
the mouse and zooms with the wheel; values come from the alternating series or
from an accurate method, right to 1e-10 up to |Im s| = 1e8, computed on
background threads.

zeta-render draws the same window into a PNG image without a screen, and
writes the computed values as CSV.")
include(CPack)
