// What the tape needs from the window system. The shell implements it with Win32 calls;
// tests implement it with a fake that records what was shown.
#pragma once

#include "history/text.h"

namespace tapecount {

enum class PaneId { Input, Total };

struct PaneRect {
  int x, y, width, height;
};

struct WindowSize {
  int width, height;
};

// The window-mode values the tape reads when a line no longer fits.
struct GrowthModes {
  bool autoExpand = false;
  bool autoMode = false;
  int screenRowLimit = 0;
};

class TapeHost {
 public:
  virtual ~TapeHost() = default;

  virtual void ShowPaneText(PaneId pane, const Text& text) = 0;
  virtual void MovePane(PaneId pane, const PaneRect& rect) = 0;
  // Lets the status bar lay itself out along the bottom edge after a size change.
  virtual void LayoutStatusBar(int sizeType, int clientWidth, int clientHeight) = 0;
  virtual void SetStatusText(const Text& text) = 0;
  virtual void FocusEntry() = 0;

  // The main window's outer size (frame included), as the window system reports it now.
  virtual WindowSize OuterWindowSize() const = 0;
  // Gives the window a new outer size in place, keeping its topmost band. The size
  // handling (Tape::HandleSize) runs inside the call when the size changes.
  virtual void ResizeKeepingTopmost(int height, int width) = 0;

  virtual GrowthModes Modes() const = 0;
  virtual void AutoExpandOff() = 0;
  // Starts the background check of the room left below the window and returns at once.
  virtual void StartScreenRowCheck() = 0;
};

}  // namespace tapecount
