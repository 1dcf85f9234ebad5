# The widgets library: views, dialogs and the main window share one static
# library; each folder adds its own sources with target_sources().
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Multimedia)
add_library(vorkle_gui STATIC)
target_include_directories(vorkle_gui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vorkle_gui PUBLIC vorkle_protocol Qt6::Widgets Qt6::Multimedia)
foreach(_part views dialogs mainwindow resources)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${_part}/CMakeLists.txt)
    add_subdirectory(${_part})
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/app/CMakeLists.txt)
  add_subdirectory(app)
endif()
