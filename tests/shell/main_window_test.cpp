// The real main window: what it is made of, and its messages reaching the model.
#include <windows.h>

#include <array>
#include <utility>
#include <vector>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class MainWindow : public ReleaseTest {
 protected:
  // A child's edges in the client area: left, top, right, bottom.
  std::array<LONG, 4> EdgesIn(HWND child) const {
    RECT r = RectOf(child);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
  }
};
TAPECOUNT_BOTH_RELEASES(MainWindow);

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// The colour at `at` of what `draw` paints on a magenta square of `size`.
template <typename Draw>
COLORREF Painted(int size, POINT at, Draw draw) {
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  const GdiObject<HBITMAP> bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const GdiObject<HBRUSH> magenta(CreateSolidBrush(RGB(255, 0, 255)));
  const DeviceContext dc(CreateCompatibleDC(nullptr));  // goes first, the bitmap unselected
  SelectObject(dc.Get(), bitmap.Get());
  const RECT all{0, 0, size, size};
  FillRect(dc.Get(), &all, magenta.Get());
  draw(dc.Get());
  return GetPixel(dc.Get(), at.x, at.y);
}
COLORREF DrawnIcon(HICON icon, int size, POINT at) {
  return Painted(size, at,
                 [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL); });
}

TEST_P(MainWindow, IsBuiltAsTheProgramBuildsIt) {
  Open();
  EXPECT_EQ(Width(), 275);
  EXPECT_EQ(Height(), 297);
  const LONG style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  EXPECT_EQ(GetWindowLongW(main_, GWL_STYLE) & (style | WS_MAXIMIZEBOX), style);
  EXPECT_EQ(StatusText(),
            Is134() ? L"テプカン: 現在の表示行数 = [6] 行" : L"テプカン: 現在の表示行数 = [7] 行");
  EXPECT_EQ(GetFocus(), windows().entry);
  // Where no control covers it, the window shows the dialogs' face colour.
  const auto erase = [&](HDC dc) {
    SendMessageW(main_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  };
  EXPECT_EQ(Painted(8, {4, 4}, erase), GetSysColor(COLOR_BTNFACE));

  // The panes where the first size put them, above the status bar.
  const ShellWindows& w = windows();
  RECT client{};
  GetClientRect(main_, &client);
  const LONG right = client.right - 5, bottom = client.bottom - 25;
  EXPECT_EQ(EdgesIn(w.inputPane), (std::array<LONG, 4>{10, 90, 110, bottom}));
  EXPECT_EQ(EdgesIn(w.totalPane), (std::array<LONG, 4>{110, 90, right, bottom}));
  // The large font on the entry box and the total, the small one on the panes.
  EXPECT_EQ(FontOf(w.entry).lfHeight, 24);
  EXPECT_EQ(FontOf(w.total).lfHeight, 24);
  EXPECT_EQ(FontOf(w.inputPane).lfHeight, 18);

  // Both icons as Windows reads them (PNG: a clear corner, the colours), at the sizes shown.
  for (const auto& [icon, metric] :
       {std::pair{GCLP_HICON, SM_CXICON}, {GCLP_HICONSM, SM_CXSMICON}}) {
    const auto loaded = reinterpret_cast<HICON>(GetClassLongPtrW(main_, icon));
    const int size = GetSystemMetrics(metric);
    EXPECT_EQ(DrawnIcon(loaded, size, {0, 0}), RGB(255, 0, 255)) << size;  // the clear corner
    EXPECT_EQ(DrawnIcon(loaded, size, {size / 8, size * 11 / 16}), RGB(0x5A, 0x6E, 0x82)) << size;
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
  Type(L"12a");  // the number style refuses the letter
  SetFocus(main_);
  EXPECT_EQ(PressInEntry(VK_DECIMAL), 1);
  EXPECT_EQ(GetFocus(), windows().entry);
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
  // The entry box's procedure on a window without its record passes every message on.
  EXPECT_EQ(EntryBoxProc(windows().totalLabel, WM_GETTEXTLENGTH, 0, 0), 2);  // "合計"
  const std::array<LONG, 4> pane = EdgesIn(windows().inputPane);
  SendMessageW(main_, WM_SIZE, SIZE_MINIMIZED, 0);  // no room at all, yet the panes stay
  EXPECT_EQ(EdgesIn(windows().inputPane), pane);

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
  if (Is134()) {  // the key or the menu's Exit: quits
    PressInEntry(VK_CONTROL);
  } else {
    Command(IDM_EXIT);
  }
  EXPECT_FALSE(IsWindow(main_));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

#ifdef __GLIBCXX__
// The runtime's own errors, as replaced: each throws std::bad_alloc, none returns; and the
// containers reach them.
TEST(Runtime, ItsErrorsAreThrownAsOutOfMemory) {
  const std::pair<const char*, void (*)()> errors[] = {
      {"bad_alloc", [] { std::__throw_bad_alloc(); }},
      {"bad_array_new_length", [] { std::__throw_bad_array_new_length(); }},
      {"length_error", [] { std::__throw_length_error(""); }},
      {"logic_error", [] { std::__throw_logic_error(""); }},
      {"out_of_range", [] { std::__throw_out_of_range(""); }},
      {"out_of_range_fmt", [] { std::__throw_out_of_range_fmt("%zu", std::size_t{1}); }},
      {"invalid_argument", [] { std::__throw_invalid_argument(""); }},
      {"domain_error", [] { std::__throw_domain_error(""); }},
      {"range_error", [] { std::__throw_range_error(""); }},
      {"overflow_error", [] { std::__throw_overflow_error(""); }},
      {"underflow_error", [] { std::__throw_underflow_error(""); }},
      {"runtime_error", [] { std::__throw_runtime_error(""); }},
      {"bad_cast", [] { std::__throw_bad_cast(); }},
      {"bad_typeid", [] { std::__throw_bad_typeid(); }},
      {"bad_exception", [] { std::__throw_bad_exception(); }},
      {"a string too long", [] { std::wstring().reserve(std::wstring().max_size() + 1); }},
      {"a vector too long", [] { std::vector<int>(std::vector<int>().max_size() + 1); }},
      {"past a string's end", [] { static_cast<void>(std::wstring().at(1)); }},
  };
  for (const auto& [name, error] : errors) {
    EXPECT_THROW(error(), std::bad_alloc) << name;
  }
}
#endif

}  // namespace
}  // namespace tapecount::testing
