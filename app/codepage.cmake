# The text-setting check: the decision, and the reading of the system it is built for.
target_sources(muezzin_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CodePageCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodePageCheck.h
)
if(WIN32)
  target_sources(muezzin_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodePagePlatformWindows.cpp)
else()
  target_sources(muezzin_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodePagePlatformPosix.cpp)
endif()
