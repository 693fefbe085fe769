// The version of each release, one place for all: the resources show it (tapecount.rc), the
// build names the project after the shipped release's, the package is named after it.
// Plain #defines only: the resource compiler reads this file, and the build scripts grep it.
#ifndef TAPECOUNT_VERSION_H
#define TAPECOUNT_VERSION_H

#ifdef RC_INVOKED
#pragma code_page(65001)  // UTF-8, as in tapecount.rc, whichever resource compiler reads it
#endif

// The release shipped as tapecount.exe, by its digits.
#define TAPECOUNT_SHIPPED_RELEASE 134

#define TAPECOUNT_134_VERSION "1.34"
#define TAPECOUNT_134_VERSION_DIGITS 1, 34, 0, 0
#define TAPECOUNT_134_ABOUT_VERSION "テプカン: ver 1.34"

#define TAPECOUNT_127_VERSION "1.27"
#define TAPECOUNT_127_VERSION_DIGITS 1, 27, 0, 0
#define TAPECOUNT_127_ABOUT_VERSION "テプカン: ver 1.27"

#endif
