muezzin_add_test(tst_window muezzin_app muezzin_devicesim)
muezzin_add_test(tst_windowdevice muezzin_app muezzin_devicesim)
target_compile_definitions(tst_windowdevice PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
muezzin_add_test(tst_clockcommands muezzin_app muezzin_devicesim)
add_dependencies(tst_clockcommands muezzin-cli)
target_compile_definitions(tst_clockcommands PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>")
# Every text marked for translation has its Persian: a new one in the sources that the
# translation lacks, or one left unfinished, fails.
add_test(NAME translations_complete COMMAND ${CMAKE_COMMAND}
  -DLUPDATE=$<TARGET_FILE:Qt6::lupdate> -DLRELEASE=$<TARGET_FILE:Qt6::lrelease>
  -DTS=${MUEZZIN_TRANSLATIONS} -DWORK=${CMAKE_CURRENT_BINARY_DIR}/translations_check
  "-DSOURCES=${MUEZZIN_TRANSLATED_SOURCES}"
  -P ${CMAKE_CURRENT_SOURCE_DIR}/translations_check.cmake)
# On an X display of its own: it checks what reaches the screen, which offscreen cannot show.
muezzin_add_test(tst_windowpaint muezzin_app muezzin_devicesim)
target_compile_definitions(tst_windowpaint PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The log file across start and close, on full and unreadable disks.
muezzin_add_test(tst_windowlog muezzin_app)
