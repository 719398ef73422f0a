# A Debian package of the installed tree (`cpack -G DEB` in a build folder) and, for the Windows
# program, a ZIP that runs where it is unpacked.
set(CPACK_PACKAGE_NAME "tamlo-qt350")
set(CPACK_PACKAGE_VENDOR "The Tamlo QT-350 Simulator contributors")
set(CPACK_PACKAGE_CONTACT "The Tamlo QT-350 Simulator contributors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop simulator of the number-shooting game built into a pocket calculator: aim with the Left arrow key, fire with the Down arrow key, and destroy the numbered invaders before they land.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
    set(CPACK_GENERATOR "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
    configure_file(${PROJECT_SOURCE_DIR}/resources/README-windows.txt.in README.txt @ONLY)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
    include(CPack)
    return()
endif()

set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
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
