// The real main window, created as the program creates it, typed into as the user would.
#include <windows.h>

#include <commctrl.h>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class MainWindow : public MainWindowTest {};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT ClientRectIn(HWND child, HWND parent) {
  RECT rect = WindowRectOf(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring FaceOf(HWND window) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return logFont.lfFaceName;
}

TEST_F(MainWindow, StartsWithEveryModeOffAtItsInitialSize) {
  Open();
  EXPECT_EQ(Title(), L"「 + 」: : : ");
  EXPECT_EQ(ClassOf(main_), L"TPCT");
  EXPECT_EQ(OuterWidth(main_), 275);
  EXPECT_EQ(OuterHeight(main_), 297);
  const LONG style = GetWindowLongW(main_, GWL_STYLE);
  const LONG expected =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  EXPECT_EQ(style & expected, expected);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [6] 行");
  EXPECT_EQ(GetDlgCtrlID(shell().status), IDC_STATUS_BAR);
  EXPECT_EQ(TextOf(shell().lastEntry), L"0");
  EXPECT_EQ(TextOf(shell().total), L"0");
  EXPECT_EQ(TextOf(shell().totalLabel), L"合計");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n");
  EXPECT_EQ(TotalPane(), L"合計履歴\r\n");
  EXPECT_EQ(EntryText(), L"");
  EXPECT_EQ(GetFocus(), shell().entry);
  for (int id :
       {IDM_AUTO_EXPAND, IDM_AUTO_MODE, IDM_TOPMOST, IDM_TRANSPARENCY, IDM_SINGLE_INSTANCE}) {
    EXPECT_FALSE(GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & MF_CHECKED) << id;
  }
  EXPECT_TRUE(GetMenuState(GetMenu(main_), IDM_SAVE_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindow, ChildControlsHaveTheirClassesStylesPlacesAndFonts) {
  Open();
  struct Expected {
    HWND window;
    const wchar_t* className;
    LONG style;
    LONG exStyle;
    RECT rect;
  };
  const Shell& s = shell();
  const Expected children[] = {
      {s.entry, L"Edit", ES_NUMBER, WS_EX_CLIENTEDGE, {10, 10, 135, 40}},
      {s.lastEntry, L"Static", 0, WS_EX_CLIENTEDGE, {135, 10, 260, 40}},
      {s.total, L"Static", 0, WS_EX_CLIENTEDGE, {60, 50, 260, 80}},
      // The window system drops WS_EX_WINDOWEDGE from a child without a thick frame.
      {s.totalLabel, L"Static", 0, 0, {10, 50, 60, 80}},
  };
  for (const Expected& child : children) {
    EXPECT_EQ(_wcsicmp(ClassOf(child.window).c_str(), child.className), 0);
    const LONG style = GetWindowLongW(child.window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | child.style), WS_CHILD | WS_VISIBLE | child.style);
    EXPECT_EQ(GetWindowLongW(child.window, GWL_EXSTYLE) & child.exStyle, child.exStyle);
    const RECT r = ClientRectIn(child.window, main_);
    EXPECT_EQ(r.left, child.rect.left);
    EXPECT_EQ(r.top, child.rect.top);
    EXPECT_EQ(r.right, child.rect.right);
    EXPECT_EQ(r.bottom, child.rect.bottom);
  }
  EXPECT_EQ(GetWindowLongW(s.entry, GWL_STYLE) & ES_AUTOHSCROLL, 0);

  // The panes fill the client area below the displays, above the status bar.
  RECT client{};
  GetClientRect(main_, &client);
  const RECT input = ClientRectIn(s.inputPane, main_);
  const RECT total = ClientRectIn(s.totalPane, main_);
  EXPECT_EQ(input.left, 10);
  EXPECT_EQ(input.top, 90);
  EXPECT_EQ(input.right, 110);
  EXPECT_EQ(input.bottom, client.bottom - 25);
  EXPECT_EQ(total.left, 110);
  EXPECT_EQ(total.right, client.right - 5);
  EXPECT_EQ(total.bottom, client.bottom - 25);

  EXPECT_EQ(FaceOf(s.entry), L"MS　ゴシック");
  EXPECT_EQ(FaceOf(s.inputPane), L"MS　ゴシック");
  HFONT large = reinterpret_cast<HFONT>(SendMessageW(s.total, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  GetObjectW(large, sizeof logFont, &logFont);
  EXPECT_EQ(logFont.lfHeight, 24);
  EXPECT_EQ(logFont.lfWidth, 10);
  EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
}

TEST_F(MainWindow, CalculatesWhatIsTyped) {
  Open();
  Type(L"100\n25-");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n100\r\n-25\r\n");
  EXPECT_EQ(TotalPane(), L"合計履歴\r\n100\r\n75\r\n");
  EXPECT_EQ(TextOf(shell().lastEntry), L"-25");
  EXPECT_EQ(TextOf(shell().total), L"75");
  EXPECT_EQ(EntryText(), L"");

  Type(L"*");
  EXPECT_EQ(Title(), L"「 * 」: : : ");
  Type(L"3\n");
  EXPECT_EQ(TextOf(shell().total), L"225");
  EXPECT_EQ(Title(), L"「 + 」: : : ");

  Type(L"-");
  EXPECT_EQ(EntryText(), L"-");
  EXPECT_EQ(Title(), L"「 - 」: : : ");
  Type(L"5\n");
  EXPECT_EQ(TextOf(shell().total), L"220");

  Type(L"/-4\n");
  EXPECT_EQ(TextOf(shell().total), L"-55");
  EXPECT_EQ(TextOf(shell().lastEntry), L"/-4");
  Type(L"1234.567\n");
  EXPECT_EQ(TextOf(shell().lastEntry), L"1,234.57");
}

TEST_F(MainWindow, DecimalPointIsInsertedOnceWithTheCaretAtTheEnd) {
  Open();
  Type(L"12..");
  EXPECT_EQ(EntryText(), L"12.");
  DWORD start = 0, end = 0;
  SendMessageW(shell().entry, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
  Type(L"5");
  EXPECT_EQ(EntryText(), L"12.5");
}

TEST_F(MainWindow, EntryBoxTakesDigitsOnly) {
  Open();
  Type(L"7");
  SendMessageW(shell().entry, WM_CHAR, L'a', 1);
  SendMessageW(shell().entry, WM_CHAR, L'+', 1);
  EXPECT_EQ(EntryText(), L"7");
}

TEST_F(MainWindow, RangeErrorWarnsAndKeepsEverything) {
  Open();
  Type(L"5\n");
  SetWindowTextW(shell().entry, L"-8");  // pasted, without the '-' key
  MessageBoxWatcher boxes;
  PressInEntry(VK_RETURN);
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].text, L"計算範囲を超えました");
  EXPECT_EQ(boxes.Seen()[0].caption, L"テープカン Error");
  EXPECT_EQ(boxes.Seen()[0].owner, main_);  // the entry box's top-level window
  EXPECT_EQ(TextOf(shell().total), L"5");
  EXPECT_EQ(TextOf(shell().lastEntry), L"");
  EXPECT_EQ(EntryText(), L"-8");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n5\r\n");
}

TEST_F(MainWindow, SixthEntryScrollsTheHeadersOut) {
  Open();
  Type(L"1\n2\n3\n4\n5\n");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
  Type(L"6\n");
  EXPECT_EQ(InputPane(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(TotalPane(), L"1\r\n3\r\n6\r\n10\r\n15\r\n21\r\n");
  EXPECT_EQ(OuterHeight(main_), 297);
}

TEST_F(MainWindow, ResizingRefitsThePanes) {
  Open();
  Type(L"1\n2\n3\n4\n5\n6\n");
  Resize(275, 316);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [7] 行");
  Resize(275, 278);
  EXPECT_EQ(InputPane(), L"2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(TotalPane(), L"3\r\n6\r\n10\r\n15\r\n21\r\n");
  Resize(275, 150);
  EXPECT_EQ(InputPane(), L"");
  Type(L"7\n");
  EXPECT_EQ(InputPane(), L"7\r\n");
  Resize(275, 400);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  EXPECT_EQ(TotalPane(), L"合計履歴\r\n1\r\n3\r\n6\r\n10\r\n15\r\n21\r\n28\r\n");
}

TEST_F(MainWindow, MinimisingKeepsThePanesRestoringRefitsThem) {
  Open();
  Type(L"1\n2\n3\n4\n5\n6\n");
  ShowWindow(main_, SW_MINIMIZE);
  PumpMessages();
  EXPECT_EQ(InputPane(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(shell().tape->StoredHeight(), 297);
  ShowWindow(main_, SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(OuterHeight(main_), 297);
  EXPECT_EQ(InputPane(), L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [6] 行");
}

TEST_F(MainWindow, ControlKeyQuits) {
  Open();
  PressInEntry(VK_CONTROL);
  EXPECT_FALSE(IsWindow(main_));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindow, MenuHasEveryItem) {
  Open();
  HMENU menu = GetMenu(main_);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  const int items[] = {IDM_TRANSFER,
                       IDM_PAGE_SETUP,
                       IDM_PRINT,
                       IDM_EXIT,
                       IDM_AUTO_EXPAND,
                       IDM_AUTO_MODE,
                       IDM_TOPMOST,
                       IDM_TRANSPARENCY,
                       IDM_SAVE_SETTINGS,
                       IDM_SINGLE_INSTANCE,
                       IDM_BACKGROUND_COLOUR,
                       IDM_ENTRY_FONT,
                       IDM_ABOUT};
  for (int id : items) {
    EXPECT_NE(GetMenuState(menu, id, MF_BYCOMMAND), static_cast<UINT>(-1)) << id;
  }
  wchar_t text[64] = {};
  GetMenuStringW(menu, IDM_ENTRY_FONT, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"前景色・フォント設定(&F)");
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"ﾌｧｲﾙ(&F)");
}

}  // namespace
}  // namespace tapecount::testing
