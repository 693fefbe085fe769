# MinGW-w64 builds: programs as small as the statically linked runtime allows.
option(TAPECOUNT_LINK_MAPS "Write <program>.map of each shipped program, for scripts/size-report.py"
       OFF)

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
