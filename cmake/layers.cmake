# The layers: core/, history/, shell/model/ (portable), then shell/ (Win32), each building only
# on those before it. Each portable library exposes only its own folder to what builds on it,
# linked into a staging folder of its own in the build, so an include of a later layer does not
# compile; every header of the folder is compiled too, in the library's view, so a header that
# no source of its own includes is held to the same. In that view the Windows headers are
# errors. Where the build cannot make links (Windows without the right to), the library exposes
# the source root, and the layers are checked by the builds that can (`make test`'s).
# scripts/check-layers.sh checks what no build sees: a relative include out of its folder.

set(TAPECOUNT_NO_WINDOWS ${CMAKE_BINARY_DIR}/layers/no-windows)
foreach(header windows winuser wingdi commdlg commctrl imm)
  file(GENERATE OUTPUT ${TAPECOUNT_NO_WINDOWS}/${header}.h
       CONTENT "#error \"portable code includes a Windows header\"\n")
endforeach()

# tapecount_layer(<target> <folder>): <folder>, relative to the source root, is what <target>
# exposes, under its own name.
function(tapecount_layer target folder)
  string(REPLACE "/" "_" stage ${folder})
  set(root ${CMAKE_BINARY_DIR}/layers/${stage})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} RESULT linked SYMBOLIC)
  else()
    set(linked 0)
  endif()
  if(linked EQUAL 0)
    target_include_directories(${target} PUBLIC ${root})
  else()
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  endif()
  target_include_directories(${target} PRIVATE ${TAPECOUNT_NO_WINDOWS})

  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  list(TRANSFORM headers REPLACE "(.+)" "#include \"\\1\"\n")
  string(JOIN "" includes ${headers})
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}_headers.cpp CONTENT "${includes}")
  add_library(${target}_headers OBJECT ${CMAKE_CURRENT_BINARY_DIR}/${target}_headers.cpp)
  target_link_libraries(${target}_headers PRIVATE ${target})
  target_include_directories(${target}_headers PRIVATE ${TAPECOUNT_NO_WINDOWS})
  tapecount_warnings(${target}_headers)
endfunction()
