# The sample start folder, where the programs look for it on Linux and Windows alike (share/
# muezzin-config/sample beside bin/): its files as they stand, without the readable sources of the
# city database (the built database goes in its place) and without a log, which is each user's own.
include(GNUInstallDirs)

set(MUEZZIN_SAMPLE_DESTINATION ${CMAKE_INSTALL_DATADIR}/muezzin-config/sample)
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/sample)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/sample/
          DESTINATION ${MUEZZIN_SAMPLE_DESTINATION}
          PATTERN CMakeLists.txt EXCLUDE
          PATTERN *.cmake EXCLUDE
          PATTERN *.csv EXCLUDE
          PATTERN *.tsv EXCLUDE
          PATTERN log.txt EXCLUDE)
endif()
# Made at build time, when the sample's build rules exist. No timetable files: ten years of every
# county would be some 30 MB, and each upload computes the years it lacks from the county's
# coordinates (device/TimetableYears).
install(FILES ${CMAKE_BINARY_DIR}/sample/city.db DESTINATION ${MUEZZIN_SAMPLE_DESTINATION}
        OPTIONAL)
