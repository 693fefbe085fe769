// The window modes on the real window: toggles and switches, auto-expand and auto mode with
// the screen-row checks, always on top, transparency with its fades.
#include <windows.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "modes.h"
#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Modes : public MainWindowTest {
 protected:
  // The title, the flag and the menu check mark of auto-expand tell the same story.
  void ExpectAutoExpandAgrees() {
    const bool on = shell().modes.autoExpand;
    EXPECT_EQ(Title().find(L"自動拡張") != std::wstring::npos, on) << Title();
    EXPECT_EQ(Checked(IDM_AUTO_EXPAND), on);
  }
  // Moves the window so that the screen row limit becomes `limit`.
  void MoveForLimit(int limit) {
    const int top = GetSystemMetrics(SM_CYMAXIMIZED) - 171 - 19 * limit;
    MoveTo(100, top);
    WaitForScreenRowChecks();
    ASSERT_EQ(shell().modes.screenRowLimit, limit);
  }
  int Alpha() {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    GetLayeredWindowAttributes(main_, &key, &alpha, &flags);
    return alpha;
  }
};

TEST_F(Modes, FunctionKeysAndMenuCommandsToggleEachMode) {
  Open();
  PressInEntry(VK_F1);
  EXPECT_EQ(Title(), L"「 + 」: 自動拡張: : ");
  EXPECT_TRUE(Checked(IDM_AUTO_EXPAND));
  EXPECT_FALSE(Grayed(IDM_SAVE_SETTINGS));  // a toggle marks the settings unsaved
  EXPECT_TRUE(shell().modes.settingsDirty);
  Command(IDM_AUTO_EXPAND);
  EXPECT_EQ(Title(), L"「 + 」: : : ");
  EXPECT_FALSE(Checked(IDM_AUTO_EXPAND));

  KeyDown(main_, VK_F2);
  EXPECT_EQ(Title(), L"「 + 」: : ｵｰﾄ: ");
  EXPECT_TRUE(Checked(IDM_AUTO_MODE));
  EXPECT_FALSE(shell().modes.autoExpand);  // auto-expand follows at the next check
  Command(IDM_AUTO_MODE);
  EXPECT_FALSE(Checked(IDM_AUTO_MODE));

  PressInEntry(VK_F3);
  EXPECT_EQ(Title(), L"「 + 」: : : 前表示");
  EXPECT_TRUE(Checked(IDM_TOPMOST));
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  Command(IDM_TOPMOST);
  EXPECT_EQ(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(Title(), L"「 + 」: : : ");

  PressInEntry(VK_F4);
  EXPECT_TRUE(Checked(IDM_TRANSPARENCY));
  EXPECT_EQ(Alpha(), 50);
  EXPECT_EQ(Title(), L"「 + 」: : : ");  // transparency has no title field
  Command(IDM_TRANSPARENCY);
  EXPECT_FALSE(Checked(IDM_TRANSPARENCY));
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_LAYERED, 0);  // stays layered
  EXPECT_EQ(Alpha(), 255);
}

TEST_F(Modes, SwitchesNeverMarkTheSettings) {
  Open();
  AutoExpandOn();
  AutoModeOn();
  TopmostOn();
  TransparencyOn();
  TransparencyOff();
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_FALSE(shell().modes.settingsDirty);
}

TEST_F(Modes, AutoExpandGrowsOneRowPerLineKeepingTheHeaders) {
  Open();
  PressInEntry(VK_F1);
  Type(L"1\n2\n3\n4\n5\n");
  EXPECT_EQ(OuterHeight(main_), 297);
  Type(L"6\n");
  EXPECT_EQ(OuterHeight(main_), 316);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [7] 行");
  const RECT before = WindowRectOf(main_);
  Type(L"7\n");
  const RECT after = WindowRectOf(main_);
  EXPECT_EQ(after.top, before.top);  // grows in place
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.bottom - after.top, 335);
}

