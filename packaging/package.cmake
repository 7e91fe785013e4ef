# The Debian package: cpack -G DEB in a release build makes muezzin-config_<version>_<arch>.deb
# with everything the install rules put under the prefix.
set(MUEZZIN_PACKAGE_MAINTAINER "muezzin-config developers <muezzin-config@users.noreply.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME muezzin-config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${MUEZZIN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for electronic muezzin devices")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Finds an electronic muezzin on the serial ports, writes its location, audio settings, ten\n"
    "years of prayer timetables and its key table with every block read back and checked,\n"
    "sets its clock, reads its settings back and replaces its firmware. Persian window\n"
    "muezzin-config, with muezzin-cli for the same from a terminal, muezzin-timetable for\n"
    "timetable files and muezzin-sim, a device simulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link shows: the database driver, the window's font, Qt's Persian texts, the
# platform plugins and the picture loader for the window's icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, fonts-noto-ui-core, qt6-translations-l10n, qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
