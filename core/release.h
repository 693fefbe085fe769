// Every way in which release 1.27 differs from release 1.34, in one place. The portable
// code takes a Release; the shell picks one at build time (TAPECOUNT_RELEASE), and the
// resource script picks the About box's version line and height the same way.
#pragma once

#include "history/tape.h"

namespace tapecount {

struct Release {
  // Pixels per history row, and the height from which a window may lose a row (Page Up,
  // Up, undo; in 1.27 also a left click).
  TapeGeometry geometry;
  // Every entry and total is remembered, so Backspace can take the last entry back;
  // otherwise the calculator keeps only the running total and Backspace only edits.
  bool keepsEntryHistory;
  // The window's alpha while transparency is on (and, with fades, the pointer is away).
  int transparentAlpha;
  // Transparency fades in while the pointer is over the window and out when it leaves;
  // otherwise the window stays at the transparent alpha whatever the pointer does.
  bool fades;
  // A left click on the window makes it a row shorter, a right click a row taller.
  bool mouseButtonsResize;
  // How the history columns are joined on the clipboard.
  HistoryLayout clipboardLayout;
};

inline constexpr Release kRelease134{{19, 229}, true, 50, true, false, HistoryLayout::Clipboard};
inline constexpr Release kRelease127{{18, 226}, false, 127, false, true, HistoryLayout::Print};

}  // namespace tapecount
