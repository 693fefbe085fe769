// The main window procedure: a dispatcher, one small function per message.
#include "main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "commands.h"
#include "export.h"
#include "release_choice.h"
#include "resource.h"
#include "settings.h"
#include "shell.h"
#include "wide.h"
#include "window_view.h"

namespace tapecount {

namespace {

std::unique_ptr<Shell> g_shell;

struct ChildControl {
  HWND Shell::*handle;
  const wchar_t* className;
  DWORD extendedStyle;
  DWORD style;
  const wchar_t* text;
  int x, y, width, height;
};

// Created in this order; the panes are laid out by the size handling.
const ChildControl kChildControls[] = {
    {&Shell::entry, L"EDIT", WS_EX_CLIENTEDGE, ES_NUMBER, L"", 10, 10, 125, 30},
    {&Shell::lastEntry, L"STATIC", WS_EX_CLIENTEDGE, 0, L"0", 135, 10, 125, 30},
    {&Shell::total, L"STATIC", WS_EX_CLIENTEDGE, 0, L"0", 60, 50, 200, 30},
    {&Shell::totalLabel, L"STATIC", WS_EX_WINDOWEDGE, 0, L"合計", 10, 50, 50, 30},
    {&Shell::inputPane, L"STATIC", WS_EX_CLIENTEDGE, 0, L"入力履歴\r\n", 0, 0, 0, 0},
    {&Shell::totalPane, L"STATIC", WS_EX_CLIENTEDGE, 0, L"合計履歴\r\n", 0, 0, 0, 0},
};

HFONT CreateGothicFont(int height, int width) {
  return CreateFontW(height, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                     L"MS　ゴシック");
}

void SetFont(HWND window, HFONT font, BOOL redraw) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void CreateChildControls(Shell& shell) {
  const HINSTANCE instance = TheProgram().instance;
  for (const ChildControl& child : kChildControls) {
    shell.*child.handle = CreateWindowExW(
        child.extendedStyle, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style,
        child.x, child.y, child.width, child.height, shell.main, nullptr, instance, nullptr);
  }
  shell.largeFont.Reset(CreateGothicFont(24, 10));
  shell.smallFont.Reset(CreateGothicFont(18, 0));
  SetFont(shell.entry, shell.largeFont.Get(), TRUE);
  SetFont(shell.lastEntry, shell.largeFont.Get(), FALSE);
  SetFont(shell.total, shell.largeFont.Get(), FALSE);
  SetFont(shell.inputPane, shell.smallFont.Get(), FALSE);
  SetFont(shell.totalPane, shell.smallFont.Get(), FALSE);
}

LRESULT OnCreate(HWND window) {
  g_shell = std::make_unique<Shell>();
  Shell& shell = *g_shell;
  shell.main = window;
  shell.shownTitle = TheProgram().windowName;
  CreateChildControls(shell);
  shell.entryBoxDefault = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(shell.entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryBoxProc)));
  InitCommonControls();
  shell.shownStatus = L"テプカン: 履歴表示計算機 for windows";
  shell.status = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP,
                                     shell.shownStatus.c_str(), window, IDC_STATUS_BAR);
  InitPageSetup(window);
  InitEntryAppearance(window);
  shell.menu = GetMenu(window);
  shell.itemState.cbSize = sizeof shell.itemState;
  shell.view = std::make_unique<WindowView>(shell);
  shell.tape = std::make_unique<Tape>(*shell.view, kRelease.geometry);
  shell.calculator = std::make_unique<Calculator>(*shell.view, *shell.tape, kRelease);
  shell.title.mode = Wide(ModeText(u'+'));
  shell.calculator->Start();
  StartModeMachinery();
  return 0;
}

LRESULT OnDestroy() {
  StopModeMachinery();
  Program& program = TheProgram();
  if (program.mutex != nullptr) {
    ReleaseMutex(program.mutex);
    CloseHandle(program.mutex);
    program.mutex = nullptr;
  }
  PostQuitMessage(0);
  return 1;
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  return 1;
}

// A click focuses the entry box; in a release with mouse sizing, the left button makes the
// window a row shorter and the right button a row taller instead.
LRESULT OnMouseButton(UINT message) {
  if (!kRelease.mouseButtonsResize) {
    FocusEntryBox();
    return 1;
  }
  if (message == WM_LBUTTONDOWN) {
    TheShell().tape->ShrinkByOneRow();
    return 0;
  }
  TheShell().tape->GrowByOneRow();
  return 1;
}

LRESULT OnMove() {
  StartScreenRowCheck();
  FocusEntryBox();
  return 1;
}

}  // namespace

Program& TheProgram() {
  static Program program;
  return program;
}

Shell& TheShell() {
  return *g_shell;
}

bool HasShell() {
  return g_shell != nullptr;
}

Shell::Shell() = default;
Shell::~Shell() = default;

void RebuildTitle() {
  Shell& shell = TheShell();
  const TitleFields& t = shell.title;
  std::wstring title = t.mode + L": " + t.autoExpand + L": " + t.autoMode + L": " + t.topmost;
  if (title != shell.shownTitle) {
    SetWindowTextW(shell.main, title.c_str());
    shell.shownTitle = std::move(title);
  }
}

void FocusEntryBox() {
  SetFocus(TheShell().entry);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    return OnCreate(window);
  }
  if (!HasShell() || TheShell().main != window) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_DESTROY:
      return OnDestroy();
    case WM_NCDESTROY:
      g_shell.reset();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      return 1;
    case WM_MOVE:
      return OnMove();
    case WM_SIZE:
      return TheShell().tape->HandleSize(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_PAINT:
      return OnPaint(window);
    case WM_KEYDOWN:
      HandleShortcutKey(static_cast<int>(wParam));
      return 1;
    case WM_COMMAND:
      return RunCommand(window, wParam, lParam);
    case WM_MOUSEACTIVATE:
      FocusEntryBox();
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      return OnMouseButton(message);
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(EntryBoxColours(reinterpret_cast<HDC>(wParam)));
    case WM_MOUSEMOVE:
      if (!kRelease.fades) {
        return DefWindowProcW(window, message, wParam, lParam);
      }
      return TransparencyTrigger(window, lParam);
    case kMsgScreenRowLimit:
      ApplyScreenRowCheck(static_cast<int>(wParam), static_cast<unsigned>(lParam));
      return 0;
    case kMsgFadeStep:
      ApplyFadeStep(static_cast<int>(wParam), static_cast<unsigned>(lParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tapecount
