// The portable code's display, implemented with Win32 calls on the main window's controls.
// Texts go to Windows as they are, without a copy: showing takes no memory of the program's.
#pragma once

#include <windows.h>

#include "core/display.h"

namespace tapecount {

struct Shell;

class Win32Display final : public Display {
 public:
  explicit Win32Display(Shell& shell) : shell_(shell) {}

  Text EntryText() const override;
  void SetEntryText(const Text& text) override;
  void FocusEntry() override;
  void FocusEntryAtEnd() override;
  void SetLastEntryText(const Text& text) override;
  void SetTotalText(const Text& text) override;
  void SetPaneText(PaneId pane, TextTail text) override;
  void MovePane(PaneId pane, const PaneRect& rect) override;
  void SetTitle(const Text& text) override;
  void SetStatusText(const Text& text) override;
  void LayoutStatusBar(int clientWidth, int clientHeight) override;
  void SetItemState(MenuItem item, ItemState state) override;
  WindowSize OuterSize() const override;
  void PlaceWindow(WindowSize size, bool topmost) override;
  void SetAlpha(int alpha) override;
  void CapturePointer() override;
  void ReleasePointer() override;
  bool StartFade(const FadePlan& plan) override;
  void StopFades(unsigned liveSession) override;
  void StartScreenRowCheck(unsigned generation) override;
  void Close() override;
  void ShowMessage(const Message& message) override;
  bool CopyToClipboard(const Text& text) override;

 private:
  HWND PaneWindow(PaneId pane) const;

  Shell& shell_;
};

}  // namespace tapecount
