# The client end to end: a flood of IMs into the real main window and its
# start-up to the first paint, each client a child process of the benchmark
# (the same program run in a child mode), against the real vorkle-devserver.
vorkle_add_bench(e2e_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_child.h
          ${CMAKE_CURRENT_LIST_DIR}/e2e_bench_child.cpp
  LIBS vorkle_gui Qt6::Network)
add_dependencies(e2e_bench vorkle-devserver)
target_compile_definitions(e2e_bench PRIVATE
  VORKLE_DEVSERVER_PATH="$<TARGET_FILE:vorkle-devserver>")
