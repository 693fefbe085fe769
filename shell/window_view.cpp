#include "window_view.h"

#include <commctrl.h>

#include "export.h"
#include "modes.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

void SetText(HWND window, const Text& text) {
  SetWindowTextW(window, Wide(text).c_str());
}

}  // namespace

Text WindowView::EntryText() const {
  return ToText(ReadWindowText(shell_.entry));
}

void WindowView::SetEntryText(const Text& text) {
  SetText(shell_.entry, text);
}

void WindowView::FocusEntryAtEnd() {
  SetFocus(shell_.entry);
  const int length = GetWindowTextLengthW(shell_.entry);
  SendMessageW(shell_.entry, EM_SETSEL, length, length);
}

void WindowView::FocusEntry() {
  SetFocus(shell_.entry);
}

void WindowView::SetLastEntryText(const Text& text) {
  SetText(shell_.lastEntry, text);
}

void WindowView::SetTotalText(const Text& text) {
  SetText(shell_.total, text);
}

void WindowView::SetModeText(const Text& text) {
  shell_.title.mode = Wide(text);
  RebuildTitle();
}

void WindowView::ShowMessage(const Message& message) {
  HWND owner = nullptr;
  if (message.owner == MessageOwner::MainWindow) {
    owner = shell_.main;
  } else if (message.owner == MessageOwner::EntryBox) {
    owner = shell_.entry;
  }
  UINT flags = MB_OK;
  if (message.icon == MessageIcon::Warning) {
    flags |= MB_ICONWARNING;
  } else if (message.icon == MessageIcon::Error) {
    flags |= MB_ICONERROR;
  }
  const std::wstring text = Wide(message.text);
  const std::wstring caption = message.caption ? Wide(*message.caption) : std::wstring();
  MessageBoxW(owner, text.c_str(), message.caption ? caption.c_str() : nullptr, flags);
}

bool WindowView::CopyToClipboard(const Text& text) {
  return CopyHistoryToClipboard(Wide(text));
}

HWND WindowView::PaneWindow(PaneId pane) const {
  return pane == PaneId::Input ? shell_.inputPane : shell_.totalPane;
}

void WindowView::ShowPaneText(PaneId pane, const Text& text) {
  SetText(PaneWindow(pane), text);
}

void WindowView::MovePane(PaneId pane, const PaneRect& rect) {
  MoveWindow(PaneWindow(pane), rect.x, rect.y, rect.width, rect.height, TRUE);
}

void WindowView::LayoutStatusBar(int sizeType, int clientWidth, int clientHeight) {
  SendMessageW(shell_.status, WM_SIZE, static_cast<WPARAM>(sizeType),
               MAKELPARAM(clientWidth, clientHeight));
}

void WindowView::SetStatusText(const Text& text) {
  std::wstring wide = Wide(text);
  if (wide != shell_.shownStatus) {
    SendMessageW(shell_.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    shell_.shownStatus = std::move(wide);
  }
}

WindowSize WindowView::OuterWindowSize() const {
  RECT rect{};
  GetWindowRect(shell_.main, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void WindowView::ResizeKeepingTopmost(int height, int width) {
  tapecount::ResizeKeepingTopmost(height, width, shell_.modes.topmost);
}

GrowthModes WindowView::Modes() const {
  return {shell_.modes.autoExpand, shell_.modes.autoMode, shell_.modes.screenRowLimit};
}

void WindowView::AutoExpandOff() {
  tapecount::AutoExpandOff();
}

void WindowView::StartScreenRowCheck() {
  tapecount::StartScreenRowCheck();
}

}  // namespace tapecount
