// The real main window: what it is made of, and its messages reaching the model.
#include <windows.h>

#include <vector>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class MainWindow : public ReleaseTest {
 protected:
  RECT RectIn(HWND child) const {
    RECT rect = RectOf(child);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
};
TAPECOUNT_BOTH_RELEASES(MainWindow);

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return CharUpperW(name);
}

// The colour at `at` of an icon drawn at `size` on magenta.
COLORREF DrawnIcon(HICON icon, int size, POINT at) {
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const GdiObject<HBRUSH> magenta(CreateSolidBrush(RGB(255, 0, 255)));
  const DeviceContext dc(CreateCompatibleDC(nullptr));  // goes first, the bitmap unselected
  SelectObject(dc.Get(), bitmap.Get());
  const RECT all{0, 0, size, size};
  FillRect(dc.Get(), &all, magenta.Get());
  DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  return GetPixel(dc.Get(), at.x, at.y);
}

// The sizes of an icon's images as its group lists them (GRPICONDIR: three words, then 14
// bytes an image, its width first, 0 for 256).
std::vector<int> IconSizes(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  const auto* group = static_cast<const BYTE*>(LockResource(
      LoadResource(module, FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON))));
  std::vector<int> sizes;
  for (int image = 0; group != nullptr && image < group[4]; ++image) {
    sizes.push_back(group[6 + 14 * image] == 0 ? 256 : group[6 + 14 * image]);
  }
  return sizes;
}

TEST_P(MainWindow, IsBuiltAsTheProgramBuildsIt) {
  Open();
  EXPECT_EQ(ClassOf(main_), L"TPCT");
  EXPECT_EQ(GetClassLongPtrW(main_, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
  EXPECT_EQ(shell_->windowName, L"tapecount");
  EXPECT_EQ(Width(), 275);
  EXPECT_EQ(Height(), 297);
  const LONG style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & (style | WS_MAXIMIZEBOX), style);
  EXPECT_EQ(StatusText(),
            Is134() ? L"テプカン: 現在の表示行数 = [6] 行" : L"テプカン: 現在の表示行数 = [7] 行");
  EXPECT_EQ(GetDlgCtrlID(windows().status), IDC_STATUS_BAR);
  EXPECT_EQ(GetFocus(), windows().entry);
  wchar_t item[64] = {};
  GetMenuStringW(GetMenu(main_), IDM_ENTRY_FONT, item, 64, MF_BYCOMMAND);
  EXPECT_STREQ(item, L"前景色・フォント設定(&F)");

  // Made as the program's table says; the panes where the first size put them.
  const ShellWindows& w = windows();
  for (const ChildControl& child : kChildControls) {
    HWND control = w.*child.handle;
    SCOPED_TRACE(::testing::Message() << "the control at " << child.x << "," << child.y);
    EXPECT_EQ(ClassOf(control), child.className);
    const LONG want = WS_CHILD | WS_VISIBLE | child.style;
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (want | ES_AUTOHSCROLL), want);
    // Windows keeps a client edge; a window edge only on a window with a frame.
    EXPECT_EQ(GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE,
              static_cast<LONG>(child.extendedStyle & WS_EX_CLIENTEDGE));
  }
  RECT client{};
  GetClientRect(main_, &client);
  const LONG right = client.right - 5, bottom = client.bottom - 25;  // above the status bar
  const struct {
    HWND pane;
    RECT rect;
    const wchar_t* text;
  } panes[] = {{w.inputPane, {10, 90, 110, bottom}, L"入力履歴\r\n"},
               {w.totalPane, {110, 90, right, bottom}, L"合計履歴\r\n"}};
  for (const auto& pane : panes) {
    const RECT r = RectIn(pane.pane);
    EXPECT_TRUE(EqualRect(&r, &pane.rect)) << r.left << " " << r.top << " " << r.bottom;
    EXPECT_EQ(ReadWindowText(pane.pane), pane.text);
  }
  const LOGFONTW large = FontOf(w.total);
  EXPECT_EQ(std::wstring(large.lfFaceName), L"MS　ゴシック");
  EXPECT_EQ(large.lfWidth, 10);
  EXPECT_EQ(large.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(FontOf(w.entry).lfHeight, 24);
  EXPECT_EQ(FontOf(w.inputPane).lfHeight, 18);

  // Every image of both icons read (PNG: clear corner, colours); the caption's, the small one.
  ICONINFO small{};
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICONSM)), &small));
  const GdiObject<HBITMAP> colour(small.hbmColor), mask(small.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour.Get(), sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
  for (int icon : {IDI_TAPECOUNT, IDI_TAPECOUNT_SMALL}) {
    const std::vector<int> sizes = IconSizes(icon);  // which ones, the package's test checks
    EXPECT_FALSE(sizes.empty()) << icon;
    for (int size : sizes) {
      SCOPED_TRACE(::testing::Message() << icon << " at " << size);
      const auto loaded = static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0));
      ASSERT_NE(loaded, nullptr);
      EXPECT_EQ(DrawnIcon(loaded, size, {0, 0}), RGB(255, 0, 255));  // the clear corner
      EXPECT_EQ(DrawnIcon(loaded, size, {size / 8, size * 11 / 16}), RGB(0x5A, 0x6E, 0x82));
      DestroyIcon(loaded);
    }
  }
  for (int button : {IDOK, IDCANCEL}) {  // the About box ends with OK or Escape
    DialogWatcher dialogs(button);
    EXPECT_EQ(Command(IDM_ABOUT), 1);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(dialogs.Seen()[0].caption, L"テプカン");
    EXPECT_FALSE(dialogs.Seen()[0].stuck) << button;
    EXPECT_EQ(GetFocus(), windows().entry);
  }
}

