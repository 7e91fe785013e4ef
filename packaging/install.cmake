# Installs what makes the window program a desktop program (its menu entry and icon) and the
# sample start folder. The programs themselves are installed where they are built.
include(GNUInstallDirs)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/muezzin-config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/muezzin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME muezzin-config.svg)

include(${CMAKE_CURRENT_LIST_DIR}/sample.cmake)

# Keeps ModemManager off the USB serial adapters and lowers the latency timer of FTDI adapters
# for systems that ignore the tool's low-latency request. Under the prefix (MUEZZIN_UDEV_RULES_DIR),
# as udev reads rules from /usr/lib/udev/rules.d and /etc; muezzin-cli doctor looks for it there.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/60-muezzin-serial-adapters.rules
        DESTINATION ${MUEZZIN_UDEV_RULES_DIR})

# The software centres' description of the window program, with its picture.
set(MUEZZIN_APPSTREAM_ID "invalid.muezzin_config.MuezzinConfig" CACHE STRING
    "The AppStream component id: the reversed domain of the project's home, then the program")
set(MUEZZIN_HOMEPAGE "https://muezzin-config.invalid" CACHE STRING
    "Where the project is published; its docs/window.png is the screenshot")
configure_file(${CMAKE_CURRENT_LIST_DIR}/muezzin-config.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${MUEZZIN_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${MUEZZIN_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/muezzin-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME muezzin-cli)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/muezzin-config)

include(${CMAKE_CURRENT_LIST_DIR}/manpages.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
