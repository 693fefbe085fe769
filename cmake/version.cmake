# Sets TAPECOUNT_VERSION: the version of the release shipped as tapecount.exe, read from
# shell/version.h, which the resources show.
set(tapecount_version_header ${CMAKE_CURRENT_LIST_DIR}/../shell/version.h)
file(STRINGS ${tapecount_version_header} tapecount_release
     REGEX "^#define TAPECOUNT_SHIPPED_RELEASE [0-9]+$")
string(REGEX REPLACE ".* " "" tapecount_release "${tapecount_release}")
file(STRINGS ${tapecount_version_header} TAPECOUNT_VERSION
     REGEX "^#define TAPECOUNT_${tapecount_release}_VERSION \"[0-9.]+\"$")
string(REGEX REPLACE ".* \"(.*)\"$" "\\1" TAPECOUNT_VERSION "${TAPECOUNT_VERSION}")
if(NOT TAPECOUNT_VERSION)
  message(FATAL_ERROR "No version of the shipped release in ${tapecount_version_header}")
endif()
