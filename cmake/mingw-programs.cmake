# MinGW-w64 builds: programs as small as the statically linked runtime allows, and the same
# bytes from the same commit whatever folder it is built in.
option(TAPECOUNT_LINK_MAPS "Write <program>.map of each shipped program, for scripts/size-report.py"
       OFF)

# No folder names in the objects (__FILE__, debug info): the source tree and the build tree
# are mapped to fixed names; the last matching map wins, so the build tree (usually inside
# the sources) comes last. The coverage build keeps the real folders: the maps would apply to
# the paths of its data files and sources too, which gcov must find.
option(TAPECOUNT_MAP_FOLDERS "Map the source and build folders to fixed names in the objects" ON)
if(TAPECOUNT_MAP_FOLDERS)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()
# No link time in the PE header.
add_link_options(-Wl,--no-insert-timestamp)
# Static libraries without dates and owners (already the default of Debian's binutils).
set(CMAKE_CXX_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_CREATE_IPO "\"${CMAKE_CXX_COMPILER_AR}\" qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_APPEND_IPO "\"${CMAKE_CXX_COMPILER_AR}\" qD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
set(CMAKE_CXX_ARCHIVE_FINISH_IPO "\"${CMAKE_CXX_COMPILER_RANLIB}\" -D <TARGET>")

# Unused data and leaf functions of the runtime libraries are dropped. (GNU ld keeps every
# function that has unwind data, since it keeps all of .pdata: the runtime's objects come
# in whole, whatever the program uses of them.)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)

# The project's own libraries are optimised across files (LTO) in optimised builds: set
# around the add_subdirectory() of the project's own code, not for GoogleTest.
option(TAPECOUNT_LTO "Link-time optimisation of the project's code (MinGW builds)" ON)
if(TAPECOUNT_LTO)
  include(CheckIPOSupported)
  check_ipo_supported(RESULT tapecount_ipo OUTPUT tapecount_ipo_error LANGUAGES CXX)
  if(NOT tapecount_ipo)
    message(WARNING "No link-time optimisation: ${tapecount_ipo_error}")
    set(TAPECOUNT_LTO OFF)
  endif()
endif()

# tapecount_lto(ON|OFF): whether the targets created from now on are optimised across files.
macro(tapecount_lto state)
  if(TAPECOUNT_LTO)
    set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE ${state})
    set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_MINSIZEREL ${state})
  endif()
endmacro()

# tapecount_shipped_programs(<target>...): the programs that ship carry no symbols or debug
# information in optimised builds (the runtime libraries come with DWARF of their own).
function(tapecount_shipped_programs)
  foreach(program ${ARGN})
    target_link_options(${program} PRIVATE $<$<OR:$<CONFIG:Release>,$<CONFIG:MinSizeRel>>:-s>)
    if(TAPECOUNT_LINK_MAPS)
      target_link_options(${program} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/${program}.map)
    endif()
  endforeach()
endfunction()

# The shipped programs take GCC's -win32 thread model. With the -posix one, the first
# exception thrown while malloc fails never reaches its catch: the runtime's emergency
# exception memory is guarded by a winpthreads mutex made on its first lock, with malloc,
# whose failure is thrown, which locks it again... until the stack overflows. The -win32
# model's mutexes need no memory, and each thread's exception state, made with malloc on the
# thread's first throw, is made while there is memory (shell/program.cpp). The tests need
# the -posix compilers, so with them the programs come from a build of their own.
if(TAPECOUNT_MINGW_THREADS STREQUAL "posix")
  set(TAPECOUNT_PROGRAMS_ELSEWHERE ON)
endif()

# tapecount_programs_build(<program>...): the programs built in <build>/programs with the
# -win32 compilers, the same options and flags, and copied here, where the tests, the
# package and the benchmarks take them; each an imported target of this build.
function(tapecount_programs_build)
  include(ExternalProject)
  set(built)
  set(copies)
  foreach(program ${ARGN})
    list(APPEND built <BINARY_DIR>/${program}.exe)
    list(APPEND copies ${CMAKE_BINARY_DIR}/${program}.exe)
    if(TAPECOUNT_LINK_MAPS)
      list(APPEND built <BINARY_DIR>/${program}.map)
    endif()
  endforeach()
  ExternalProject_Add(tapecount_programs
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/programs
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-win32.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
               "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
               -DTAPECOUNT_TESTS=OFF
               -DTAPECOUNT_BENCH=OFF
               -DTAPECOUNT_WERROR=${TAPECOUNT_WERROR}
               -DTAPECOUNT_LTO=${TAPECOUNT_LTO}
               -DTAPECOUNT_MAP_FOLDERS=${TAPECOUNT_MAP_FOLDERS}
               -DTAPECOUNT_LINK_MAPS=${TAPECOUNT_LINK_MAPS}
    # Its own build knows what changed: it runs every time, and does nothing when nothing did.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy_if_different ${built} ${CMAKE_BINARY_DIR}
    BUILD_BYPRODUCTS ${copies})
  foreach(program ${ARGN})
    add_executable(${program} IMPORTED GLOBAL)
    set_target_properties(${program} PROPERTIES
      IMPORTED_LOCATION ${CMAKE_BINARY_DIR}/${program}.exe)
    add_dependencies(${program} tapecount_programs)
  endforeach()
endfunction()
