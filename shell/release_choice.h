// The release this program is built as, chosen at build time (TAPECOUNT_RELEASE).
#pragma once

#include "core/release.h"

#ifndef TAPECOUNT_RELEASE
#define TAPECOUNT_RELEASE 134
#endif

namespace tapecount {

#if TAPECOUNT_RELEASE == 127
inline constexpr const Release& kRelease = kRelease127;
#else
inline constexpr const Release& kRelease = kRelease134;
#endif

}  // namespace tapecount