WNDPROC g_editProcedure = nullptr;
std::vector<WPARAM> g_keysReachingTheEdit;

LRESULT CALLBACK RecordingEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    g_keysReachingTheEdit.push_back(wParam);
  }
  return CallWindowProcW(g_editProcedure, window, message, wParam, lParam);
}

TEST_P(MainWindow, EntryBoxKeysReachTheModelWithTheirResults) {
  Open();
  g_editProcedure = shell_->entryBoxDefault;
  shell_->entryBoxDefault = RecordingEdit;  // stands between the subclass and the edit control
  g_keysReachingTheEdit.clear();
  Type(L"25");
  EXPECT_EQ(PressInEntry(VK_MULTIPLY), 1);
  Type(L"12a");  // the number style refuses the letter
  SetFocus(main_);
  EXPECT_EQ(PressInEntry(VK_DECIMAL), 1);
  EXPECT_EQ(GetFocus(), windows().entry);
  EXPECT_EQ(PressInEntry(VK_OEM_PERIOD), 0);  // refused
  Type(L"5");
  EXPECT_EQ(EntryText(), L"12.5");  // typed at the caret, after the point
  for (int vk : {VK_F1, VK_F2, VK_F3, VK_F4, VK_NEXT, VK_DELETE, int{'A'}}) {
    PressInEntry(vk);
  }
  // The function keys and the keys nobody takes go on to the edit control.
  EXPECT_EQ(g_keysReachingTheEdit, (std::vector<WPARAM>{VK_F1, VK_F2, VK_F3, VK_F4, 'A'}));
  EXPECT_EQ(EntryText(), L"");  // Delete cleared everything
  shell_->entryBoxDefault = g_editProcedure;
}