TEST_F(Modes, AutoModeStopsGrowingAtTheScreenRowLimitThenScrolls) {
  Open();
  PressInEntry(VK_F2);
  MoveForLimit(8);
  EXPECT_TRUE(shell().modes.autoExpand);  // the move found room below
  ExpectAutoExpandAgrees();
  Type(L"1\n2\n3\n4\n5\n6\n");
  WaitForScreenRowChecks();
  EXPECT_EQ(OuterHeight(main_), 316);
  EXPECT_TRUE(shell().modes.autoExpand);
  Type(L"7\n");  // the displayed rows reach the limit: the last growth
  WaitForScreenRowChecks();
  EXPECT_EQ(OuterHeight(main_), 335);
  EXPECT_FALSE(shell().modes.autoExpand);
  ExpectAutoExpandAgrees();
  Type(L"8\n");
  WaitForScreenRowChecks();
  EXPECT_EQ(OuterHeight(main_), 335);
  EXPECT_EQ(InputPane(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
}

TEST_F(Modes, AutoExpandHeldBackWithNoRoomLeftStillMarksTheSettings) {
  Open();
  PressInEntry(VK_F2);
  MoveForLimit(1);  // the displayed row count (1) is not below the limit
  EXPECT_FALSE(shell().modes.autoExpand);
  SaveSettings();
  ASSERT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  PressInEntry(VK_F1);
  EXPECT_FALSE(shell().modes.autoExpand);
  EXPECT_FALSE(Checked(IDM_AUTO_EXPAND));
  EXPECT_EQ(Title(), L"「 + 」: : ｵｰﾄ: ");
  EXPECT_FALSE(Grayed(IDM_SAVE_SETTINGS));
  AutoExpandOn();  // held back too
  EXPECT_FALSE(shell().modes.autoExpand);
}

TEST_F(Modes, ScreenRowLimitArithmetic) {
  EXPECT_EQ(ScreenRowLimit(1056, 100, 19), 41);
  EXPECT_EQ(ScreenRowLimit(1056, 900, 19), 0);  // -15 / 19 truncates toward zero
  EXPECT_EQ(ScreenRowLimit(1056, 950, 19), -3);
  EXPECT_EQ(ScreenRowLimit(1056, 866, 19), 1);
  Open();
  const int maximised = GetSystemMetrics(SM_CYMAXIMIZED);
  for (int top : {0, 37, 300, maximised - 160, maximised + 40}) {
    MoveTo(50, top);
    WaitForScreenRowChecks();
    EXPECT_EQ(shell().modes.screenRowLimit, (maximised - top - 171) / 19) << top;
  }
}

TEST_F(Modes, AStormOfMovesLeavesFlagsTitleAndMarksAgreeing) {
  Open();
  PressInEntry(VK_F2);
  const int maximised = GetSystemMetrics(SM_CYMAXIMIZED);
  int top = 0;
  for (int i = 0; i < 400; ++i) {
    top = (i * 37) % (maximised - 100);
    MoveTo(i % 200, top);
    if (i % 50 == 0) {
      PumpMessages();
    }
  }
  WaitForScreenRowChecks();
  EXPECT_EQ(shell().modes.screenRowLimit, (maximised - top - 171) / 19);
  EXPECT_EQ(shell().modes.autoExpand,
            shell().modes.screenRowLimit > shell().tape->DisplayedRowCount());
  ExpectAutoExpandAgrees();
}

TEST_F(Modes, ResizeKeepsPositionAndTopmostBand) {
  Open();
  MoveTo(40, 60);
  PressInEntry(VK_F3);
  PressInEntry(VK_NEXT);
  EXPECT_EQ(OuterHeight(main_), 316);
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(WindowRectOf(main_).left, 40);
  EXPECT_EQ(WindowRectOf(main_).top, 60);
  EXPECT_EQ(shell().tape->StoredHeight(), 316);
  TopmostOff();
  EXPECT_EQ(OuterHeight(main_), 316);  // the stored size is re-applied
  EXPECT_EQ(WindowRectOf(main_).top, 60);
}

// Records each alpha the window thread applies, with the time, until `done` or `ms` pass.
struct AlphaTrace {
  std::vector<int> alphas;
  std::vector<DWORD> times;
};

template <typename Done>
AlphaTrace TraceAlpha(HWND window, Done done, DWORD ms = 3000) {
  AlphaTrace trace;
  const DWORD giveUp = GetTickCount() + ms;
  while (!done() && static_cast<int>(giveUp - GetTickCount()) > 0) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(1);
      continue;
    }
    DispatchMessageW(&message);
    if (message.message == kMsgFadeStep) {
      BYTE alpha = 0;
      GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
      trace.alphas.push_back(alpha);
      trace.times.push_back(GetTickCount());
    }
  }
  return trace;
}

