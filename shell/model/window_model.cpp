#include "shell/model/window_model.h"

#include "core/keys.h"
#include "shell/resource.h"

namespace tapecount {

namespace {

// The narrowest width the Left key still narrows from, and the step of Left and Right.
constexpr int kMinNarrowableWidth = 284;
constexpr int kWidthStep = 10;

ItemState CheckedIf(bool on) {
  return on ? ItemState::Checked : ItemState::Unchecked;
}

}  // namespace

int ScreenRowLimit(int maximisedHeight, int top, int rowHeight) {
  return (maximisedHeight - top - kNonRowHeight) / rowHeight;
}

// Both panes start below the displays and end 25 pixels above the client area's bottom,
// where the status bar sits; the total pane ends 5 pixels from the right edge.
PaneRect InputPaneRect(int, int clientHeight) {
  return {10, 90, 100, clientHeight - 115};
}

PaneRect TotalPaneRect(int clientWidth, int clientHeight) {
  return {110, 90, clientWidth - 115, clientHeight - 115};
}

Box PrintRectangle(const PrintDevice& device, const Box& margins) {
  return {device.pixelsPerInchX * (margins.left / 1000) - device.offsetX,
          device.pixelsPerInchY * (margins.top / 1000) - device.offsetY,
          device.width - device.pixelsPerInchX * (margins.right / 1000) - device.offsetX,
          device.height - device.pixelsPerInchY * (margins.bottom / 1000) - device.offsetY};
}

const WindowModel::ShortcutRow WindowModel::kShortcuts[] = {
    {kVkBack, &WindowModel::UndoLastEntry, true, true},
    {kVkReturn, &WindowModel::FocusEntry, true, false},  // in the entry box Enter is a plus key
    {kVkControl, &WindowModel::Quit, true, false},
    {kVkPrior, &WindowModel::ShrinkByOneRow, true, false},
    {kVkUp, &WindowModel::ShrinkByOneRow, true, false},
    {kVkNext, &WindowModel::GrowByOneRow, true, false},
    {kVkDown, &WindowModel::GrowByOneRow, true, false},
    {kVkLeft, &WindowModel::Narrow, true, false},
    {kVkRight, &WindowModel::Widen, true, false},
    {kVkDelete, &WindowModel::ClearAll, true, false},
    {kVkF1, &WindowModel::ToggleAutoExpand, false, false},
    {kVkF2, &WindowModel::ToggleAutoMode, false, false},
    {kVkF3, &WindowModel::ToggleTopmost, false, false},
    {kVkF4, &WindowModel::ToggleTransparency, false, false},
};

WindowModel::WindowModel(Display& display, const Release& release)
    : display_(display), release_(release), calculator_(display, release) {}

void WindowModel::Created() {
  calculator_.Start();
  suppressRefit_ = true;
}

void WindowModel::Sized(int clientWidth, int clientHeight) {
  stored_ = display_.OuterSize();
  tape_.SetRowCapacity((stored_.height - kNonRowHeight) / release_.rowHeight);
  StartScreenRowCheck();
  if (suppressRefit_) {
    suppressRefit_ = false;
  } else {
    tape_.Fit();
    ShowPanes();
  }
  display_.LayoutStatusBar(clientWidth, clientHeight);
  display_.MovePane(PaneId::Input, InputPaneRect(clientWidth, clientHeight));
  display_.MovePane(PaneId::Total, TotalPaneRect(clientWidth, clientHeight));
  RefreshRowStatus();
  display_.FocusEntry();
}

void WindowModel::Moved() {
  StartScreenRowCheck();
  display_.FocusEntry();
}

EntryKey WindowModel::EntryBoxKey(int vk) {
  const KeyOutcome outcome = calculator_.HandleEntryKey(vk);
  if (outcome.result == KeyResult::NotMine) {
    return ShortcutKey(vk) ? EntryKey::Handled : EntryKey::PassOn;
  }
  if (outcome.applied) {
    AppendHistoryLines(*outcome.applied);
    RefreshRowStatus();
    calculator_.ResetForNextEntry();
  }
  RefreshTitle();
  return outcome.result == KeyResult::Done ? EntryKey::Handled : EntryKey::Refused;
}

bool WindowModel::ShortcutKey(int vk) {
  for (const ShortcutRow& row : kShortcuts) {
    if (row.vk == vk && (!row.needsUndo || release_.keepsEntryHistory)) {
      (this->*row.action)();
      return row.consumed;
    }
  }
  return false;
}

int WindowModel::MouseButton(bool left) {
  if (!release_.mouseButtonsResize) {
    FocusEntry();
    return 1;
  }
  // The click itself leaves the focus where it was.
  if (left) {
    ShrinkByOneRow();
    return 0;
  }
  GrowByOneRow();
  return 1;
}

bool WindowModel::PointerMoved(bool inside) {
  if (!release_.fades) {
    return false;
  }
  if (!modes_.transparent) {
    return true;
  }
  if (!pointerInside_) {
    display_.CapturePointer();
    pointerInside_ = true;
    display_.StartFade(Fade::In);
  }
  if (!inside) {
    display_.ReleasePointer();
    pointerInside_ = false;
    display_.StartFade(Fade::Out);
  }
  return true;
}

void WindowModel::FadeStep(int alpha) {
  // A step that was on its way when transparency went off is dropped: the window stays opaque.
  if (modes_.transparent) {
    display_.SetAlpha(alpha);
  }
}

void WindowModel::StartScreenRowCheck() {
  if (checkRunning_) {
    checkWanted_ = true;
    return;
  }
  checkRunning_ = true;
  display_.StartScreenRowCheck(++checksStarted_);
}

void WindowModel::ScreenRowLimitComputed(int limit, unsigned generation) {
  checkRunning_ = false;
  if (checkWanted_) {
    checkWanted_ = false;
    StartScreenRowCheck();
  }
  // A check started before the one applied last read an older position.
  if (static_cast<int>(generation - lastCheckApplied_) <= 0) {
    return;
  }
  lastCheckApplied_ = generation;
  screenRowLimit_ = limit;
  if (modes_.autoMode) {
    limit > tape_.DisplayedRowCount() ? AutoExpandOn() : AutoExpandOff();
  }
}

// One line on each pane after an applied entry; when the panes are full, the window grows
// by a row in auto-expand mode (while auto mode finds room below), else the panes scroll.
void WindowModel::AppendHistoryLines(const AppliedEntry& lines) {
  const int row = tape_.DisplayedRowCount() + 1;
  const bool scroll = row > tape_.RowCapacity() && !GrowForRow(row);
  tape_.AppendLines(lines.entryLine, lines.totalLine, scroll);
  ShowPanes();
}

bool WindowModel::GrowForRow(int row) {
  if (!modes_.autoExpand || (modes_.autoMode && screenRowLimit_ < row)) {
    return false;
  }
  if (modes_.autoMode && screenRowLimit_ == row) {
    AutoExpandOff();  // the last growth auto mode has room for
  }
  suppressRefit_ = true;
  ResizeKeepingTopmost({stored_.width, stored_.height + release_.rowHeight}, modes_.topmost);
  if (tape_.RowCapacity() >= row) {
    return true;
  }
  // The window system refused the growth (the window is at its largest): scroll instead, so
  // the new line is in view, and let the next size change re-fit.
  suppressRefit_ = false;
  return false;
}

void WindowModel::UndoLastEntry() {
  if (!display_.EntryText().empty()) {
    return;  // Backspace edits the entry instead
  }
  switch (tape_.TakeBackLastLine()) {
    case UndoOutcome::AtHeader:
      return;
    case UndoOutcome::Underflow:
      display_.ShowMessage(kStackUnderflowMessage);
      return;
    case UndoOutcome::Removed:
      break;
  }
  ShowPanes();
  calculator_.TakeBackLastEntry();
  // One row less: the capacity drops with the lines, so no hidden line comes back.
  ShrinkByOneRow();
}

void WindowModel::ClearAll() {
  // Nothing is cleared that has not reached the clipboard.
  if (!display_.CopyToClipboard(tape_.ComposeHistoryText(release_.clipboardSeparator))) {
    display_.ShowMessage(kClearRefusedMessage);
    return;
  }
  SetStatus(kTransferDoneStatus);
  calculator_.Reset();
  tape_.Reset();
  ShowPanes();
  RefreshTitle();
  ResizeKeepingTopmost(kInitialSize, modes_.topmost);
  display_.FocusEntry();
}

void WindowModel::FocusEntry() {
  display_.FocusEntry();
}

void WindowModel::Quit() {
  display_.Close();
}

void WindowModel::ShrinkByOneRow() {
  if (stored_.height >= release_.minShrinkableHeight) {
    ResizeKeepingTopmost({stored_.width, stored_.height - release_.rowHeight}, modes_.topmost);
  }
}

void WindowModel::GrowByOneRow() {
  ResizeKeepingTopmost({stored_.width, stored_.height + release_.rowHeight}, modes_.topmost);
}

void WindowModel::Narrow() {
  if (stored_.width >= kMinNarrowableWidth) {
    ResizeKeepingTopmost({stored_.width - kWidthStep, stored_.height}, modes_.topmost);
  }
}

void WindowModel::Widen() {
  ResizeKeepingTopmost({stored_.width + kWidthStep, stored_.height}, modes_.topmost);
}

void WindowModel::ResizeKeepingTopmost(WindowSize size, bool topmost) {
  display_.PlaceWindow(size, topmost);
  modes_.topmost = topmost;
}

void WindowModel::ToggleAutoExpand() {
  // In auto mode with no room left below the window, auto-expand stays as it is.
  if (tape_.DisplayedRowCount() < screenRowLimit_ || !modes_.autoMode) {
    modes_.autoExpand ? AutoExpandOff() : AutoExpandOn();
  }
  MarkSettingsDirty();
}

void WindowModel::ToggleAutoMode() {
  modes_.autoMode ? AutoModeOff() : AutoModeOn();
  MarkSettingsDirty();
}

void WindowModel::ToggleTopmost() {
  modes_.topmost ? TopmostOff() : TopmostOn();
  MarkSettingsDirty();
}

void WindowModel::ToggleTransparency() {
  modes_.transparent ? TransparencyOff() : TransparencyOn();
  MarkSettingsDirty();
}

void WindowModel::AutoExpandOn() {
  if (modes_.autoMode && tape_.DisplayedRowCount() >= screenRowLimit_) {
    return;  // no room left below the window
  }
  modes_.autoExpand = true;
  RefreshTitle();
  display_.SetItemState(IDM_AUTO_EXPAND, ItemState::Checked);
}

void WindowModel::AutoExpandOff() {
  modes_.autoExpand = false;
  RefreshTitle();
  display_.SetItemState(IDM_AUTO_EXPAND, ItemState::Unchecked);
}

// Auto-expand is left alone either way: the next screen-row check adjusts it.
void WindowModel::AutoModeOn() {
  modes_.autoMode = true;
  RefreshTitle();
  display_.SetItemState(IDM_AUTO_MODE, ItemState::Checked);
}

void WindowModel::AutoModeOff() {
  modes_.autoMode = false;
  RefreshTitle();
  display_.SetItemState(IDM_AUTO_MODE, ItemState::Unchecked);
}

void WindowModel::TopmostOn() {
  display_.PlaceWindow(stored_, true);
  modes_.topmost = true;
  RefreshTitle();
  display_.SetItemState(IDM_TOPMOST, ItemState::Checked);
}

void WindowModel::TopmostOff() {
  display_.PlaceWindow(stored_, false);
  modes_.topmost = false;
  RefreshTitle();
  display_.SetItemState(IDM_TOPMOST, ItemState::Unchecked);
}

void WindowModel::TransparencyOn() {
  modes_.transparent = true;
  display_.SetAlpha(release_.transparentAlpha);
  display_.SetItemState(IDM_TRANSPARENCY, ItemState::Checked);
}

void WindowModel::TransparencyOff() {
  modes_.transparent = false;
  if (release_.fades) {
    display_.StopFades();
  }
  display_.SetAlpha(255);
  display_.SetItemState(IDM_TRANSPARENCY, ItemState::Unchecked);
  if (pointerInside_) {
    display_.ReleasePointer();
    pointerInside_ = false;
  }
}

void WindowModel::TransferHistory() {
  const bool copied =
      display_.CopyToClipboard(tape_.ComposeHistoryText(release_.clipboardSeparator));
  SetStatus(copied ? kTransferDoneStatus : kTransferFailedStatus);
}

Text WindowModel::PrintedHistory() const {
  return tape_.ComposeHistoryText(kPrintSeparator);
}

void WindowModel::ApplySettings(const StoredModes& stored) {
  // Auto mode is still off here, so auto-expand is never held back.
  stored.autoExpand ? AutoExpandOn() : AutoExpandOff();
  stored.autoMode ? AutoModeOn() : AutoModeOff();
  stored.topmost ? TopmostOn() : TopmostOff();
  singleInstance_ = stored.singleInstance;
  display_.SetItemState(IDM_SINGLE_INSTANCE, CheckedIf(singleInstance_));
  stored.transparent ? TransparencyOn() : TransparencyOff();
  SettingsSaved();
}

StoredModes WindowModel::ModesToSave() const {
  return {modes_.autoExpand, modes_.autoMode, modes_.topmost, singleInstance_, modes_.transparent};
}

void WindowModel::SettingsSaved() {
  settingsDirty_ = false;
  display_.SetItemState(IDM_SAVE_SETTINGS, ItemState::Grayed);
}

void WindowModel::SettingsNotSaved(const Text& path) {
  display_.ShowMessage(SettingsNotSavedMessage(path));
}

void WindowModel::ToggleSingleInstance() {
  singleInstance_ = !singleInstance_;
  display_.SetItemState(IDM_SINGLE_INSTANCE, CheckedIf(singleInstance_));
}

void WindowModel::MarkSettingsDirty() {
  settingsDirty_ = true;
  display_.SetItemState(IDM_SAVE_SETTINGS, ItemState::Unchecked);
}

// The title is always the four fields joined by ": ": the pending operator's mode text and
// the texts of auto-expand, auto mode and always-on-top (empty while off).
void WindowModel::RefreshTitle() {
  Text title = ModeText(calculator_.State().pendingOperator) + u": " +
               (modes_.autoExpand ? u"自動拡張" : u"") + u": " + (modes_.autoMode ? u"ｵｰﾄ" : u"") +
               u": " + (modes_.topmost ? u"前表示" : u"");
  if (title != shownTitle_) {
    display_.SetTitle(title);
    shownTitle_ = std::move(title);
  }
}

void WindowModel::RefreshRowStatus() {
  SetStatus(Text(kProgramName) + u": 現在の表示行数 = [" + IntToText(tape_.RowCapacity()) +
            u"] 行");
}

void WindowModel::SetStatus(const Text& text) {
  if (text != shownStatus_) {
    display_.SetStatusText(text);
    shownStatus_ = text;
  }
}

void WindowModel::ShowPanes() {
  display_.SetPaneText(PaneId::Input, tape_.InputPane().DisplayedText());
  display_.SetPaneText(PaneId::Total, tape_.TotalPane().DisplayedText());
}

}  // namespace tapecount
