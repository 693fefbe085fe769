# The shipped programs' toolchain: MinGW-w64 with the -win32 thread model (see
# cmake/mingw-programs.cmake for why).
set(TAPECOUNT_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
