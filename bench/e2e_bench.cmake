# The client end to end: a flood of IMs into the real main window (each
# client a child process of the benchmark: e2e_bench_client in a child
# mode) against the real vorkle-devserver, and the start-up of the real
# vorkle program to its first paint beside a bare Qt window program, both
# timed by a probe preloaded into them. The client soak (a million IMs,
# VORKLE_SOAK_IMS) runs with the rest unless filtered out.
vorkle_add_bench(e2e_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_child.h
          ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_parent.h
          ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_soak.cpp
  LIBS vorkle_gui Qt6::Network)

# The clients the benchmark measures, without the benchmark library.
add_executable(e2e_bench_client
  ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_child.h
  ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_child.cpp
  ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_childkit.h
  ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_soakclient.cpp)
target_link_libraries(e2e_bench_client PRIVATE vorkle_gui Qt6::Network)
# The shared wait helpers come with the devserver child's header.
target_compile_definitions(e2e_bench_client PRIVATE
  VORKLE_DEVSERVER_PATH="$<TARGET_FILE:vorkle-devserver>")

add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets)
add_library(first_paint_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/first_paint_probe.cpp)
target_link_libraries(first_paint_probe PRIVATE Qt6::Widgets)

add_dependencies(e2e_bench vorkle-devserver vorkle bare_window first_paint_probe e2e_bench_client)
target_compile_definitions(e2e_bench PRIVATE
  VORKLE_DEVSERVER_PATH="$<TARGET_FILE:vorkle-devserver>"
  VORKLE_APP_PATH="$<TARGET_FILE:vorkle>"
  E2E_BENCH_CLIENT_PATH="$<TARGET_FILE:e2e_bench_client>"
  BARE_WINDOW_PATH="$<TARGET_FILE:bare_window>"
  FIRST_PAINT_PROBE_PATH="$<TARGET_FILE:first_paint_probe>")
