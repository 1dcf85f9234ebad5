# The development server under load, against the real vorkle-devserver
# program run as a child process: 200 clients sending IMs to each other, the
# cost of signing on, and the soak (mixed traffic for VORKLE_SOAK_SECONDS).
vorkle_add_bench(devserver_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/devserver_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/devserver_bench_server.h
          ${CMAKE_CURRENT_LIST_DIR}/devserver_bench_soak.cpp
          ${CMAKE_CURRENT_LIST_DIR}/devserver_bench_soakclient.h
          ${CMAKE_CURRENT_LIST_DIR}/devserver_bench_soakclient.cpp
  LIBS vorkle_protocol Qt6::Network)
add_dependencies(devserver_bench vorkle-devserver)
target_compile_definitions(devserver_bench PRIVATE
  VORKLE_DEVSERVER_PATH="$<TARGET_FILE:vorkle-devserver>")
