# The timetable generator as a user runs it.
if(TARGET muezzin-timetable)
  muezzin_add_test(tst_timetabletool muezzin_device muezzin_prayer muezzin_location)
  add_dependencies(tst_timetabletool muezzin-timetable)
  target_compile_definitions(tst_timetabletool PRIVATE
    MUEZZIN_TIMETABLE="$<TARGET_FILE:muezzin-timetable>")
endif()
