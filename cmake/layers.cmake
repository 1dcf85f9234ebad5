# The code is layered: protocol, client, uikit, views, dialogs, mainwindow,
# app, lowest first. Each library compiles against an include root of its
# own that holds its folder and the folders below it, nothing else, so an
# include that points up a layer fails to compile ("No such file").
function(vorkle_layer target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS ARGN)
    if(NOT EXISTS ${root}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
