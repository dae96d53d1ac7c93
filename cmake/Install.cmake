# Installation and the Debian package. The programs install themselves (their
# own install(TARGETS)); here go the desktop entry and the icon, where
# freedesktop desktops look for them, the licence in Debian's copyright
# format, and CPack's settings for a .deb:
#   cmake --build BUILD --target package      (or: cd BUILD && cpack)
include(GNUInstallDirs)

if(TEMBREL_BUILD_UI AND NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/tembrel.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size IN ITEMS 16 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/tembrel-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME tembrel.png)
    endforeach()
endif()
if(NOT WIN32)
    # Debian's machine-readable copyright file, which names the licence and
    # points at the system's copy of its text.
    install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tembrel)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tembrel)
set(CPACK_PACKAGE_VENDOR "The Tembrel developers")
set(CPACK_PACKAGE_CONTACT "The Tembrel developers <tembrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fills Google Earth's imagery cache for a region")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tembrel walks a grid of snapshot centres over one area, a list of areas\n"
    "or a list of points, and once per period rewrites a small KML view file\n"
    "that Google Earth reads through a periodically refreshing network link.\n"
    "Google Earth flies over the region and caches its imagery for viewing\n"
    "offline. Also installs tembrel-sim, which prints the timeline of a\n"
    "voyage without flying it.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tembrel.example.org")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/COPYING)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link come from dpkg-shlibdeps; the font the
# windows are laid out for is only recommended, since any sans serif works.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-extra)

if(WIN32)
    include(WindowsPackage)
endif()
include(CPack)
