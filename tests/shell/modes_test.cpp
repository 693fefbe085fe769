// The modes on the real window: screen-row checks on workers, the topmost band, alpha, fades.
#include <windows.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Modes : public ReleaseTest {
 protected:
  bool Topmost() const { return (GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  bool AutoExpanding() const { return Title().find(L"自動拡張") != std::wstring::npos; }
};
TAPECOUNT_BOTH_RELEASES(Modes);

// In auto mode the window grows with the tape while the screen has room below it, as checks
// of the real screen find it, and stops within a row of the screen's bottom.
TEST_P(Modes, AutoModeGrowsTheWindowUntilTheScreenEnds) {
  Open();
  PressInEntry(VK_F2);
  const int bottom = GetSystemMetrics(SM_CYMAXIMIZED);
  MoveTo(50, 40);
  WaitForScreenRowChecks();
  for (int i = 0; i < 100 && AutoExpanding(); ++i) {
    Type(L"1\n");
    WaitForScreenRowChecks();
  }
  EXPECT_FALSE(AutoExpanding()) << "still growing at a height of " << Height();
  EXPECT_GT(Height(), 297);
  EXPECT_EQ(Width(), 275);  // down, not across
  EXPECT_LT(std::abs(RectOf(main_).bottom - bottom), release().rowHeight)
      << RectOf(main_).bottom << " on a screen ending at " << bottom;
  Resize(275, 297);
  WaitForScreenRowChecks();
  EXPECT_TRUE(AutoExpanding());  // room again
  MoveTo(50, bottom + 40);       // below the screen: none at all
  WaitForScreenRowChecks();
  EXPECT_FALSE(AutoExpanding());
}

TEST_P(Modes, TopmostBandAndMenuMarksReachTheWindow) {
  Open();
  MoveTo(40, 60);
  PressInEntry(VK_F3);
  EXPECT_TRUE(Topmost());
  PressInEntry(VK_NEXT);  // resizes keep the band and the position
  EXPECT_TRUE(Topmost());
  EXPECT_EQ(RectOf(main_).top, 60);
  EXPECT_EQ(RectOf(main_).left, 40);
  EXPECT_EQ(Command(IDM_TOPMOST), 1);
  EXPECT_FALSE(Topmost());
  EXPECT_EQ(RectOf(main_).top, 60);
  // Each mode's command reaches the model, and its mark the menu item of its own.
  for (int id : {IDM_AUTO_EXPAND, IDM_AUTO_MODE, IDM_TOPMOST, IDM_TRANSPARENCY}) {
    EXPECT_EQ(Command(id), 1);
    EXPECT_TRUE(Checked(id)) << id;
  }
}

class Fades : public Modes {
 protected:
  // Runs the window thread a message at a time, the alpha after each fade step recorded, until
  // `last` holds after a message.
  template <typename Last>
  std::vector<int> Trace(Last last) {
    std::vector<int> alphas;
    MSG message{};
    for (const DWORD end = GetTickCount() + 10000; static_cast<int>(end - GetTickCount()) > 0;) {
      if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        continue;
      }
      DispatchMessageW(&message);
      if (message.message == kMsgFadeStep) {
        firstStep_ = alphas.empty() ? GetTickCount() : firstStep_;
        alphas.push_back(Alpha());
      }
      if (last(message)) {
        return alphas;
      }
    }
    ADD_FAILURE() << "the fade does not end";
    return alphas;
  }
  static bool Ended(const MSG& message) { return message.message == kMsgFadeEnded; }
  // Rising or falling step by step, to `to`.
  static void ExpectGradual(const std::vector<int>& alphas, int to, bool rising) {
    EXPECT_GT(alphas.size(), 2u);
    EXPECT_EQ(alphas.empty() ? -1 : alphas.back(), to);
    EXPECT_TRUE(rising ? std::is_sorted(alphas.begin(), alphas.end())
                       : std::is_sorted(alphas.rbegin(), alphas.rend()))
        << ::testing::PrintToString(alphas);
  }

  DWORD firstStep_ = 0;
};
INSTANTIATE_TEST_SUITE_P(Releases, Fades, ::testing::Values(&kRelease134),
                         [](const auto& info) { return ReleaseName(info.param); });

TEST_P(Fades, FadeInAndOutStepByStepUntilTransparencyGoes) {
  Open();
  PressInEntry(VK_F4);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));  // the pointer comes in
  EXPECT_EQ(GetCapture(), main_);
  ExpectGradual(Trace(Ended), 255, true);
  RECT client{};
  GetClientRect(main_, &client);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(client.right + 2, 20));  // the right frame
  EXPECT_EQ(GetCapture(), main_);
  const DWORD left = GetTickCount();
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, -5));  // the menu bar: reads 65531
  EXPECT_NE(GetCapture(), main_);
  ExpectGradual(Trace(Ended), release().transparentAlpha, false);
  EXPECT_GE(firstStep_ - left, 150u);  // it waits before it fades out

  // Turned off during a fade: opaque at once, and no later step of it applied.
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  Trace([&](const MSG&) { return Alpha() >= 120; });
  ASSERT_LT(Alpha(), 255);
  PressInEntry(VK_F4);
  EXPECT_EQ(Alpha(), 255);
  EXPECT_NE(GetCapture(), main_);
  EXPECT_THAT(Trace(Ended), ::testing::Each(255));
  EXPECT_EQ(Alpha(), 255);
}

}  // namespace
}  // namespace tapecount::testing
