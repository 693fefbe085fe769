// The modes on the real window: band, alpha, screen-row checks on workers, fades.
#include <windows.h>

#include <gmock/gmock.h>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Modes : public ShellTest {
 protected:
  bool Topmost() const { return (GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  // Runs the window thread, recording each alpha applied, until `done` or `ms` pass.
  template <typename Done>
  std::vector<int> TraceAlpha(Done done, DWORD ms = 3000) {
    std::vector<int> alphas;
    MSG message;
    for (const DWORD giveUp = GetTickCount() + ms;
         !done() && static_cast<int>(giveUp - GetTickCount()) > 0;) {
      if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
        message.message == kMsgFadeStep ? alphas.push_back(Alpha()) : void();
      } else {
        Sleep(1);
      }
    }
    return alphas;
  }
};
TAPECOUNT_BOTH_RELEASES(Modes);

TEST_P(Modes, ScreenRowChecksTopmostBandAndAlphaReachTheWindow) {
  Open();
  const int maximised = GetSystemMetrics(SM_CYMAXIMIZED);  // the room below, after each move
  for (int top : {0, 300, maximised - 171 - release().rowHeight, maximised + 40}) {
    MoveTo(50, top);
    WaitForScreenRowChecks();
    EXPECT_EQ(model().ScreenRowLimit(), ScreenRowLimit(maximised, top, release().rowHeight)) << top;
  }

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

  Command(IDM_TRANSPARENCY);
  EXPECT_EQ(Alpha(), release().transparentAlpha);
  PressInEntry(VK_F4);
  EXPECT_EQ(Alpha(), 255);
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_LAYERED, 0);  // stays layered
  // Each mode's command reaches the model, and its mark the menu item of its own.
  for (int id : {IDM_AUTO_EXPAND, IDM_AUTO_MODE, IDM_TOPMOST, IDM_TRANSPARENCY}) {
    EXPECT_EQ(Command(id), 1);
    EXPECT_TRUE(Checked(id)) << id;
  }
}

class Fades : public Modes {};
INSTANTIATE_TEST_SUITE_P(Releases, Fades, ::testing::Values(&kRelease134),
                         [](const auto&) { return std::string("134"); });

TEST_P(Fades, StepTheAlphaFiveAtATimeBothWaysUntilTransparencyGoes) {
  std::vector<int> in(42), out(42);  // 42 steps of 5 between the transparent level and 255
  for (int i = 0; i < 42; ++i) {
    in[i] = 50 + 5 * i;
    out[i] = 255 - 5 * i;
  }
  Open();
  PressInEntry(VK_F4);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));  // the pointer comes in
  EXPECT_EQ(GetCapture(), main_);
  EXPECT_EQ(TraceAlpha([&] { return !model().FadeRunning(Fade::In); }), in);
  RECT client{};
  GetClientRect(main_, &client);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(client.right + 2, 20));  // the right frame
  EXPECT_EQ(GetCapture(), main_);
  const DWORD left = GetTickCount();
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, -5));  // the menu bar: reads 65531
  EXPECT_NE(GetCapture(), main_);
  EXPECT_EQ(TraceAlpha([&] { return !model().FadeRunning(Fade::Out); }), out);
  EXPECT_GE(GetTickCount() - left, 500u);  // it waits 150 ms, then 42 steps 10 ms apart

  // Turned off during a fade: opaque at once, and no later step of it applied.
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  TraceAlpha([&] { return Alpha() >= 120; });
  ASSERT_TRUE(model().FadeRunning(Fade::In));
  PressInEntry(VK_F4);
  EXPECT_EQ(Alpha(), 255);
  EXPECT_NE(GetCapture(), main_);
  // Steps already on their way may still arrive (longer than the fade's rest): none applies.
  EXPECT_THAT(TraceAlpha([] { return false; }, 800), ::testing::Each(255));
  EXPECT_EQ(Alpha(), 255);
}

}  // namespace
}  // namespace tapecount::testing