TEST_P(MainWindow, MainWindowMessagesAndTheirResults) {
  Open();
  SetFocus(main_);
  EXPECT_EQ(KeyDown(main_, VK_RETURN), 1);
  EXPECT_EQ(GetFocus(), windows().entry);
  SetFocus(main_);
  EXPECT_EQ(SendMessageW(main_, WM_MOUSEACTIVATE, 0, 0), 1);
  EXPECT_EQ(GetFocus(), windows().entry);
  EXPECT_EQ(KeyDown(main_, VK_RIGHT), 1);
  EXPECT_EQ(Width(), 285);
  // A move with no pointer tracking (1.27) is the window system's; the entry box's procedure
  // on a window without its record passes every message on.
  EXPECT_EQ(SendMessageW(main_, WM_MOUSEMOVE, 0, 0), Is134() ? 1 : 0);
  EXPECT_EQ(EntryBoxProc(windows().totalLabel, WM_GETTEXTLENGTH, 0, 0), 2);  // "合計"
  for (UINT message : {WM_LBUTTONUP, WM_RBUTTONUP, WM_PAINT, WM_MOVE}) {
    EXPECT_EQ(SendMessageW(main_, message, 0, 0), 1) << message;
  }
  EXPECT_EQ(SendMessageW(main_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(269, 238)), 1);
  EXPECT_EQ(SendMessageW(main_, WM_SIZE, SIZE_MINIMIZED, 0), 0);
  EXPECT_EQ(Command(9999), 0);  // not ours: DefWindowProc

  // A click focuses the entry box (1.34) or shrinks or grows a row (1.27), through the panes.
  SetFocus(main_);
  EXPECT_EQ(SendMessageW(main_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 150)), Is134() ? 1 : 0);
  EXPECT_EQ(GetFocus(), windows().entry);  // by the click, or by the size handling
  EXPECT_EQ(Height(), Is134() ? 297 : 279);
  EXPECT_EQ(SendMessageW(main_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(150, 150)), 1);
  EXPECT_EQ(Height(), 297);
  EXPECT_EQ(SendMessageW(windows().totalPane, WM_NCHITTEST, 0, 0), HTTRANSPARENT);

  // The stack's underflow is the one box of no window's (release 1.34; 1.27 shows none).
  Resize(275, 171 + release().rowHeight);
  Type(L"1\n");
  DialogWatcher boxes;
  PressInEntry(VK_BACK);  // only one line in view
  ASSERT_EQ(boxes.Seen().size(), Is134() ? 1u : 0u);
  if (Is134()) {
    EXPECT_EQ(boxes.Seen()[0].text, L"stack underflow!\n");
    EXPECT_EQ(boxes.Seen()[0].owner, nullptr);
  }
  Is134() ? PressInEntry(VK_CONTROL) : Command(IDM_EXIT);  // the key or the menu's Exit: quits
  EXPECT_FALSE(IsWindow(main_));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

#ifdef __GLIBCXX__
// The runtime's own errors reach the program's handlers as running out of memory.
TEST(Runtime, ItsErrorsAreThrownAsOutOfMemory) {
  void (*const errors[])() = {
      [] { std::__throw_bad_alloc(); },          [] { std::__throw_bad_array_new_length(); },
      [] { std::__throw_length_error(""); },     [] { std::__throw_logic_error(""); },
      [] { std::__throw_out_of_range(""); },     [] { std::__throw_out_of_range_fmt("%s", ""); },
      [] { std::__throw_invalid_argument(""); }, [] { std::__throw_domain_error(""); },
      [] { std::__throw_range_error(""); },      [] { std::__throw_overflow_error(""); },
      [] { std::__throw_underflow_error(""); },  [] { std::__throw_runtime_error(""); },
      [] { std::__throw_bad_cast(); },           [] { std::__throw_bad_typeid(); },
      [] { std::__throw_bad_exception(); }};
  for (const auto error : errors) {
    EXPECT_THROW(error(), std::bad_alloc);
  }
  EXPECT_THROW(std::wstring().reserve(std::wstring().max_size() + 1), std::bad_alloc);
}
#endif

}  // namespace
}  // namespace tapecount::testing
