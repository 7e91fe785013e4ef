# What a Windows installation holds: the programs (each installed where it is built) with the Qt
# libraries, plugins and translations they need beside them, and the sample start folder.
# cpack -G ZIP packs it; NSIS makes an installer where it is installed.
include(${PROJECT_SOURCE_DIR}/packaging/sample.cmake)

set(MUEZZIN_QT_PROGRAMS "")
foreach(program muezzin-config muezzin-cli muezzin-timetable)
  if(TARGET ${program})
    list(APPEND MUEZZIN_QT_PROGRAMS "\${CMAKE_INSTALL_PREFIX}/bin/$<TARGET_FILE_NAME:${program}>")
  endif()
endforeach()
if(MUEZZIN_QT_PROGRAMS AND TARGET Qt6::windeployqt)
  install(CODE "execute_process(COMMAND \"$<TARGET_FILE:Qt6::windeployqt>\"
    --dir \"\${CMAKE_INSTALL_PREFIX}/bin\" ${MUEZZIN_QT_PROGRAMS} COMMAND_ERROR_IS_FATAL ANY)")
elseif(MUEZZIN_QT_PROGRAMS)
  # Without it the installed programs lack the Qt libraries, the SQLite driver and the platform
  # plugin, and do not start: said when configuring and again when installing.
  set(MUEZZIN_NO_DEPLOY_TEXT "Qt's windeployqt was not found beside this Qt (Qt6::windeployqt): \
cmake --install copies the programs without the Qt libraries, plugins and translations they \
need, and they will not start. Use a Qt from Qt's installer, whose bin folder holds \
windeployqt.exe, or run windeployqt on the installed bin folder yourself.")
  message(WARNING "${MUEZZIN_NO_DEPLOY_TEXT}")
  install(CODE "message(WARNING \"${MUEZZIN_NO_DEPLOY_TEXT}\")")
endif()

set(CPACK_PACKAGE_INSTALL_DIRECTORY muezzin-config)
set(CPACK_GENERATOR ZIP)
find_program(MUEZZIN_MAKENSIS makensis)
if(MUEZZIN_MAKENSIS)
  list(APPEND CPACK_GENERATOR NSIS)
  set(CPACK_NSIS_MENU_LINKS "bin/muezzin-config.exe" "muezzin-config")
endif()
include(CPack)
