# Run with cmake -P: brings a copy of the translation up to date with the sources and fails
# when any text of it has no finished translation.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
file(COPY ${TS} DESTINATION ${WORK})
execute_process(COMMAND ${LUPDATE} -no-obsolete -locations none ${SOURCES} -ts ${WORK}/${name}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${out}${err}")
endif()
execute_process(COMMAND ${LRELEASE} ${WORK}/${name} -qm ${WORK}/check.qm
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "${out}")
if(NOT status EQUAL 0 OR NOT out MATCHES "\\(([0-9]+) finished and 0 unfinished\\)"
   OR out MATCHES "Ignored")
  message(FATAL_ERROR "${name} lacks translations; run the update_translations target, "
                      "translate what it marks unfinished and build again.\n${out}${err}")
endif()
