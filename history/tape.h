// The paper tape: the input history pane (every applied entry with its operator sign) and
// the total history pane (the running total after each entry), line for line, fitted to a
// row capacity. Both panes always hold the same number of displayed and of hidden lines:
// every operation here acts on both. The tape only keeps texts and counts; the window model
// shows them and decides when the window grows.
#pragma once

#include "core/text.h"
#include "history/pane.h"

namespace tapecount {

inline constexpr char16_t kInputHeader[] = u"入力履歴";
inline constexpr char16_t kTotalHeader[] = u"合計履歴";
// What joins the two columns of a printed history.
inline constexpr char16_t kPrintSeparator[] = u"   ";

enum class UndoOutcome {
  AtHeader,   // the last displayed line is the header: nothing to take back
  Underflow,  // no complete earlier line in view: nothing changed
  Removed,    // both panes lost their last displayed line
};

class Tape {
 public:
  Tape() = default;
  Tape(const Tape&) = delete;
  Tape& operator=(const Tape&) = delete;

  // How many lines, header included, the panes have room for; may be 0 or less.
  int RowCapacity() const { return rowCapacity_; }
  void SetRowCapacity(int rows) { rowCapacity_ = rows; }
  // How many lines the panes show now, header included (as last counted: a fit counts them).
  int DisplayedRowCount() const { return displayedRowCount_; }

  // Both panes show as many lines as the row capacity allows: the oldest lines scroll into
  // the hidden lines, or the most recently hidden come back.
  void Fit() noexcept;
  // Makes room for one line on each pane, so that appending them cannot fail; throws
  // std::bad_alloc, the tape unchanged, when no memory can be had.
  void ReserveLines(TextView entryLine, TextView totalLine);
  // One line on each pane after an applied entry (room made for them); when `scrollFirst`,
  // both panes first scroll their oldest displayed line out, and the count becomes the row
  // capacity.
  void AppendLines(TextView entryLine, TextView totalLine, bool scrollFirst) noexcept;
  // Undo's share: both panes lose their last displayed line unless it is the header or
  // there is no earlier line in view.
  UndoOutcome TakeBackLastLine() noexcept;
  // Clear-all's share: the headers alone, nothing hidden, one displayed row. Needs no memory.
  void Reset() noexcept;

  // Both panes side by side, hidden rows first: input cell, separator, total cell, CR LF.
  Text ComposeHistoryText(TextView separator) const;

  const Pane& InputPane() const { return input_; }
  const Pane& TotalPane() const { return total_; }

 private:
  void FitPane(Pane& pane) noexcept;

  Pane input_{kInputHeader};
  Pane total_{kTotalHeader};
  int rowCapacity_ = 0;
  int displayedRowCount_ = 1;
};

}  // namespace tapecount
