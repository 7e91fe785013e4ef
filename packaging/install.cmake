# Installs what makes the window program a desktop program (its menu entry and icon) and the
# sample start folder. The programs themselves are installed where they are built.
include(GNUInstallDirs)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/muezzin-config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/muezzin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME muezzin-config.svg)

# The sample start folder: its files as they stand, without the readable source of the city
# database (the built database goes in its place) and without a log, which is each user's own.
set(MUEZZIN_SAMPLE_DESTINATION ${CMAKE_INSTALL_DATADIR}/muezzin-config/sample)
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/sample)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/sample/
          DESTINATION ${MUEZZIN_SAMPLE_DESTINATION}
          PATTERN CMakeLists.txt EXCLUDE
          PATTERN *.cmake EXCLUDE
          PATTERN *.csv EXCLUDE
          PATTERN log.txt EXCLUDE)
endif()
# Made at build time, when the sample's build rules exist.
install(FILES ${CMAKE_BINARY_DIR}/sample/city.db DESTINATION ${MUEZZIN_SAMPLE_DESTINATION}
        OPTIONAL)
install(DIRECTORY ${CMAKE_BINARY_DIR}/sample/data DESTINATION ${MUEZZIN_SAMPLE_DESTINATION}
        OPTIONAL)

# Keeps ModemManager off the USB serial adapters and lowers the latency timer of FTDI adapters
# for systems that ignore the tool's low-latency request. Under the prefix, as udev reads rules
# from /usr/lib/udev/rules.d and /etc; muezzin-cli doctor looks for it there too.
set(MUEZZIN_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the udev rule for USB serial adapters is installed, relative to the prefix")
install(FILES ${CMAKE_CURRENT_LIST_DIR}/60-muezzin-serial-adapters.rules
        DESTINATION ${MUEZZIN_UDEV_RULES_DIR})
if(TARGET muezzin-cli)
  target_compile_definitions(muezzin-cli PRIVATE MUEZZIN_UDEV_RULES_DIR="${MUEZZIN_UDEV_RULES_DIR}")
endif()

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
