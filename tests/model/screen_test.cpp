// The screen-row limit on the monitor the window is on: which monitor, and its own room.
#include "shell/model/screen.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tapecount {
namespace {

// 1920 x 1080 with a 40-pixel taskbar at the bottom; a maximised window there is 1056 high.
constexpr int kMaximised = 1056;
const Monitor kPrimary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true};
// 1280 x 1024 below it, no taskbar: maximised 1024 + 16.
const Monitor kBelow{{0, 1080, 1280, 2104}, {0, 1080, 1280, 2104}, false};
// 1600 x 900 above it: maximised 916.
const Monitor kAbove{{0, -900, 1600, 0}, {0, -900, 1600, 0}, false};
// 1440 x 2560 to its right, 200 higher, with a taskbar: maximised 2520 + 16.
const Monitor kRight{{1920, -200, 3360, 2360}, {1920, -200, 3360, 2320}, false};
// The same, 500 lower: the strip right of the primary's top is on neither.
const Monitor kRightLower{{1920, 500, 3360, 3060}, {1920, 500, 3360, 3020}, false};

TEST(Screen, EachMonitorGivesItsOwnRoomBelowTheWindow) {
  const Monitor unmarked = {kPrimary.area, kPrimary.work, false};
  // The layout, the monitors, the window, the rows of 19 and of 18 pixels below it.
  const std::tuple<const char*, std::vector<Monitor>, Box, int, int> cases[] = {
      {"none known: the maximised primary", {}, {100, 100, 375, 397}, 41, 43},
      {"none known, past its bottom", {}, {100, 950, 375, 1247}, -3, -3},
      {"the primary alone: -15 / 19 truncates toward 0", {kPrimary}, {0, 900, 275, 1197}, 0, 0},
      {"below: 100 below its top", {kPrimary, kBelow}, {100, 1180, 375, 1477}, 40, 42},
      {"below, listed first", {kBelow, kPrimary}, {100, 1180, 375, 1477}, 40, 42},
      {"none marked: the first counts", {unmarked, kBelow}, {100, 1180, 375, 1477}, 40, 42},
      {"above", {kPrimary, kAbove}, {100, -800, 375, -503}, 33, 35},
      {"right, taller", {kPrimary, kRight}, {2000, 0, 2275, 297}, 113, 120},
      {"straddling, more on the right", {kPrimary, kRight}, {1800, 0, 2075, 297}, 113, 120},
      {"straddling, more on the primary", {kPrimary, kRight}, {1700, 0, 1975, 297}, 46, 49},
      {"straddling evenly: the first", {kPrimary, kRight}, {1782, 0, 2058, 297}, 46, 49},
      {"straddling evenly: the first", {kRight, kPrimary}, {1782, 0, 2058, 297}, 113, 120},
      {"straddling, more below", {kPrimary, kBelow}, {100, 1000, 375, 1297}, 49, 52},
      {"straddling, more above", {kPrimary, kBelow}, {100, 900, 375, 1197}, 0, 0},
      {"on none, the primary closest", {kPrimary, kRightLower}, {2000, 0, 2275, 297}, 46, 49},
      {"on none, the other closest", {kPrimary, kRightLower}, {2300, 200, 2575, 497}, 140, 148},
      {"on none, touching the other", {kPrimary, kRightLower}, {2300, 203, 2575, 500}, 140, 147},
      {"past the bottom of all", {kPrimary, kBelow}, {100, 2200, 375, 2497}, -13, -13},
      {"on none, equally close: the first", {kPrimary, kBelow}, {-400, 930, -125, 1230}, -2, -2},
      {"on none, equally close: the first", {kBelow, kPrimary}, {-400, 930, -125, 1230}, 53, 56},
      {"on none, far from both corners", {kPrimary, kRightLower}, {-400, -400, -125, -103}, 67, 71},
      {"one column on it", {kRightLower, kPrimary}, {1919, 203, 2194, 500}, 35, 37},
      {"one row on it", {kBelow, kPrimary}, {1280, 1079, 1555, 1376}, -10, -10},
  };
  for (const auto& [layout, monitors, window, rows19, rows18] : cases) {
    EXPECT_EQ(ScreenRowLimit(monitors, window, kMaximised, 19), rows19) << layout;
    EXPECT_EQ(ScreenRowLimit(monitors, window, kMaximised, 18), rows18) << layout;
  }
}

}  // namespace
}  // namespace tapecount
