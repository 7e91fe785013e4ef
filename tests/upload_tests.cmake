# The configuration upload against the simulator, in-process and through the command line.
muezzin_add_test(tst_upload muezzin_device muezzin_devicesim)

# The command-line tool is run as a user runs it, so both programs must be built first.
muezzin_add_test(tst_cli muezzin_device muezzin_devicesim)
add_dependencies(tst_cli muezzin-cli muezzin-sim)
target_compile_definitions(tst_cli PRIVATE
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>"
  MUEZZIN_SIM="$<TARGET_FILE:muezzin-sim>"
  MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
