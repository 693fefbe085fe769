// Every way in which release 1.27 differs from release 1.34, in one place. Each program's
// entry passes its Release; everything below it takes it at run time. (The About box's
// version line and height differ too: they are each program's resources.)
#pragma once

namespace tapecount {

struct Release {
  // Pixels per history row.
  int rowHeight;
  // The height from which the window may lose a row (Page Up, Up, undo; in 1.27 also a left
  // click).
  int minShrinkableHeight;
  // Every entry and total is remembered, so Backspace on an empty entry box takes the last
  // entry back; otherwise the calculator keeps only the running total and Backspace edits.
  bool keepsEntryHistory;
  // The window's alpha while transparency is on (and, with fades, the pointer is away).
  int transparentAlpha;
  // Transparency fades in while the pointer is over the window and out when it leaves;
  // otherwise the window stays at the transparent alpha whatever the pointer does.
  bool fades;
  // A left click on the window makes it a row shorter, a right click a row taller.
  bool mouseButtonsResize;
  // What joins the two history columns on the clipboard.
  const char16_t* clipboardSeparator;
};

inline constexpr Release kRelease134{19, 229, true, 50, true, false, u"\t"};
inline constexpr Release kRelease127{18, 226, false, 127, false, true, u"   "};

}  // namespace tapecount
