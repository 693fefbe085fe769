// The portable code's view of the main window, implemented with Win32 calls.
#pragma once

#include <windows.h>

#include "core/calc_view.h"
#include "history/tape_host.h"

namespace tapecount {

struct Shell;

class WindowView final : public CalcView, public TapeHost {
 public:
  explicit WindowView(Shell& shell) : shell_(shell) {}

  // CalcView
  Text EntryText() const override;
  void SetEntryText(const Text& text) override;
  void FocusEntryAtEnd() override;
  void FocusEntry() override;
  void SetLastEntryText(const Text& text) override;
  void SetTotalText(const Text& text) override;
  void SetModeText(const Text& text) override;
  void ShowMessage(const Message& message) override;
  bool CopyToClipboard(const Text& text) override;

  // TapeHost
  void ShowPaneText(PaneId pane, const Text& text) override;
  void MovePane(PaneId pane, const PaneRect& rect) override;
  void LayoutStatusBar(int sizeType, int clientWidth, int clientHeight) override;
  void SetStatusText(const Text& text) override;
  WindowSize OuterWindowSize() const override;
  void ResizeKeepingTopmost(int height, int width) override;
  GrowthModes Modes() const override;
  void AutoExpandOff() override;
  void StartScreenRowCheck() override;

 private:
  HWND PaneWindow(PaneId pane) const;

  Shell& shell_;
};

}  // namespace tapecount
