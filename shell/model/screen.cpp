#include "shell/model/screen.h"

#include <algorithm>
#include <limits>

#include "shell/model/window_model.h"

namespace tapecount {

namespace {

// In doubles: exact for any real screen, and no overflow for any ints.
double OverlapArea(const Box& a, const Box& b) {
  const double width = std::min<double>(a.right, b.right) - std::max<double>(a.left, b.left);
  const double height = std::min<double>(a.bottom, b.bottom) - std::max<double>(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

// The gap between [aLow, aHigh) and [bLow, bHigh) along one axis; 0 when they overlap or touch.
double Gap(double aLow, double aHigh, double bLow, double bHigh) {
  return std::max({0.0, bLow - aHigh, aLow - bHigh});
}

// The monitor MonitorFromRect picks with MONITOR_DEFAULTTONEAREST: the largest overlap wins;
// without any overlap, the shortest distance between the rectangles. Ties: the first listed.
const Monitor& MonitorOf(const std::vector<Monitor>& monitors, const Box& window) {
  const Monitor* best = nullptr;
  double bestArea = 0;
  for (const Monitor& monitor : monitors) {
    const double area = OverlapArea(monitor.area, window);
    if (area > bestArea) {
      best = &monitor;
      bestArea = area;
    }
  }
  if (best != nullptr) {
    return *best;
  }
  double nearest = std::numeric_limits<double>::infinity();
  for (const Monitor& monitor : monitors) {
    const Box& m = monitor.area;
    const double dx = Gap(window.left, window.right, m.left, m.right);
    const double dy = Gap(window.top, window.bottom, m.top, m.bottom);
    if (best == nullptr || dx * dx + dy * dy < nearest) {
      best = &monitor;
      nearest = dx * dx + dy * dy;
    }
  }
  return *best;
}

int Height(const Box& box) {
  return box.bottom - box.top;
}

}  // namespace

int ScreenRowLimit(const std::vector<Monitor>& monitors, const Box& window, int maximisedPrimary,
                   int rowHeight) {
  if (monitors.empty()) {
    return ScreenRowLimit(maximisedPrimary, window.top, rowHeight);
  }
  const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                    [](const Monitor& monitor) { return monitor.primary; });
  const int overhang =
      maximisedPrimary - Height((primary == monitors.end() ? monitors.front() : *primary).work);
  const Monitor& monitor = MonitorOf(monitors, window);
  return ScreenRowLimit(Height(monitor.work) + overhang, window.top - monitor.area.top, rowHeight);
}

}  // namespace tapecount
