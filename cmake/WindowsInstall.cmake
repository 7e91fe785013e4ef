# What a Windows installation holds: the programs (each installed where it is built) with the Qt
# libraries, plugins and translations they need beside them, and the sample start folder.
# cpack -G ZIP packs it; NSIS makes an installer where it is installed.
include(${PROJECT_SOURCE_DIR}/packaging/sample.cmake)

if(TARGET Qt6::windeployqt)
  set(MUEZZIN_QT_PROGRAMS "")
  foreach(program muezzin-config muezzin-cli muezzin-timetable)
    if(TARGET ${program})
      list(APPEND MUEZZIN_QT_PROGRAMS "\${CMAKE_INSTALL_PREFIX}/bin/$<TARGET_FILE_NAME:${program}>")
    endif()
  endforeach()
  install(CODE "execute_process(COMMAND \"$<TARGET_FILE:Qt6::windeployqt>\"
    --dir \"\${CMAKE_INSTALL_PREFIX}/bin\" ${MUEZZIN_QT_PROGRAMS} COMMAND_ERROR_IS_FATAL ANY)")
endif()

set(CPACK_PACKAGE_INSTALL_DIRECTORY muezzin-config)
set(CPACK_GENERATOR ZIP)
find_program(MUEZZIN_MAKENSIS makensis)
if(MUEZZIN_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_MENU_LINKS "bin/muezzin-config.exe" "muezzin-config")
endif()
include(CPack)
