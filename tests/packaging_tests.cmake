# What a Linux desktop and a terminal read from the installed tool, checked with the tools
# they use.
find_program(MUEZZIN_DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(MUEZZIN_APPSTREAMCLI appstreamcli REQUIRED)
add_test(NAME desktop_entry_valid COMMAND ${MUEZZIN_DESKTOP_FILE_VALIDATE}
  ${PROJECT_SOURCE_DIR}/packaging/muezzin-config.desktop)
add_test(NAME metainfo_valid COMMAND ${MUEZZIN_APPSTREAMCLI} validate --no-net
  ${CMAKE_BINARY_DIR}/${MUEZZIN_APPSTREAM_ID}.metainfo.xml)
add_test(NAME bash_completion COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/completion_test.sh
  $<TARGET_FILE_DIR:muezzin-cli> ${PROJECT_SOURCE_DIR}/packaging/muezzin-cli.bash-completion)

# The window program answers --help and --version where there is no display at all.
if(TARGET muezzin-config)
  foreach(option help version)
    add_test(NAME window_${option}_without_display COMMAND ${CMAKE_COMMAND} -E env
      --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
      $<TARGET_FILE:muezzin-config> --${option})
  endforeach()
  set_tests_properties(window_help_without_display PROPERTIES PASS_REGULAR_EXPRESSION "--folder")
  set_tests_properties(window_version_without_display PROPERTIES
    PASS_REGULAR_EXPRESSION "^muezzin-config ${PROJECT_VERSION}\n$")
endif()
