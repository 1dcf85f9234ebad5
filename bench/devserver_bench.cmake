# The development server under load: 200 clients sending IMs to each other,
# against the real vorkle-devserver program run as a child process.
vorkle_add_bench(devserver_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/devserver_bench.cpp
  LIBS vorkle_protocol Qt6::Network)
add_dependencies(devserver_bench vorkle-devserver)
target_compile_definitions(devserver_bench PRIVATE
  VORKLE_DEVSERVER_PATH="$<TARGET_FILE:vorkle-devserver>")
