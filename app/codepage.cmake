# The text-setting check: the decision, and the layer of the system it is built for.
target_sources(muezzin_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CodePageCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodePageCheck.h
)
if(WIN32)
  target_sources(muezzin_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodePagePlatformWindows.cpp)
  # Registry, restart request and token privileges.
  target_link_libraries(muezzin_app PRIVATE advapi32)
else()
  target_sources(muezzin_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CodePagePlatformPosix.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CodePagePlatformPosix.h)
endif()
