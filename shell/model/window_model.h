// The main window's own rules, without the window system: the four modes with their
// switch and toggle, the title, the menu marks, the size keys and their bounds, the size
// handling that fits the tape to the window, the screen-row checks' results, undo and
// clear-all, transparency's pointer tracking, and the settings' modes. It takes events in
// the program's own terms and tells the Display what to show and which size to take.
#pragma once

#include <new>

#include "core/calculator.h"
#include "core/display.h"
#include "core/release.h"
#include "history/tape.h"
#include "shell/model/journal.h"
#include "shell/model/screen.h"

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
Box PrintRectangle(const PrintDevice& device, const Box& margins);

struct ModeFlags {
  bool autoExpand = false;
  bool autoMode = false;
  bool topmost = false;
  bool transparent = false;
};
// The modes in the title's order, which is also their function keys' (F1 to F4).
enum class Mode { AutoExpand, AutoMode, Topmost, Transparency };

// The modes and the single-instance guard, as the settings file keeps them.
struct StoredModes {
  ModeFlags modes;
  bool singleInstance = false;
};

// Where the settings are kept: the settings file, which the shell reads and writes.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Writes every setting (these and the shell's own), keeping whatever else the file holds;
  // false when nothing reached the file.
  virtual bool Save(const StoredModes& stored) = 0;
  // Where the settings are kept, for the user.
  virtual Text Location() const = 0;
};

// A pointer move over the main window, as the window system reports it.
struct PointerMove {
  // The pointer's client coordinates as the message carries them: 16 bits each, unsigned,
  // so left of or above the client area reads as far right or below.
  unsigned x, y;
  int clientLeft, clientTop;  // where the client area starts on the screen
  Box window;                 // the window's rectangle on the screen, frame included
};

// Transparency's fades step the alpha by this much, this often.
inline constexpr int kFadeAlphaStep = 5;
inline constexpr int kFadeStepMs = 10;
// A fade-out waits this long before its first step.
inline constexpr int kFadeOutWaitMs = 150;

// What the entry box does with a key-down.
enum class EntryKey {
  Handled,  // consumed; the window procedure's result is 1
  Refused,  // consumed; the result is 0
  PassOn,   // for the edit control's own procedure
};

// Every event and command runs whole or not at all: what it needs is made ready before
// anything changes, so when memory runs out the window is as it was, and "memory allocate
// error!" says why.
class WindowModel {
 public:
  // Throws std::bad_alloc when there is no memory for the model's own texts.
  WindowModel(Display& display, const Release& release);
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  // --- Events from the window.
  // Window creation: zeros on both stacks, the panes' headers; the size handling that
  // follows lays the panes out without re-fitting them. False when there is no memory for
  // the stacks: the window cannot be made.
  bool Created() noexcept;
  // Every size change except a minimisation (which changes nothing).
  void Sized(int clientWidth, int clientHeight) noexcept;
  void Moved() noexcept;
  EntryKey EntryBoxKey(int vk) noexcept;
  // Keys that are not the calculator's, from the entry box or the main window; true when
  // consumed.
  bool ShortcutKey(int vk) noexcept;
  // A mouse button pressed over the main window; returns the window procedure's result.
  int MouseButton(bool left) noexcept;
  // False when this release does not track the pointer (the move is the window system's).
  bool PointerMoved(const PointerMove& move) noexcept;
  void FadeStep(Fade fade, unsigned session, int step) noexcept;
  void FadeEnded(Fade fade, unsigned session) noexcept;
  void ScreenRowLimitComputed(int limit, unsigned generation) noexcept;
  // Something of the shell's own ran out of memory: the user is told.
  void OutOfMemory() noexcept;

  // --- Commands.
  // A mode's menu item or function key: the mode on if off, off if on, and the settings
  // unsaved. In auto mode with no room left below the window, auto-expand stays as it is.
  void ToggleMode(Mode mode) noexcept;
  // The history to the clipboard, with the outcome in the status bar.
  void TransferHistory() noexcept;
  // Throws std::bad_alloc when there is no memory for it.
  Text PrintedHistory() const;

  // --- A mode on or off: its flag, the title, its menu mark and what the mode does (topmost
  // places the window in its band; transparency sets the alpha, and off, ends the fades and
  // lets go of the pointer). The settings are not marked. In auto mode with no room left
  // below the window, auto-expand does not come on.
  void SetMode(Mode mode, bool on) noexcept;

