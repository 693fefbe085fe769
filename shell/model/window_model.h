// The main window's own rules, without the window system: the four modes with their
// switches and toggles, the title, the menu marks, the size keys and their bounds, the size
// handling that fits the tape to the window, the screen-row checks' results, undo and
// clear-all, transparency's pointer tracking, and the settings' modes. It takes events in
// the program's own terms and tells the Display what to show and which size to take.
#pragma once

#include <optional>

#include "core/calculator.h"
#include "core/display.h"
#include "core/release.h"
#include "history/tape.h"

namespace tapecount {

inline constexpr char16_t kProgramName[] = u"テプカン";
// The status bar's text until the first size handling.
inline constexpr char16_t kStartupStatus[] = u"テプカン: 履歴表示計算機 for windows";

// The main window's outer size when it opens and after a clear-all.
inline constexpr WindowSize kInitialSize{275, 297};
// The window's outer height taken by everything but the history rows.
inline constexpr int kNonRowHeight = 171;

// The rows a window would hold if it reached from `top` down to the bottom of a maximised
// window `maximisedHeight` high; truncated toward zero, so it may be 0 or negative.
int ScreenRowLimit(int maximisedHeight, int top, int rowHeight);

// The history panes' places in a client area of this size.
PaneRect InputPaneRect(int clientWidth, int clientHeight);
PaneRect TotalPaneRect(int clientWidth, int clientHeight);

// Printing: the page-setup margins in thousandths of an inch, each cut to whole inches, on a
// device with these capabilities give the printed area in device pixels.
struct PrintDevice {
  int pixelsPerInchX, pixelsPerInchY;  // LOGPIXELSX, LOGPIXELSY
  int offsetX, offsetY;                // PHYSICALOFFSETX, PHYSICALOFFSETY
  int width, height;                   // HORZRES, VERTRES
};
struct Box {
  int left, top, right, bottom;
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
Box PrintRectangle(const PrintDevice& device, const Box& margins);

struct ModeFlags {
  bool autoExpand = false;
  bool autoMode = false;
  bool topmost = false;
  bool transparent = false;
};

// The modes and the single-instance guard as the settings file keeps them.
struct StoredModes {
  bool autoExpand = false;
  bool autoMode = false;
  bool topmost = false;
  bool singleInstance = false;
  bool transparent = false;
};

// What the entry box does with a key-down.
enum class EntryKey {
  Handled,  // consumed; the window procedure's result is 1
  Refused,  // consumed; the result is 0
  PassOn,   // for the edit control's own procedure
};

class WindowModel {
 public:
  WindowModel(Display& display, const Release& release);
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  // --- Events from the window.
  // Window creation: zeros on both stacks; the size handling that follows lays the panes
  // out without re-fitting them.
  void Created();
  // Every size change except a minimisation (which changes nothing).
  void Sized(int clientWidth, int clientHeight);
  void Moved();
  EntryKey EntryBoxKey(int vk);
  // Keys that are not the calculator's, from the entry box or the main window; true when
  // consumed.
  bool ShortcutKey(int vk);
  // A mouse button pressed over the main window; returns the window procedure's result.
  int MouseButton(bool left);
  // A mouse move over the main window; `inside`: within its window rectangle. False when
  // this release does not track the pointer (the move is the window system's).
  bool PointerMoved(bool inside);
  void FadeStep(int alpha);
  void ScreenRowLimitComputed(int limit, unsigned generation);

  // --- Commands.
  void ToggleAutoExpand();
  void ToggleAutoMode();
  void ToggleTopmost();
  void ToggleTransparency();
  // The history to the clipboard, with the outcome in the status bar.
  void TransferHistory();
  Text PrintedHistory() const;

  // --- Switches: flag, title and menu mark; they never mark the settings.
  void AutoExpandOn();
  void AutoExpandOff();
  void AutoModeOn();
  void AutoModeOff();
  void TopmostOn();
  void TopmostOff();
  void TransparencyOn();
  void TransparencyOff();

  // --- Settings.
  // Start-up, before the window exists.
  void SetSingleInstance(bool on) { singleInstance_ = on; }
  bool SingleInstance() const { return singleInstance_; }
  // Right after the window is shown: every mode on or off as stored, nothing unsaved.
  void ApplySettings(const StoredModes& stored);
  StoredModes ModesToSave() const;
  void SettingsSaved();
  // Nothing reached the file at `path`: the user is told, and what was unsaved stays so.
  void SettingsNotSaved(const Text& path);
  // Command 178's share around its save: the guard flips; when the save fails it flips back.
  void ToggleSingleInstance();

  // --- State, for the shell and the tests.
  const ModeFlags& Modes() const { return modes_; }
  int ScreenRowLimit() const { return screenRowLimit_; }
  bool SettingsDirty() const { return settingsDirty_; }
  bool PointerInside() const { return pointerInside_; }
  WindowSize StoredSize() const { return stored_; }
  bool RefitSuppressed() const { return suppressRefit_; }
  // Every screen-row check asked for so far has reported.
  bool ScreenRowChecksSettled() const { return !checkRunning_ && !checkWanted_; }
  const Tape& GetTape() const { return tape_; }
  const Calculator& GetCalculator() const { return calculator_; }

 private:
  struct ShortcutRow {
    int vk;
    void (WindowModel::*action)();
    bool consumed;   // false: the key goes on to the control that had it
    bool needsUndo;  // a release without entry history has no such row
  };
  static const ShortcutRow kShortcuts[];

  void AppendHistoryLines(const AppliedEntry& lines);
  bool GrowForRow(int row);
  void UndoLastEntry();
  void ClearAll();
  void FocusEntry();
  void Quit();
  void ShrinkByOneRow();
  void GrowByOneRow();
  void Narrow();
  void Widen();
  void ResizeKeepingTopmost(WindowSize size, bool topmost);
  void StartScreenRowCheck();
  void MarkSettingsDirty();
  void RefreshTitle();
  void RefreshRowStatus();
  void SetStatus(const Text& text);
  void ShowPanes();

  Display& display_;
  const Release& release_;
  Calculator calculator_;
  Tape tape_;

  ModeFlags modes_;
  int screenRowLimit_ = 0;  // 0 until the first check has reported
  bool pointerInside_ = false;
  bool settingsDirty_ = false;
  bool singleInstance_ = false;

  WindowSize stored_{0, 0};  // as of the last size handling
  // The size handling that follows creation lays the panes out without re-fitting them; so
  // does the one that follows a one-row growth, whose new line is not yet on the panes.
  bool suppressRefit_ = true;

  // One check runs at a time: the moves and size changes while it runs are answered by one
  // more check when it reports, which reads the latest position. (A drag asks for hundreds;
  // each check is a thread of its own.) A result older than the one applied last is dropped.
  unsigned checksStarted_ = 0;
  unsigned lastCheckApplied_ = 0;
  bool checkRunning_ = false;
  bool checkWanted_ = false;

  // What the title bar and the status bar show: setting the same text again costs a repaint.
  std::optional<Text> shownTitle_;
  Text shownStatus_ = kStartupStatus;
};

}  // namespace tapecount
