# Benchmarks that run muezzin-cli against paced muezzin-sim processes.
function(muezzin_add_cli_bench name)
  add_executable(${name} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE muezzin_device)
  add_dependencies(${name} muezzin-cli muezzin-sim)
  target_compile_definitions(${name} PRIVATE
    MUEZZIN_CLI="$<TARGET_FILE:muezzin-cli>"
    MUEZZIN_SIM="$<TARGET_FILE:muezzin-sim>"
    MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

# A complete apply, timed against the wire time of its bytes.
muezzin_add_cli_bench(bench_apply)
# Apply and upgrade on one paced simulator and on four at once.
muezzin_add_cli_bench(bench_many)
