// Release 1.27 on the real window: 18-pixel rows, mouse-button sizing, a fixed transparent
// level, no undo, the history joined by spaces on the clipboard.
#include <windows.h>

#include "modes.h"
#include "release_choice.h"
#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

static_assert(&kRelease == &kRelease127, "these tests are for release 1.27");

class Release127 : public MainWindowTest {
 protected:
  int Alpha() {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(main_, nullptr, &alpha, nullptr);
    return alpha;
  }
  LRESULT Click(UINT message) {
    return SendMessageW(main_, message, MK_LBUTTON, MAKELPARAM(150, 150));
  }
};

TEST_F(Release127, SevenRowsAtTheInitialHeightTheSeventhEntryScrolls) {
  Open();
  EXPECT_EQ(OuterHeight(main_), 297);
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [7] 行");
  Type(L"1\n2\n3\n4\n5\n6\n");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  Type(L"7\n");
  EXPECT_EQ(InputPane(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  EXPECT_EQ(TotalPane(), L"1\r\n3\r\n6\r\n10\r\n15\r\n21\r\n28\r\n");
}

TEST_F(Release127, CalculatesAsTheLaterRelease) {
  Open();
  Type(L"100\n25-*3\n-5\n/-4\n");
  EXPECT_EQ(TextOf(shell().total), L"-55");
  EXPECT_EQ(TextOf(shell().lastEntry), L"/-4");
  Type(L"100\n");
  SetWindowTextW(shell().entry, L"-100");  // pasted: out of range
  MessageBoxWatcher boxes;
  PressInEntry(VK_RETURN);
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].text, L"計算範囲を超えました");
  EXPECT_EQ(TextOf(shell().total), L"45");
}

TEST_F(Release127, BackspaceOnAnEmptyBoxChangesNothing) {
  Open();
  Type(L"5\n3\n");
  MessageBoxWatcher boxes;
  PressInEntry(VK_BACK);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n5\r\n3\r\n");
  EXPECT_EQ(TextOf(shell().total), L"8");
  EXPECT_EQ(TextOf(shell().lastEntry), L"3");
  EXPECT_TRUE(boxes.Seen().empty());
  Type(L"12");
  PressInEntry(VK_BACK);
  SendMessageW(shell().entry, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(EntryText(), L"1");  // it still edits the entry
}

TEST_F(Release127, LeftClickShrinksARowRightClickGrowsOne) {
  Open();
  EXPECT_EQ(Click(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(OuterHeight(main_), 279);
  EXPECT_EQ(Click(WM_RBUTTONDOWN), 1);
  EXPECT_EQ(OuterHeight(main_), 297);
  Resize(275, 226);
  Click(WM_LBUTTONDOWN);
  EXPECT_EQ(OuterHeight(main_), 208);
  Resize(275, 225);
  SetFocus(main_);
  EXPECT_EQ(Click(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(OuterHeight(main_), 225);
  EXPECT_EQ(GetFocus(), main_);  // the click itself does not move the focus
  // Clicks on the displays and panes pass through them to the main window.
  EXPECT_EQ(SendMessageW(shell().totalPane, WM_NCHITTEST, 0, MAKELPARAM(200, 200)), HTTRANSPARENT);
}

TEST_F(Release127, PageAndArrowKeysMoveByEighteen) {
  Open();
  PressInEntry(VK_NEXT);
  EXPECT_EQ(OuterHeight(main_), 315);
  PressInEntry(VK_UP);
  EXPECT_EQ(OuterHeight(main_), 297);
  Resize(275, 225);
  PressInEntry(VK_PRIOR);
  EXPECT_EQ(OuterHeight(main_), 225);
}

TEST_F(Release127, AutoExpandGrowsEighteenPixelsARow) {
  Open();
  PressInEntry(VK_F1);
  Type(L"1\n2\n3\n4\n5\n6\n7\n");
  EXPECT_EQ(OuterHeight(main_), 315);
  EXPECT_EQ(InputPane().substr(0, 6), L"入力履歴\r\n");
}

TEST_F(Release127, ScreenRowLimitCountsEighteenPixelRows) {
  Open();
  const int maximised = GetSystemMetrics(SM_CYMAXIMIZED);
  MoveTo(10, 40);
  WaitForScreenRowChecks();
  EXPECT_EQ(shell().modes.screenRowLimit, (maximised - 40 - 171) / 18);
}

TEST_F(Release127, TransparencyStaysAtItsLevelWhateverThePointerDoes) {
  Open();
  PressInEntry(VK_F4);
  EXPECT_EQ(Alpha(), 127);
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));
  PumpMessages(700);
  EXPECT_EQ(Alpha(), 127);
  EXPECT_NE(GetCapture(), main_);
  EXPECT_FALSE(shell().modes.pointerInside);
  EXPECT_EQ(shell().modes.fades, nullptr);
  PressInEntry(VK_F4);
  EXPECT_EQ(Alpha(), 255);
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(Release127, ClipboardColumnsAreJoinedBySpaces) {
  Open();
  Type(L"100\n25-");
  SendMessageW(main_, WM_COMMAND, IDM_TRANSFER, 0);
  EXPECT_EQ(ClipboardText(), L"入力履歴   合計履歴\r\n100   100\r\n-25   75\r\n");
  SendMessageW(shell().viewer, WM_COMMAND, IDOK, 0);
  PressInEntry(VK_DELETE);  // clear-all copies the same way, then starts afresh
  EXPECT_EQ(InputPane(), L"入力履歴\r\n");
  EXPECT_EQ(TextOf(shell().total), L"0");
  Type(L"4\n");
  EXPECT_EQ(TextOf(shell().total), L"4");
}

TEST_F(Release127, AboutBoxNamesItsVersion) {
  Open();
  DialogWatcher dialogs(IDOK);
  SendMessageW(main_, WM_COMMAND, IDM_ABOUT, 0);
  ASSERT_EQ(dialogs.Seen().size(), 1u);
  const SeenDialog& about = dialogs.Seen()[0];
  EXPECT_EQ(about.caption, L"テプカン");
  ASSERT_GE(about.texts.size(), 3u);
  EXPECT_EQ(about.texts[1], L"テプカン: ver 1.27");
  EXPECT_EQ(about.texts[2], L"履歴表示計算機 for windows");
  EXPECT_EQ(about.rect.bottom, 70);
}

}  // namespace
}  // namespace tapecount::testing
