# A stand-in for a Qt 6 for Windows, made of the host's Qt headers and tools, so that every file
# of the Windows build can be checked there although no Qt for Windows can be had on the build
# machines. There are no libraries to link, so every file is compiled for its syntax only
# (-fsyntax-only) and the archive and link steps only mark their outputs as made. moc, uic and
# rcc are the host's: their output is the same for every system.
#
# The host's headers describe a Linux build of Qt; the compiler's _WIN32 makes qsystemdetection.h
# give Q_OS_WIN, and with it the headers declare what a Windows build declares (QSerialPort's
# handle a HANDLE, every export dllimport, wchar_t of 16 bits). No config macro needs to be
# overridden for it: the Linux-only features that qconfig.h, qtcore-config.h and qtgui-config.h
# switch on (xcb, glib, inotify, eventfd, fontconfig, reduce_relocations) guard private headers,
# ELF-only checks or the X11 native interface, whose two forward declarations a Windows build
# lacks but no code here names. Were one needed, it would go in Qt6::Core's compile definitions
# below, with its reason.
set(MUEZZIN_HOST_QT_TOOLS /usr/lib/qt6/libexec CACHE PATH "Where the host's moc, uic and rcc are")

if(NOT TARGET Qt6::Core)
  # What Qt's own CMake files give every Windows target.
  add_library(Qt6::Platform INTERFACE IMPORTED)
  set_target_properties(Qt6::Platform PROPERTIES
    INTERFACE_COMPILE_DEFINITIONS "UNICODE;_UNICODE;MINGW_HAS_SECURE_API=1"
    INTERFACE_INCLUDE_DIRECTORIES ${MUEZZIN_HOST_QT_HEADERS})

  function(muezzin_qt_headers module define)
    add_library(Qt6::${module} INTERFACE IMPORTED)
    set_target_properties(Qt6::${module} PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${MUEZZIN_HOST_QT_HEADERS}/Qt${module}
      INTERFACE_COMPILE_DEFINITIONS ${define}
      INTERFACE_LINK_LIBRARIES "${ARGN}")
  endfunction()
  muezzin_qt_headers(Core QT_CORE_LIB Qt6::Platform)
  muezzin_qt_headers(Gui QT_GUI_LIB Qt6::Core)
  muezzin_qt_headers(Widgets QT_WIDGETS_LIB Qt6::Gui)
  muezzin_qt_headers(PrintSupport QT_PRINTSUPPORT_LIB Qt6::Widgets)
  muezzin_qt_headers(SerialPort QT_SERIALPORT_LIB Qt6::Core)
  muezzin_qt_headers(Sql QT_SQL_LIB Qt6::Core)
  muezzin_qt_headers(Test QT_TESTLIB_LIB Qt6::Core)
  # How CMake's automatic moc, uic and rcc tell the Qt version.
  set_target_properties(Qt6::Core PROPERTIES INTERFACE_QT_MAJOR_VERSION 6)
  set_property(TARGET Qt6::Core APPEND PROPERTY COMPATIBLE_INTERFACE_STRING QT_MAJOR_VERSION)

  foreach(tool moc uic rcc)
    add_executable(Qt6::${tool} IMPORTED)
    set_target_properties(Qt6::${tool} PROPERTIES
      IMPORTED_LOCATION ${MUEZZIN_HOST_QT_TOOLS}/${tool})
  endforeach()
  # A Qt for Windows has windeployqt, which the installation runs; nothing is ever installed from
  # this stand-in, so it only has to be named.
  add_executable(Qt6::windeployqt IMPORTED)
  set_target_properties(Qt6::windeployqt PROPERTIES
    IMPORTED_LOCATION ${MUEZZIN_HOST_QT_TOOLS}/windeployqt.exe)
endif()
set(Qt6Core_VERSION_MAJOR 6)
set(Qt6Core_VERSION_MINOR ${Qt6_VERSION_MINOR})
set(Qt6Widgets_VERSION_MAJOR 6)
set(Qt6Widgets_VERSION_MINOR ${Qt6_VERSION_MINOR})

# The translations are data, checked by the Linux build.
function(qt_add_translations)
endfunction()

foreach(component IN LISTS Qt6_FIND_COMPONENTS)
  set(Qt6${component}_FOUND TRUE)
  set(Qt6_${component}_FOUND TRUE)
endforeach()
set(Qt6_FOUND TRUE)

add_compile_options(-fsyntax-only)
set(CMAKE_CXX_CREATE_STATIC_LIBRARY "<CMAKE_COMMAND> -E touch <TARGET>")
set(CMAKE_CXX_LINK_EXECUTABLE "<CMAKE_COMMAND> -E touch <TARGET>")
