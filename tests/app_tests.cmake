muezzin_add_test(tst_window muezzin_app muezzin_devicesim)
muezzin_add_test(tst_windowdevice muezzin_app muezzin_devicesim)
target_compile_definitions(tst_windowdevice PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
muezzin_add_test(tst_clockcommands muezzin_app muezzin_devicesim)
add_dependencies(tst_clockcommands muezzin-cli)
target_compile_definitions(tst_clockcommands PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>")
# The log file across start and close, on full and unreadable disks.
muezzin_add_test(tst_windowlog muezzin_app)
