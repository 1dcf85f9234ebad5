vorkle_add_bench(spell_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/spell_bench.cpp
  LIBS vorkle_gui)
