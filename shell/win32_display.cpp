#include "win32_display.h"

#include <commctrl.h>

#include "export.h"
#include "resource.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

void SetText(HWND window, const Text& text) {
  SetWindowTextW(window, WinText(text));
}

UINT CommandOf(MenuItem item) {
  switch (item) {
    case MenuItem::AutoExpand:
      return IDM_AUTO_EXPAND;
    case MenuItem::AutoMode:
      return IDM_AUTO_MODE;
    case MenuItem::Topmost:
      return IDM_TOPMOST;
    case MenuItem::Transparency:
      return IDM_TRANSPARENCY;
    case MenuItem::SaveSettings:
      return IDM_SAVE_SETTINGS;
    case MenuItem::SingleInstance:
    default:
      return IDM_SINGLE_INSTANCE;
  }
}

UINT MenuState(ItemState state) {
  switch (state) {
    case ItemState::Checked:
      return MFS_CHECKED;
    case ItemState::Grayed:
      return MFS_GRAYED;
    case ItemState::Unchecked:
    default:
      return 0;
  }
}

}  // namespace

Text Win32Display::EntryText() const {
  return ToText(ReadWindowText(shell_.windows.entry));
}

void Win32Display::SetEntryText(const Text& text) {
  SetText(shell_.windows.entry, text);
}

void Win32Display::FocusEntry() {
  SetFocus(shell_.windows.entry);
}

void Win32Display::FocusEntryAtEnd() {
  HWND entry = shell_.windows.entry;
  SetFocus(entry);
  const int length = GetWindowTextLengthW(entry);
  SendMessageW(entry, EM_SETSEL, length, length);
}

void Win32Display::SetLastEntryText(const Text& text) {
  SetText(shell_.windows.lastEntry, text);
}

void Win32Display::SetTotalText(const Text& text) {
  SetText(shell_.windows.total, text);
}

HWND Win32Display::PaneWindow(PaneId pane) const {
  return pane == PaneId::Input ? shell_.windows.inputPane : shell_.windows.totalPane;
}

void Win32Display::SetPaneText(PaneId pane, TextTail text) {
  SetWindowTextW(PaneWindow(pane), WinText(text));
}

void Win32Display::MovePane(PaneId pane, const PaneRect& rect) {
  MoveWindow(PaneWindow(pane), rect.x, rect.y, rect.width, rect.height, TRUE);
}

void Win32Display::SetTitle(const Text& text) {
  SetText(shell_.windows.main, text);
}

void Win32Display::SetStatusText(const Text& text) {
  SendMessageW(shell_.windows.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WinText(text)));
}

// The status bar lays itself out from a WM_SIZE like its parent's (a minimised window is
// never laid out).
void Win32Display::LayoutStatusBar(int clientWidth, int clientHeight) {
  SendMessageW(shell_.windows.status, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(clientWidth, clientHeight));
}

void Win32Display::SetItemState(MenuItem item, ItemState state) {
  MENUITEMINFOW record{};
  record.cbSize = sizeof record;
  record.fMask = MIIM_STATE;
  record.fState = MenuState(state);
  SetMenuItemInfoW(shell_.windows.menu, CommandOf(item), FALSE, &record);
}

WindowSize Win32Display::OuterSize() const {
  RECT rect{};
  GetWindowRect(shell_.windows.main, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Display::PlaceWindow(WindowSize size, bool topmost) {
  SetWindowPos(shell_.windows.main, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, size.width,
               size.height, SWP_NOMOVE);
}

void Win32Display::SetAlpha(int alpha) {
  HWND main = shell_.windows.main;
  SetWindowLongW(main, GWL_EXSTYLE, GetWindowLongW(main, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(main, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void Win32Display::CapturePointer() {
  SetCapture(shell_.windows.main);
}

void Win32Display::ReleasePointer() {
  ReleaseCapture();
}

bool Win32Display::StartFade(const FadePlan& plan) {
  return shell_.fades.Begin(plan);
}

void Win32Display::StopFades(unsigned liveSession) {
  shell_.fades.StopSessionsBut(liveSession);
}

void Win32Display::StartScreenRowCheck(unsigned generation) {
  tapecount::StartScreenRowCheck(shell_.windows.main, generation, shell_.release.rowHeight);
}

void Win32Display::Close() {
  DestroyWindow(shell_.windows.main);
}

void Win32Display::ShowMessage(const Message& message) {
  HWND owner = nullptr;
  if (message.owner == MessageOwner::MainWindow) {
    owner = shell_.windows.main;
  } else if (message.owner == MessageOwner::EntryBox) {
    owner = shell_.windows.entry;
  }
  UINT flags = MB_OK;
  if (message.icon == MessageIcon::Warning) {
    flags |= MB_ICONWARNING;
  } else if (message.icon == MessageIcon::Error) {
    flags |= MB_ICONERROR;
  }
  // A message's texts end where their strings end: they carry their terminators.
  const auto terminated = [](TextView text) {
    return reinterpret_cast<const wchar_t*>(text.data());
  };
  MessageBoxW(owner, terminated(message.text),
              message.caption ? terminated(*message.caption) : nullptr, flags);
}

bool Win32Display::CopyToClipboard(const Text& text) {
  return CopyHistoryToClipboard(shell_.windows.main, text);
}

}  // namespace tapecount
