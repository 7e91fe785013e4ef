muezzin_add_test(tst_window muezzin_app muezzin_devicesim)
muezzin_add_test(tst_windowdevice muezzin_app muezzin_devicesim)
target_compile_definitions(tst_windowdevice PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
muezzin_add_test(tst_clockcommands muezzin_app muezzin_devicesim)
add_dependencies(tst_clockcommands muezzin-cli)
target_compile_definitions(tst_clockcommands PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>")
# On an X display of its own: it checks what reaches the screen, which offscreen cannot show.
muezzin_add_test(tst_windowpaint muezzin_app muezzin_devicesim)
target_compile_definitions(tst_windowpaint PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
