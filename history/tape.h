// The paper tape: the input history pane (every applied entry with its operator sign) and
// the total history pane (the running total after each entry), line for line, fitted to
// the window's row capacity. Both panes always hold the same number of displayed and of
// hidden lines: every operation here acts on both.
#pragma once

#include "history/pane.h"
#include "history/tape_host.h"
#include "history/text.h"

namespace tapecount {

inline constexpr char16_t kInputHeader[] = u"入力履歴";
inline constexpr char16_t kTotalHeader[] = u"合計履歴";
inline constexpr char16_t kProgramName[] = u"テプカン";

// The main window's outer size when it opens and after a clear-all.
inline constexpr int kInitialWidth = 275;
inline constexpr int kInitialHeight = 297;
// The window's outer height taken by everything but the history rows.
inline constexpr int kNonRowHeight = 171;
// The size type of a minimisation (SIZE_MINIMIZED).
inline constexpr int kSizeMinimized = 1;

enum class UndoOutcome {
  AtHeader,   // the last displayed line is the header: nothing to take back
  Underflow,  // no complete earlier line in view: nothing changed
  Removed,    // both panes lost their last displayed line
};

enum class HistoryLayout { Clipboard, Print };

struct TapeGeometry {
  int rowHeight;            // pixels per history row
  int minShrinkableHeight;  // a window this tall or taller may lose a row
};

class Tape {
 public:
  Tape(TapeHost& host, TapeGeometry geometry);
  Tape(const Tape&) = delete;
  Tape& operator=(const Tape&) = delete;

  // Adds one line to each pane after an applied entry, scrolling both panes or growing
  // the window by a row first when they are full.
  void AppendHistoryLines(const Text& entryLine, const Text& totalLine);
  // Shows the row capacity in the status bar.
  void RefreshRowStatus();
  // The main window's size handling; returns the window procedure's result.
  int HandleSize(int sizeType, int clientWidth, int clientHeight);

  // Undo's share: both panes lose their last displayed line unless it is the header or
  // there is no earlier line in view.
  UndoOutcome TakeBackLastLine();
  // One row shorter when the window is tall enough (undo, Page Up); one row taller.
  void ShrinkByOneRow();
  void GrowByOneRow();
  void RestoreInitialSize();
  // Clear-all's share: the headers alone, nothing hidden, one displayed row.
  void Reset();

  // Both panes side by side, hidden rows first: input cell, separator, total cell, CR LF.
  Text ComposeHistoryText(HistoryLayout layout) const;

  int RowCapacity() const { return rowCapacity_; }
  int DisplayedRowCount() const { return displayedRowCount_; }
  int StoredHeight() const { return storedHeight_; }
  int StoredWidth() const { return storedWidth_; }
  bool RefitSuppressed() const { return suppressRefit_; }
  const Pane& InputPane() const { return input_; }
  const Pane& TotalPane() const { return total_; }

 private:
  Pane& PaneFor(PaneId id) { return id == PaneId::Input ? input_ : total_; }
  void FitPane(PaneId id);
  void ScrollBothPanes();
  void ShowBothPanes();

  TapeHost& host_;
  const TapeGeometry geometry_;
  Pane input_{kInputHeader};
  Pane total_{kTotalHeader};
  int storedHeight_ = 0;
  int storedWidth_ = 0;
  int rowCapacity_ = 0;
  int displayedRowCount_ = 1;
  // The size handling that follows window creation lays the panes out without re-fitting
  // them; so does the one that follows a one-row growth, whose new line is not yet shown.
  bool suppressRefit_ = true;
};

}  // namespace tapecount
