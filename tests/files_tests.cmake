# The programs against full and read-only disks, special files, links and unbounded inputs.
if(TARGET muezzin-timetable)
  muezzin_add_test(tst_savesandbounds muezzin_device muezzin_devicesim)
  add_dependencies(tst_savesandbounds muezzin-cli muezzin-timetable)
  target_compile_definitions(tst_savesandbounds PRIVATE
    MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>"
    MUEZZIN_TIMETABLE="$<TARGET_FILE:muezzin-timetable>"
    MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
