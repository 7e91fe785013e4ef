# The Debian package: cpack -G DEB in a release build makes muezzin-config_<version>_<arch>.deb
# with everything the install rules put under the prefix.
set(MUEZZIN_PACKAGE_MAINTAINER "muezzin-config developers <muezzin-config@users.noreply.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT ${MUEZZIN_PACKAGE_MAINTAINER})
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Finds an electronic muezzin on the serial ports, writes its location, audio\n"
    "settings, ten years of prayer timetables and its key table with every block\n"
    "read back and checked, sets its clock, reads its settings back and replaces\n"
    "its firmware. The Persian window muezzin-config comes with muezzin-cli for\n"
    "the same from a terminal, muezzin-timetable for timetable files and\n"
    "muezzin-sim, a device simulator.")
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
# Debian wants a changelog in every package, gzipped without a time stamp. Its date is the
# build's, or SOURCE_DATE_EPOCH where that is set.
string(TIMESTAMP MUEZZIN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/doc/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/muezzin-config)

include(CPack)
