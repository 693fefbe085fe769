// The room below the window on the monitor it is on, for auto mode's screen-row limit: the
// monitor chosen as Windows chooses it for MONITOR_DEFAULTTONEAREST, and that monitor's own
// maximised height, from rectangles as GetWindowRect and GetMonitorInfo give them.
#pragma once

#include <vector>

namespace tapecount {

// A rectangle as a Win32 RECT holds it: on the screen, or on a page; right and bottom are
// exclusive.
struct Box {
  int left, top, right, bottom;
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct Monitor {
  Box area;      // rcMonitor
  Box work;      // rcWork
  bool primary;  // MONITORINFOF_PRIMARY
};

// The rows a window with this outer rectangle could hold if it reached down to the bottom of
// a maximised window on its monitor: (maximised height - top - 171) / rowHeight, truncated
// toward zero, so it may be 0 or negative. Its monitor is the one it overlaps most, or when
// it overlaps none the closest (by the gap between the rectangles); ties go to the first in
// the list. That monitor's maximised height is its work area's height plus what a maximised
// window overhangs on the primary monitor (`maximisedPrimary`, SM_CYMAXIMIZED, less the
// primary work area's height; the first monitor counts as primary when none is marked), and
// top is the window's top below that monitor's top edge. With one monitor, or none, this is
// (maximisedPrimary - window.top - 171) / rowHeight.
int ScreenRowLimit(const std::vector<Monitor>& monitors, const Box& window, int maximisedPrimary,
                   int rowHeight);

}  // namespace tapecount
