# A Debian package of the installed tree (`cpack -G DEB` in a build folder) and, for the Windows
# program, a ZIP that runs where it is unpacked.
set(CPACK_PACKAGE_NAME "tamlo-qt350")
set(CPACK_PACKAGE_VENDOR "The Tamlo QT-350 Simulator contributors")
# The team's address, where packagers and players write to.
set(CPACK_PACKAGE_CONTACT "Tamlo QT-350 Simulator team <team@tamlo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The lines as apt shows them, each within 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop simulator of the number-shooting game built into a pocket\n"
    "calculator: aim with the Left arrow key, fire with the Down arrow key, and\n"
    "destroy the numbered invaders before they land. Sixteen hits complete a\n"
    "level, and each level marches faster.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
    # Kept for the tests: including CPack sets CPACK_PACKAGE_FILE_NAME to the source package's.
    set(TAMLO_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.zip)
    # Texts a Windows user opens with a double click: named .txt, with Windows line ends.
    configure_file(${PROJECT_SOURCE_DIR}/resources/README-windows.txt.in README.txt @ONLY
        NEWLINE_STYLE CRLF)
    configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt ${CMAKE_CURRENT_BINARY_DIR}/README.txt
        DESTINATION .)
    include(CPack)
    return()
endif()

set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
find_program(TAMLO_GZIP gzip REQUIRED)
set(CPACK_STRIP_FILES ON)
# Stripped as Debian strips a program: without the compilers' version notes either.
set(program "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TAMLO_INSTALL_PROGRAMDIR}")
string(APPEND program "/$<TARGET_FILE_NAME:tamlo-qt350>")
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
            \"${program}\" COMMAND_ERROR_IS_FATAL ANY)
    endif()")

# What Debian asks of every package: the licence in its machine-readable form, drawn from LICENSE,
# and the changelog, both compressed the way dpkg expects, with no name or time in the archive.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "\nCopyright \\(c\\) ([^\n]+)\n\n(.*)" found "${license}")
if(NOT found)
    message(FATAL_ERROR "LICENSE has no line \"Copyright (c) <year> <holders>\" before its text")
endif()
set(TAMLO_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" TAMLO_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" TAMLO_LICENSE_TEXT "${TAMLO_LICENSE_TEXT}")
string(REPLACE "\n" "\n " TAMLO_LICENSE_TEXT " ${TAMLO_LICENSE_TEXT}")
set(debian ${PROJECT_SOURCE_DIR}/resources/debian)
configure_file(${debian}/copyright.in debian/copyright @ONLY)

file(STRINGS ${debian}/changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^${CPACK_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/debian/changelog has no entry for ${PROJECT_VERSION} on top")
endif()
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${debian}/changelog ${changelog}
    COMMAND ${TAMLO_GZIP} -9nf ${changelog}
    DEPENDS ${debian}/changelog
    COMMENT "Compressing the changelog")
add_custom_target(debian_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright ${changelog}.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})

# The System Info store is the user's to edit: dpkg keeps an edited one over an upgrade or a
# reinstall (or asks, when the package brings a new one).
file(CONFIGURE OUTPUT debian/conffiles
    CONTENT "${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/tamlo-qt350/registry.reg\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# xz, as dpkg-deb itself compresses: it stores no time, where gzip would store the packing time.
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# CPack's own archive takes the modes of its files from the umask of the one who packs.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebRepack.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A game: its program is in /usr/games (the package preset's TAMLO_INSTALL_PROGRAMDIR).
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Shared-library dependencies are computed from the binary by dpkg-shlibdeps; the fonts the
# windows name are not linked, so they are declared.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# A Wayland session without XWayland plays natively, through the toolkit's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hardinfo, qt6-wayland")

set(CPACK_GENERATOR "DEB")
include(CPack)
