# Each portable library exposes only its own folder to what builds on it, so an include of a
# later layer (core/ including history/ or shell/, history/ including shell/, shell/model/
# including the Win32 shell) does not compile. The folder is linked into a staging folder
# of its own in the build; where the build cannot make links (Windows without the right to),
# the library exposes the source root as before and scripts/check-layers.sh still catches it.

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
endfunction()