std::vector<int> Steps(int from, int to, int by) {
  std::vector<int> steps;
  for (int a = from; by > 0 ? a <= to : a >= to; a += by) {
    steps.push_back(a);
  }
  return steps;
}

void ReportIntervals(const char* what, const std::vector<DWORD>& times) {
  if (times.size() < 3) {
    return;
  }
  std::vector<double> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) {
    gaps.push_back(static_cast<double>(times[i] - times[i - 1]));
  }
  const double mean = std::accumulate(gaps.begin(), gaps.end(), 0.0) / gaps.size();
  double variance = 0;
  for (double g : gaps) {
    variance += (g - mean) * (g - mean);
  }
  std::printf("%s: %zu steps, interval mean %.2f ms, standard deviation %.2f ms\n", what,
              times.size(), mean, std::sqrt(variance / gaps.size()));
}

TEST_F(Modes, FadesStepTheAlphaFiveAtATimeBothWays) {
  Open();
  PressInEntry(VK_F4);
  ASSERT_EQ(Alpha(), 50);
  const FadeShared& fades = *shell().modes.fades;

  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));  // the pointer comes in
  EXPECT_TRUE(shell().modes.pointerInside);
  EXPECT_EQ(GetCapture(), main_);
  const HANDLE firstFadeIn = shell().modes.fadeInThread.Get();
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));  // no second fade-in
  EXPECT_EQ(shell().modes.fadeInThread.Get(), firstFadeIn);
  AlphaTrace in = TraceAlpha(main_, [&] { return !fades.fadeInRunning && Alpha() == 255; });
  EXPECT_EQ(in.alphas, Steps(50, 255, 5));
  ReportIntervals("fade-in", in.times);

  const DWORD left = GetTickCount();
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));  // far below: outside
  EXPECT_FALSE(shell().modes.pointerInside);
  EXPECT_NE(GetCapture(), main_);
  AlphaTrace out = TraceAlpha(main_, [&] { return !fades.fadeOutRunning && Alpha() == 50; });
  EXPECT_EQ(out.alphas, Steps(255, 50, -5));
  ASSERT_FALSE(out.times.empty());
  EXPECT_GE(out.times.front() - left, 140u);  // the 150 ms wait before fading out
  ReportIntervals("fade-out", out.times);
}

TEST_F(Modes, PointerOnTheRightFrameIsInsideOnTheTitleBarOutside) {
  Open();
  PressInEntry(VK_F4);
  RECT client{};
  GetClientRect(main_, &client);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(client.right + 2, 20));  // right frame
  EXPECT_TRUE(shell().modes.pointerInside);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, -5));  // the menu bar: reads 65531
  EXPECT_FALSE(shell().modes.pointerInside);
}

TEST_F(Modes, TransparencyOffDuringAFadeEndsOpaque) {
  Open();
  PressInEntry(VK_F4);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  int steps = 0;
  TraceAlpha(main_, [&] { return ++steps > 200 || Alpha() >= 120; });
  ASSERT_TRUE(shell().modes.fades->fadeInRunning);
  PressInEntry(VK_F4);  // off in the middle of the fade-in
  EXPECT_EQ(Alpha(), 255);
  EXPECT_NE(GetCapture(), main_);
  // Longer than the rest of the fade-in would have taken.
  const AlphaTrace after = TraceAlpha(
      main_, [] { return false; }, 800);
  EXPECT_TRUE(after.alphas.empty());
  EXPECT_EQ(Alpha(), 255);
}

TEST_F(Modes, DestroyingTheWindowDuringAFadeIsClean) {
  for (int round = 0; round < 5; ++round) {
    Open();
    PressInEntry(VK_F4);
    SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));  // a fade-out waits its turn
    PumpMessages(round * 20);
    PressInEntry(VK_CONTROL);  // quits while the fades run or wait
    EXPECT_FALSE(IsWindow(main_));
    main_ = nullptr;
    PumpMessages(50);
  }
  Sleep(1000);  // the orphaned fades finish with the lock they share
  PumpMessages();
}

}  // namespace
}  // namespace tapecount::testing
