# muezzin-cli apply against the paced simulator, timed against the wire time of its bytes.
add_executable(bench_apply ${CMAKE_CURRENT_LIST_DIR}/bench_apply.cpp)
target_link_libraries(bench_apply PRIVATE muezzin_device)
add_dependencies(bench_apply muezzin-cli muezzin-sim)
target_compile_definitions(bench_apply PRIVATE
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>"
  MUEZZIN_SIM="$<TARGET_FILE:muezzin-sim>"
  MUEZZIN_SOURCE_DIR="${CMAKE_CURRENT_LIST_DIR}/..")

# muezzin-cli apply and upgrade on one paced simulator and on four at once.
add_executable(bench_many ${CMAKE_CURRENT_LIST_DIR}/bench_many.cpp)
target_link_libraries(bench_many PRIVATE muezzin_device)
add_dependencies(bench_many muezzin-cli muezzin-sim)
target_compile_definitions(bench_many PRIVATE
  MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>"
  MUEZZIN_SIM="$<TARGET_FILE:muezzin-sim>"
  MUEZZIN_SOURCE_DIR="${CMAKE_CURRENT_LIST_DIR}/..")