  // --- Settings.
  // Start-up, before the window exists.
  void SetSingleInstance(bool on) { singleInstance_ = on; }
  bool SingleInstance() const { return singleInstance_; }
  // Right after the window is shown: every mode on or off as stored, nothing unsaved.
  void ApplySettings(const StoredModes& stored) noexcept;
  StoredModes ModesToSave() const { return {modes_, singleInstance_}; }
  // The save-settings command: every setting to the store; when nothing reached it the user
  // is told, and what was unsaved stays so.
  void SaveSettings(SettingsStore& store) noexcept;
  // The single-instance command: the guard flips and is saved at once with everything else;
  // when the save fails it flips back.
  void ToggleSingleInstance(SettingsStore& store) noexcept;

  // --- The session's end, and the start after it.
  // The tape as the session journal keeps it, written to `out` as it is made: this takes no
  // memory, so the tape can be kept when memory has run out.
  void WriteTapeJournal(ByteSink& out) const;
  // A fresh window takes a journal's tape: its entries applied again in order, as if typed
  // (what does not fit scrolls out of view; nothing grows), then its pending operator. False,
  // the window left empty, when the journal is not this release's tape (an entry does not
  // give the row the journal shows) or memory runs out (which is said).
  bool RestoreTape(const Journal& journal) noexcept;

  // --- State, for the shell and the tests.
  const ModeFlags& Modes() const { return modes_; }
  int ScreenRowLimit() const { return screenRowLimit_; }
  bool SettingsDirty() const { return settingsDirty_; }
  bool PointerInside() const { return pointerInside_; }
  bool FadeRunning(Fade fade) const { return fadeRunning_[Index(fade)]; }
  WindowSize StoredSize() const { return stored_; }
  // Every screen-row check asked for so far has reported.
  bool ScreenRowChecksSettled() const { return !checkRunning_ && !checkWanted_; }
  const Tape& GetTape() const { return tape_; }
  const Calculator& GetCalculator() const { return calculator_; }

 private:
  struct ShortcutRow {
    int vk;
    void (WindowModel::*action)();
  };
  static const ShortcutRow kShortcuts[];
  struct ModeRow {
    bool ModeFlags::*flag;
    const char16_t* title;  // the title's field while on; none: not in the title
    MenuItem item;
    void (WindowModel::*effect)(bool on);  // what else the mode does, if anything
    bool heldWithoutRoom;                  // in auto mode with no room below, stays as it is
  };
  static const ModeRow kModes[];
  static int Index(Fade fade) { return fade == Fade::In ? 0 : 1; }

  // Runs an event; when memory runs out in it, says so and gives `refused`.
  template <typename Result, typename Event>
  Result Guarded(Result refused, Event event) noexcept {
    try {
      return event();
    } catch (const std::bad_alloc&) {
      OutOfMemory();
      return refused;
    }
  }

  enum class Entered { Typed, Replayed };

  EntryKey HandleEntryBoxKey(int vk);
  // Throws std::bad_alloc, having changed nothing, when there is no room for the entry's lines.
  void ApplyEntry(const PreparedEntry& entry, Entered how);
  bool GrowForRow(int row) noexcept;
  void UndoLastEntry();
  void ClearAll();
  // The whole history to the clipboard; false when the clipboard could not be had. Throws
  // std::bad_alloc when there is no memory for the text.
  bool CopyHistory();
  void FocusEntry();
  void Quit();
  void ShrinkByOneRow();
  void GrowByOneRow();
  void Narrow();
  void Widen();
  void ResizeKeepingTopmost(WindowSize size) noexcept;
  void PlaceInBand(bool topmost) noexcept;
  void SetTransparency(bool on) noexcept;
  bool NoRoomBelowInAutoMode() const;
  void StartScreenRowCheck() noexcept;
  void StartFade(Fade fade) noexcept;
  int FadeAlpha(Fade fade, int step) const;
  void MarkSettingsDirty() noexcept;
  // False when nothing reached the store.
  bool TrySave(SettingsStore& store) noexcept;
  void SettingsSaved() noexcept;
  void TellNotSaved(SettingsStore& store) noexcept;
  void RefreshTitle() noexcept;
  void RefreshRowStatus() noexcept;
  void ShowStatus(TextView text) noexcept;
  void ShowPanes() noexcept;
  // False, part of the tape applied, at the first entry that is not this release's.
  bool Replay(const std::vector<JournalEntry>& entries);
  std::optional<PreparedEntry> PrepareReplayed(const JournalEntry& entry);
  void Clear() noexcept;

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

  // One fade of each kind at a time. Turning transparency off ends the session: the fades
  // of an ended session stop, and their steps still on their way are dropped.
  bool fadeRunning_[2] = {false, false};
  unsigned fadeSession_ = 0;

  // What the title bar and the status bar show, and where the next is composed: their room
  // is made once, so showing needs no memory. Setting the same text again costs a repaint.
  Text shownTitle_, nextTitle_, shownStatus_, nextStatus_;
  bool titleShown_ = false;
};

}  // namespace tapecount
