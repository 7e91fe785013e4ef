# The version of the host's Qt, whose headers the stand-in is.
set(MUEZZIN_HOST_QT_HEADERS /usr/include/x86_64-linux-gnu/qt6 CACHE PATH
    "Where the host's Qt 6 headers are")
file(STRINGS ${MUEZZIN_HOST_QT_HEADERS}/QtCore/qconfig.h muezzin_qt_version
     REGEX "#define QT_VERSION_STR")
string(REGEX REPLACE ".*\"([0-9.]+)\".*" "\\1" PACKAGE_VERSION "${muezzin_qt_version}")
if(PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
