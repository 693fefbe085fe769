#include "shell/model/window_model.h"

#include <algorithm>
#include <iterator>

#include "core/keys.h"

namespace tapecount {

namespace {

// The narrowest width the Left key still narrows from, and the step of Left and Right.
constexpr int kMinNarrowableWidth = 284;
constexpr int kWidthStep = 10;
// Room for the longest title and status texts, made once.
constexpr std::size_t kShortTextRoom = 64;

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
    {kVkBack, &WindowModel::UndoLastEntry},
    {kVkReturn, &WindowModel::FocusEntry},  // in the entry box Enter is a plus key
    {kVkControl, &WindowModel::Quit},
    {kVkPrior, &WindowModel::ShrinkByOneRow},
    {kVkUp, &WindowModel::ShrinkByOneRow},
    {kVkNext, &WindowModel::GrowByOneRow},
    {kVkDown, &WindowModel::GrowByOneRow},
    {kVkLeft, &WindowModel::Narrow},
    {kVkRight, &WindowModel::Widen},
    {kVkDelete, &WindowModel::ClearAll},
};

// In the order of Mode.
const WindowModel::ModeRow WindowModel::kModes[] = {
    {&ModeFlags::autoExpand, u"自動拡張", MenuItem::AutoExpand, nullptr, true},
    {&ModeFlags::autoMode, u"ｵｰﾄ", MenuItem::AutoMode, nullptr, false},
    {&ModeFlags::topmost, u"前表示", MenuItem::Topmost, &WindowModel::PlaceInBand, false},
    {&ModeFlags::transparent, nullptr, MenuItem::Transparency, &WindowModel::SetTransparency,
     false},
};

WindowModel::WindowModel(Display& display, const Release& release)
    : display_(display), release_(release), calculator_(display, release) {
  for (Text* text : {&shownTitle_, &nextTitle_, &shownStatus_, &nextStatus_}) {
    text->reserve(kShortTextRoom);
  }
  shownStatus_ = kStartupStatus;
}

bool WindowModel::Created() noexcept {
  try {
    calculator_.Start();
  } catch (const std::bad_alloc&) {
    return false;
  }
  suppressRefit_ = true;
  ShowPanes();
  return true;
}

void WindowModel::Sized(int clientWidth, int clientHeight) noexcept {
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

void WindowModel::Moved() noexcept {
  StartScreenRowCheck();
  display_.FocusEntry();
}

EntryKey WindowModel::EntryBoxKey(int vk) noexcept {
  return Guarded(EntryKey::Refused, [&] { return HandleEntryBoxKey(vk); });
}

EntryKey WindowModel::HandleEntryBoxKey(int vk) {
  KeyOutcome outcome = calculator_.HandleEntryKey(vk);
  if (outcome.result == KeyResult::NotMine) {
    return ShortcutKey(vk) ? EntryKey::Handled : EntryKey::PassOn;
  }
  if (outcome.entry) {
    ApplyEntry(*outcome.entry, Entered::Typed);
  }
  RefreshTitle();
  return outcome.result == KeyResult::Done ? EntryKey::Handled : EntryKey::Refused;
}

bool WindowModel::ShortcutKey(int vk) noexcept {
  // Without entry history there is no undo: Backspace is the edit control's alone.
  if (vk == kVkBack && !release_.keepsEntryHistory) {
    return false;
  }
  for (const ShortcutRow& row : kShortcuts) {
    if (row.vk == vk) {
      return Guarded(true, [&] {
        (this->*row.action)();
        return true;
      });
    }
  }
  // The function keys toggle a mode each and go on to the control that had them.
  if (vk >= kVkF1 && vk <= kVkF4) {
    ToggleMode(static_cast<Mode>(vk - kVkF1));
  }
  return false;
}

int WindowModel::MouseButton(bool left) noexcept {
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

// All four edges count as inside. Left of or above the client area reads as far right or
// below, so the title bar, the menu bar and the left and top frame count as outside, the
// right and bottom frame as inside.
bool WindowModel::PointerMoved(const PointerMove& move) noexcept {
  if (!release_.fades) {
    return false;
  }
  if (!modes_.transparent) {
    return true;
  }
  if (!pointerInside_) {
    display_.CapturePointer();
    pointerInside_ = true;
    StartFade(Fade::In);
  }
  const long long x = static_cast<long long>(move.x) + move.clientLeft;
  const long long y = static_cast<long long>(move.y) + move.clientTop;
  const Box& w = move.window;
  if (x < w.left || x > w.right || y < w.top || y > w.bottom) {
    display_.ReleasePointer();
    pointerInside_ = false;
    StartFade(Fade::Out);
  }
  return true;
}

// A fade-in steps from the transparent level up to 255, a fade-out from 255 down to it, five
// at a time: with the level at 50, 42 steps each way.
int WindowModel::FadeAlpha(Fade fade, int step) const {
  return fade == Fade::In ? release_.transparentAlpha + kFadeAlphaStep * step
                          : 255 - kFadeAlphaStep * step;
}

void WindowModel::StartFade(Fade fade) noexcept {
  bool& running = fadeRunning_[Index(fade)];
  if (running) {
    return;  // one of this kind is on its way already
  }
  const int steps = (255 - release_.transparentAlpha) / kFadeAlphaStep + 1;
  const FadePlan plan{fade, fadeSession_, fade == Fade::Out ? kFadeOutWaitMs : 0, steps,
                      kFadeStepMs};
  // Without a thread that fade does not happen; the next entering or leaving tries again.
  running = display_.StartFade(plan);
}

void WindowModel::FadeStep(Fade fade, unsigned session, int step) noexcept {
  // A step of an ended session is dropped: the window stays as transparency left it.
  if (session == fadeSession_ && modes_.transparent) {
    display_.SetAlpha(FadeAlpha(fade, step));
  }
}

void WindowModel::FadeEnded(Fade fade, unsigned session) noexcept {
  if (session == fadeSession_) {
    fadeRunning_[Index(fade)] = false;
  }
}

void WindowModel::StartScreenRowCheck() noexcept {
  if (checkRunning_) {
    checkWanted_ = true;
    return;
  }
  checkRunning_ = true;
  display_.StartScreenRowCheck(++checksStarted_);
}

void WindowModel::ScreenRowLimitComputed(int limit, unsigned generation) noexcept {
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
    SetMode(Mode::AutoExpand, limit > tape_.DisplayedRowCount());
  }
}

void WindowModel::OutOfMemory() noexcept {
  display_.ShowMessage(kMemoryErrorMessage);
}

// Every entry, typed or replayed, goes onto the stacks and the tape here. A typed one shows at
// once, and when the panes are full the window grows by a row in auto-expand mode (while auto
// mode finds room below); a replayed one shows nothing (the replay shows its end once) and
// never grows the window. Otherwise full panes scroll.
void WindowModel::ApplyEntry(const PreparedEntry& entry, Entered how) {
  const AppliedEntry& lines = entry.lines;
  const bool typed = how == Entered::Typed;
  tape_.ReserveLines(lines.entryLine, lines.totalLine);
  // Nothing below needs memory.
  calculator_.Record(entry);
  if (typed) {
    calculator_.Show(lines);
  }
  const int row = tape_.DisplayedRowCount() + 1;
  const bool scroll = row > tape_.RowCapacity() && !(typed && GrowForRow(row));
  tape_.AppendLines(lines.entryLine, lines.totalLine, scroll);
  if (typed) {
    ShowPanes();
    RefreshRowStatus();
    calculator_.ResetForNextEntry();
  }
}

bool WindowModel::GrowForRow(int row) noexcept {
  if (!modes_.autoExpand || (modes_.autoMode && screenRowLimit_ < row)) {
    return false;
  }
  if (modes_.autoMode && screenRowLimit_ == row) {
    SetMode(Mode::AutoExpand, false);  // the last growth auto mode has room for
  }
  suppressRefit_ = true;
  ResizeKeepingTopmost({stored_.width, stored_.height + release_.rowHeight});
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
  const TakeBackTexts texts = calculator_.PrepareTakeBack();
  // Nothing below needs memory.
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
  calculator_.TakeBackLastEntry(texts);
  // One row less: the capacity drops with the lines, so no hidden line comes back.
  ShrinkByOneRow();
}

void WindowModel::ClearAll() {
  // Nothing is cleared that has not reached the clipboard; clearing needs no memory.
  if (!CopyHistory()) {
    display_.ShowMessage(kClearRefusedMessage);
    return;
  }
  ShowStatus(kTransferDoneStatus);
  Clear();
  ResizeKeepingTopmost(kInitialSize);
  display_.FocusEntry();
}

void WindowModel::Clear() noexcept {
  calculator_.Reset();
  tape_.Reset();
  ShowPanes();
  RefreshTitle();
}

void WindowModel::WriteTapeJournal(ByteSink& out) const {
  const CalcState& state = calculator_.State();
  const Pane& entries = tape_.InputPane();
  const Pane& totals = tape_.TotalPane();
  JournalWriter writer(out);
  // The records and the lines after the headers go together, one for one.
  for (std::size_t i = 0; i < state.records.size(); ++i) {
    const EntryRecord& record = state.records[i];
    writer.Entry(SignOf(record.operation), record.negativeEntry, record.value,
                 {entries.Line(i + 1), release_.clipboardSeparator, totals.Line(i + 1)});
  }
  writer.End(state.pendingOperator);
}

bool WindowModel::RestoreTape(const Journal& journal) noexcept {
  bool whole;
  try {
    whole = Replay(journal.entries);
  } catch (const std::bad_alloc&) {
    whole = false;  // as for another tape: the window starts empty, and nothing is said
  }
  if (!whole) {
    Clear();
    OutOfMemory();
    return false;
  }
  calculator_.SetPending(journal.pendingOperator);
  ShowPanes();
  RefreshTitle();
  return true;
}

// The windows show the replay's end alone: each text set is a repaint.
bool WindowModel::Replay(const std::vector<JournalEntry>& entries) {
  std::optional<PreparedEntry> entry;
  for (const JournalEntry& recorded : entries) {
    entry = PrepareReplayed(recorded);
    if (!entry) {
      return false;
    }
    ApplyEntry(*entry, Entered::Replayed);
  }
  if (entry) {
    calculator_.Show(entry->lines);
  }
  return true;
}

// A journal's entry made ready as its key made it; nothing when it is not an entry of this
// release's tape (an operation the program does not have, one the range check refuses, or
// another row than the one it gives).
std::optional<PreparedEntry> WindowModel::PrepareReplayed(const JournalEntry& entry) {
  const std::optional<Operation> operation = OperationOf(entry.operation);
  if (!operation) {
    return std::nullopt;
  }
  std::optional<PreparedEntry> prepared =
      calculator_.Prepare({*operation, entry.negativeEntry, entry.value});
  if (prepared &&
      prepared->lines.entryLine + release_.clipboardSeparator + prepared->lines.totalLine !=
          entry.row) {
    return std::nullopt;
  }
  return prepared;
}

void WindowModel::FocusEntry() {
  display_.FocusEntry();
}

void WindowModel::Quit() {
  display_.Close();
}

void WindowModel::ShrinkByOneRow() {
  if (stored_.height >= release_.minShrinkableHeight) {
    ResizeKeepingTopmost({stored_.width, stored_.height - release_.rowHeight});
  }
}

void WindowModel::GrowByOneRow() {
  ResizeKeepingTopmost({stored_.width, stored_.height + release_.rowHeight});
}

void WindowModel::Narrow() {
  if (stored_.width >= kMinNarrowableWidth) {
    ResizeKeepingTopmost({stored_.width - kWidthStep, stored_.height});
  }
}

void WindowModel::Widen() {
  ResizeKeepingTopmost({stored_.width + kWidthStep, stored_.height});
}

// Every resize keeps the window where it is and in its band.
void WindowModel::ResizeKeepingTopmost(WindowSize size) noexcept {
  display_.PlaceWindow(size, modes_.topmost);
}

void WindowModel::ToggleMode(Mode mode) noexcept {
  const ModeRow& row = kModes[static_cast<int>(mode)];
  if (!(row.heldWithoutRoom && NoRoomBelowInAutoMode())) {
    SetMode(mode, !(modes_.*row.flag));
  }
  MarkSettingsDirty();
}

// Switching auto mode leaves auto-expand as it is: the next screen-row check adjusts it.
void WindowModel::SetMode(Mode mode, bool on) noexcept {
  const ModeRow& row = kModes[static_cast<int>(mode)];
  if (on && row.heldWithoutRoom && NoRoomBelowInAutoMode()) {
    return;
  }
  modes_.*row.flag = on;
  if (row.effect != nullptr) {
    (this->*row.effect)(on);
  }
  if (row.title != nullptr) {
    RefreshTitle();
  }
  display_.SetItemState(row.item, CheckedIf(on));
}

bool WindowModel::NoRoomBelowInAutoMode() const {
  return modes_.autoMode && tape_.DisplayedRowCount() >= screenRowLimit_;
}

void WindowModel::PlaceInBand(bool) noexcept {
  ResizeKeepingTopmost(stored_);
}

void WindowModel::SetTransparency(bool on) noexcept {
  if (on) {
    display_.SetAlpha(release_.transparentAlpha);
    return;
  }
  if (release_.fades) {
    fadeRunning_[0] = fadeRunning_[1] = false;
    display_.StopFades(++fadeSession_);
  }
  display_.SetAlpha(255);
  if (pointerInside_) {
    display_.ReleasePointer();
    pointerInside_ = false;
  }
}

void WindowModel::TransferHistory() noexcept {
  Guarded(0, [&] {
    ShowStatus(CopyHistory() ? kTransferDoneStatus : kTransferFailedStatus);
    return 0;
  });
}

bool WindowModel::CopyHistory() {
  return display_.CopyToClipboard(tape_.ComposeHistoryText(release_.clipboardSeparator));
}

Text WindowModel::PrintedHistory() const {
  return tape_.ComposeHistoryText(kPrintSeparator);
}

void WindowModel::ApplySettings(const StoredModes& stored) noexcept {
  // Auto mode is still off when auto-expand is set, so auto-expand is never held back.
  for (int mode = 0; mode < static_cast<int>(std::size(kModes)); ++mode) {
    SetMode(static_cast<Mode>(mode), stored.modes.*kModes[mode].flag);
  }
  singleInstance_ = stored.singleInstance;
  display_.SetItemState(MenuItem::SingleInstance, CheckedIf(singleInstance_));
  SettingsSaved();
}

void WindowModel::SaveSettings(SettingsStore& store) noexcept {
  if (TrySave(store)) {
    SettingsSaved();
  } else {
    TellNotSaved(store);
  }
}

void WindowModel::ToggleSingleInstance(SettingsStore& store) noexcept {
  const auto flip = [this] {
    singleInstance_ = !singleInstance_;
    display_.SetItemState(MenuItem::SingleInstance, CheckedIf(singleInstance_));
  };
  flip();
  if (TrySave(store)) {
    SettingsSaved();
  } else {
    flip();  // the guard the user chose did not reach the file
    TellNotSaved(store);
  }
}

// A save that ran out of memory wrote nothing.
bool WindowModel::TrySave(SettingsStore& store) noexcept {
  try {
    return store.Save(ModesToSave());
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void WindowModel::SettingsSaved() noexcept {
  settingsDirty_ = false;
  display_.SetItemState(MenuItem::SaveSettings, ItemState::Grayed);
}

void WindowModel::TellNotSaved(SettingsStore& store) noexcept {
  Guarded(0, [&] {
    const Text text = SettingsNotSavedText(store.Location());
    display_.ShowMessage(SettingsNotSavedMessage(text));
    return 0;
  });
}

void WindowModel::MarkSettingsDirty() noexcept {
  settingsDirty_ = true;
  display_.SetItemState(MenuItem::SaveSettings, ItemState::Unchecked);
}

// The title is always the four fields joined by ": ": the pending operator's mode text and
// the fields of auto-expand, auto mode and always-on-top (empty while off).
void WindowModel::RefreshTitle() noexcept {
  Text& title = nextTitle_;
  title.clear();
  AppendModeText(title, calculator_.State().pendingOperator);
  for (const ModeRow& row : kModes) {
    if (row.title != nullptr) {
      title += u": ";
      title += modes_.*row.flag ? row.title : u"";
    }
  }
  if (!titleShown_ || title != shownTitle_) {
    display_.SetTitle(title);
    shownTitle_.swap(title);
    titleShown_ = true;
  }
}

void WindowModel::RefreshRowStatus() noexcept {
  Text& status = nextStatus_;
  status.clear();
  status += kProgramName;
  status += u": 現在の表示行数 = [";
  AppendInt(status, tape_.RowCapacity());
  status += u"] 行";
  ShowStatus(status);
}

void WindowModel::ShowStatus(TextView text) noexcept {
  if (text == shownStatus_) {
    return;
  }
  if (text.data() != nextStatus_.data()) {
    nextStatus_.assign(text.data(), text.size());
  }
  display_.SetStatusText(nextStatus_);
  shownStatus_.swap(nextStatus_);
}

void WindowModel::ShowPanes() noexcept {
  display_.SetPaneText(PaneId::Input, tape_.InputPane().Displayed());
  display_.SetPaneText(PaneId::Total, tape_.TotalPane().Displayed());
}

}  // namespace tapecount
