// The floor for start-up: the program's window built plainly, with nothing of the program's
// own beyond what the window needs: the same class with its icons and menu, the six
// controls made from the program's table with their fonts, the status bar, the subclassed
// entry box, the settings file read once, the title set and the accelerators loaded, then the
// message loop. Like the program, it measures the room below the window on a worker thread
// when first sized.
#include <windows.h>

#include <commctrl.h>

#include "child_controls.h"
#include "resource.h"

namespace {

WNDPROC g_edit = nullptr;

// The program's screen-row check: the room below the window, posted back to it.
DWORD WINAPI ScreenRowCheck(void* parameter) {
  HWND window = static_cast<HWND>(parameter);
  RECT rect{};
  GetWindowRect(window, &rect);
  const int rows = (GetSystemMetrics(SM_CYMAXIMIZED) - rect.top - 171) / 19;
  PostMessageW(window, WM_APP + 1, static_cast<WPARAM>(rows), 1);
  return 0;
}

LRESULT CALLBACK EntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_edit, window, message, wParam, lParam);
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const auto instance = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance;
    tapecount::ShellWindows w;
    HFONT large = tapecount::CreateControlFont(tapecount::ControlFont::Large);
    HFONT small = tapecount::CreateControlFont(tapecount::ControlFont::Small);
    for (const tapecount::ChildControl& child : tapecount::kChildControls) {
      HWND control = CreateWindowExW(child.extendedStyle, child.className, child.text,
                                     WS_CHILD | WS_VISIBLE | child.style, child.x, child.y,
                                     child.width, child.height, window, nullptr, instance, nullptr);
      w.*child.handle = control;
      if (child.font != tapecount::ControlFont::System) {
        HFONT font = child.font == tapecount::ControlFont::Large ? large : small;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      }
    }
    // The panes where the program's first size puts them, with their headers.
    MoveWindow(w.inputPane, 10, 90, 100, 123, FALSE);
    SetWindowTextW(w.inputPane, L"入力履歴\r\n");
    MoveWindow(w.totalPane, 110, 90, 144, 123, FALSE);
    SetWindowTextW(w.totalPane, L"合計履歴\r\n");
    g_edit = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(w.entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryProc)));
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    CreateWindowExW(0, STATUSCLASSNAMEW, L"テプカン: 履歴表示計算機 for windows",
                    WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance, nullptr);
    SetFocus(w.entry);
    return 0;
  }
  static bool checked = false;
  if (message == WM_SIZE && !checked) {
    checked = true;
    HANDLE thread = CreateThread(nullptr, 0, ScreenRowCheck, window, 0, nullptr);
    if (thread != nullptr) {
      CloseHandle(thread);
    }
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // The settings file, read once.
  char settings[4096];
  DWORD read = 0;
  HANDLE file = CreateFileW(L"tapecount.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    ReadFile(file, settings, sizeof settings, &read, nullptr);
    CloseHandle(file);
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = PlainProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT));
  windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT_SMALL));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN);
  windowClass.lpszClassName = L"PlainWindow";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(
      0, L"PlainWindow", L"tapecount",
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
      CW_USEDEFAULT, 0, 275, 297, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  SetWindowTextW(window, L"「 + 」: : : ");
  HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAIN));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}
