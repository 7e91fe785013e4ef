# Man pages made from each program's --help and --version by help2man, gzipped as Debian
# wants them. Each page lists only what its program uses.
find_program(MUEZZIN_HELP2MAN help2man)
find_program(MUEZZIN_GZIP gzip)
if(NOT MUEZZIN_HELP2MAN OR NOT MUEZZIN_GZIP)
  message(STATUS "help2man or gzip not found: no man pages")
  return()
endif()

set(MUEZZIN_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(MUEZZIN_MAN_PAGES "")

# The program is found by name on PATH, so that the page's usage line names it and not the
# build folder. INCLUDES are packaging/NAME.h2m files of further sections; GENERATED is the
# hidden option with which the program writes its own sections (a section per command, exit
# status, examples, ...) from the table its --help is made from, so that page and help agree.
function(muezzin_man_page target summary)
  if(NOT TARGET ${target})
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "GENERATED" "INCLUDES")
  set(page ${MUEZZIN_MAN_DIR}/${target}.1)
  set(includes "")
  set(sections "")
  foreach(extra IN LISTS arg_INCLUDES)
    list(APPEND includes --include ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${extra})
    list(APPEND sections ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${extra})
  endforeach()
  if(arg_GENERATED)
    set(generated ${MUEZZIN_MAN_DIR}/${target}.h2m)
    add_custom_command(OUTPUT ${generated}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${MUEZZIN_MAN_DIR}
      COMMAND sh -c "\"$0\" ${arg_GENERATED} > \"$1\"" $<TARGET_FILE:${target}> ${generated}
      DEPENDS ${target}
      COMMENT "Writing the man page sections of ${target}"
      VERBATIM)
    list(APPEND includes --include ${generated})
    list(APPEND sections ${generated})
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MUEZZIN_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E env "PATH=$<TARGET_FILE_DIR:${target}>:$ENV{PATH}"
            ${MUEZZIN_HELP2MAN} --no-info --section 1 --name ${summary} ${includes}
            --output ${page} ${target}
    COMMAND ${MUEZZIN_GZIP} -9nf ${page}
    DEPENDS ${target} ${sections}
    COMMENT "Writing the man page of ${target}"
    VERBATIM)
  set(MUEZZIN_MAN_PAGES ${MUEZZIN_MAN_PAGES} ${page}.gz PARENT_SCOPE)
endfunction()

# city-database.h2m: the city database's copyright, on the pages of the programs that read it.
muezzin_man_page(muezzin-config "configure an electronic muezzin over its serial line"
                 INCLUDES start-folder.h2m muezzin-config.h2m city-database.h2m)
muezzin_man_page(muezzin-cli "the electronic muezzin's device operations from a terminal"
                 GENERATED --help-man # its FILES section begins with the start folder too
                 INCLUDES city-database.h2m)
muezzin_man_page(muezzin-timetable "write the prayer timetable files of counties"
                 INCLUDES start-folder.h2m muezzin-timetable.h2m city-database.h2m)
muezzin_man_page(muezzin-sim "simulate an electronic muezzin on a pseudo-terminal"
                 INCLUDES muezzin-sim.h2m)

add_custom_target(man_pages ALL DEPENDS ${MUEZZIN_MAN_PAGES})
install(FILES ${MUEZZIN_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
