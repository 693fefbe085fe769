#include "main_window.h"

#include <commctrl.h>

#include <optional>

#include "commands.h"
#include "entry_box.h"
#include "resource.h"
#include "session.h"
#include "settings.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

// SetWindowLongPtrW answers the value before, which may be zero: only the last error tells a
// failure from it. The value before, or nothing when the call failed.
std::optional<LONG_PTR> SetWindowValue(HWND window, int index, LONG_PTR value) {
  SetLastError(0);
  const LONG_PTR before = SetWindowLongPtrW(window, index, value);
  return before != 0 || GetLastError() == 0 ? std::optional<LONG_PTR>(before) : std::nullopt;
}

HFONT FontOf(const Shell& shell, ControlFont font) {
  switch (font) {
    case ControlFont::Large:
      return shell.largeFont.Get();
    case ControlFont::Small:
      return shell.smallFont.Get();
    case ControlFont::System:
    default:
      return nullptr;
  }
}

// False when a control could not be made: a window without its entry box or panes is of no use.
bool CreateChildControls(Shell& shell) {
  ShellWindows& w = shell.windows;
  for (const ChildControl& child : kChildControls) {
    w.*child.handle = CreateWindowExW(
        child.extendedStyle, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style,
        child.x, child.y, child.width, child.height, w.main, nullptr, shell.instance, nullptr);
    if (w.*child.handle == nullptr) {
      return false;
    }
  }
  shell.largeFont.Reset(CreateControlFont(ControlFont::Large));
  shell.smallFont.Reset(CreateControlFont(ControlFont::Small));
  for (const ChildControl& child : kChildControls) {
    if (HFONT font = FontOf(shell, child.font)) {
      SendMessageW(w.*child.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  return true;
}

LRESULT OnCreate(Shell& shell, HWND window) {
  ShellWindows& w = shell.windows;
  w.main = window;
  if (!CreateChildControls(shell)) {
    return -1;  // the window is not created: the program ends before its message loop
  }
  // The entry box finds the record as its parent does; without its keys it is of no use.
  if (!SetWindowValue(w.entry, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shell))) {
    return -1;
  }
  const std::optional<LONG_PTR> editProcedure =
      SetWindowValue(w.entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EntryBoxProc));
  if (!editProcedure) {
    return -1;
  }
  shell.entryBoxDefault = reinterpret_cast<WNDPROC>(*editProcedure);
  // The status bar says what became of a transfer: the window needs it as much.
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  w.status =
      CreateWindowExW(0, STATUSCLASSNAMEW, Wide(kStartupStatus).c_str(),
                      WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
                      reinterpret_cast<HMENU>(IDC_STATUS_BAR), shell.instance, nullptr);
  if (w.status == nullptr) {
    return -1;
  }
  shell.pageSetup.Init(window);
  InitEntryAppearance(shell.appearance, window);
  w.menu = GetMenu(window);
  if (shell.release.fades && !shell.fades.Start(window)) {
    return -1;  // no memory for the window: it is not made
  }
  return shell.model.Created() ? 0 : -1;
}

LRESULT OnDestroy(Shell& shell) {
  shell.fades.Stop();
  shell.mutex.Reset();
  PostQuitMessage(0);
  return 1;
}

LRESULT OnPaint(HWND window) {
  const PaintScope paint(window);
  return 1;
}

// A minimisation changes nothing: the stored size, the capacity and the panes stay.
LRESULT OnSize(Shell& shell, WPARAM sizeType, LPARAM clientSize) {
  if (sizeType == SIZE_MINIMIZED) {
    return 0;
  }
  shell.model.Sized(LOWORD(clientSize), HIWORD(clientSize));
  return 1;
}

LRESULT OnMouseMove(Shell& shell, HWND window, WPARAM wParam, LPARAM position) {
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  const PointerMove move{LOWORD(position),
                         HIWORD(position),
                         client.x,
                         client.y,
                         {rect.left, rect.top, rect.right, rect.bottom}};
  if (!shell.model.PointerMoved(move)) {
    return DefWindowProcW(window, WM_MOUSEMOVE, wParam, position);
  }
  return 1;
}

}  // namespace

Shell* ShellOf(HWND window) {
  return reinterpret_cast<Shell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

namespace {

LRESULT Dispatch(Shell& shell, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(shell, window);
    case WM_DESTROY:
      return OnDestroy(shell);
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      return 1;
    case WM_MOVE:
      shell.model.Moved();
      return 1;
    case WM_QUERYENDSESSION:
      return OnQueryEndSession(shell);
    case WM_ENDSESSION:
      return OnEndSession(shell, wParam != FALSE);
    case WM_SIZE:
      return OnSize(shell, wParam, lParam);
    case WM_PAINT:
      return OnPaint(window);
    case WM_KEYDOWN:
      shell.model.ShortcutKey(static_cast<int>(wParam));
      return 1;
    case WM_COMMAND:
      return RunCommand(shell, wParam, lParam);
    case WM_MOUSEACTIVATE:
      SetFocus(shell.windows.entry);
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      return shell.model.MouseButton(message == WM_LBUTTONDOWN);
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(
          EntryBoxColours(shell.appearance, reinterpret_cast<HDC>(wParam)));
    case WM_MOUSEMOVE:
      return OnMouseMove(shell, window, wParam, lParam);
    case kMsgScreenRowLimit:
      shell.model.ScreenRowLimitComputed(static_cast<int>(wParam), static_cast<unsigned>(lParam));
      return 0;
    case kMsgFadeStep:
      shell.model.FadeStep(FadeOf(lParam), SessionOf(lParam), static_cast<int>(wParam));
      return 0;
    case kMsgFadeEnded:
      shell.model.FadeEnded(FadeOf(lParam), SessionOf(lParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (!SetWindowValue(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(create->lpCreateParams))) {
      return FALSE;  // a window without its record would do nothing: it is not made
    }
  }
  Shell* shell = ShellOf(window);
  if (shell == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // The model runs each event whole or not at all and says when memory ran out; what the
  // shell itself could not do for want of memory is said the same way. Nothing is thrown
  // into Windows' own frames.
  try {
    return Dispatch(*shell, window, message, wParam, lParam);
  } catch (...) {
    shell->model.OutOfMemory();
    return message == WM_CREATE ? -1 : 0;
  }
}

}  // namespace tapecount
