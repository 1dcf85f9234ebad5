# Hostile peers against one view: member floods into a chat room, and
# buddy icons that declare huge pictures or are held open. Hostile servers
# against the whole window: profile URLs nobody asked for, a dripping
# profile page, a hung server, View History over long lines.
vorkle_add_bench(room_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/room_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/benchviewhost.h
          ${CMAKE_CURRENT_LIST_DIR}/loopprobe.h
  LIBS vorkle_gui)
vorkle_add_bench(icon_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/benchviewhost.h
          ${CMAKE_CURRENT_LIST_DIR}/loopprobe.h
  LIBS vorkle_gui Qt6::Network)
vorkle_add_bench(net_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/net_bench.cpp
          ${CMAKE_CURRENT_LIST_DIR}/loopprobe.h
  LIBS vorkle_gui Qt6::Network)
