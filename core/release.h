// Every way in which release 1.27 differs from release 1.34, in one place. The portable
// code takes a Release; the shell picks one at build time.
#pragma once

#include "history/tape.h"

namespace tapecount {

struct Release {
  const char* version;
  // Pixels per history row, and the height from which a window may lose a row.
  TapeGeometry geometry;
  // Every entry and total is remembered, so the last entry can be taken back; otherwise
  // the calculator keeps only the running total.
  bool keepsEntryHistory;
  // The window's alpha while transparency is on and the pointer is away.
  int transparentAlpha;
  // How the history columns are joined on the clipboard.
  HistoryLayout clipboardLayout;
};

inline constexpr Release kRelease134{"1.34", {19, 229}, true, 50, HistoryLayout::Clipboard};
inline constexpr Release kRelease127{"1.27", {18, 226}, false, 127, HistoryLayout::Print};

}  // namespace tapecount
