vorkle_add_bench(buddylist_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/buddylist_bench.cpp
  LIBS vorkle_gui)
