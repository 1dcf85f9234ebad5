vorkle_add_bench(protocol_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/protocol_bench.cpp LIBS vorkle_protocol)
