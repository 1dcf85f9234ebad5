# The GUI, one static library per layer, each linked only to the layers
# below it: client, uikit, views, dialogs, pages, mainwindow. vorkle_gui is the
# whole GUI; programs, tests and benchmarks link that name.
add_subdirectory(client)
add_subdirectory(uikit)
add_subdirectory(resources)
add_subdirectory(views)
add_subdirectory(dialogs)
add_subdirectory(pages)
add_subdirectory(mainwindow)

add_library(vorkle_gui INTERFACE)
target_include_directories(vorkle_gui INTERFACE ${PROJECT_SOURCE_DIR})
target_link_libraries(vorkle_gui INTERFACE vorkle_mainwindow)

add_subdirectory(app)
