#include "history/tape.h"

#include <algorithm>

namespace tapecount {

namespace {

// Appends rows of two columns, lines [from, to) of each pane: first cell, separator, second
// cell with CR LF. A column that runs out gives empty cells; a row without a second cell
// ends in a bare LF.
void AppendRows(Text& out, const Pane& first, std::size_t firstFrom, std::size_t firstTo,
                const Pane& second, std::size_t secondFrom, std::size_t secondTo,
                TextView separator) {
  const std::size_t rows = std::max(firstTo - firstFrom, secondTo - secondFrom);
  for (std::size_t row = 0; row < rows; ++row) {
    if (firstFrom + row < firstTo) {
      out += first.Line(firstFrom + row);
    }
    out += separator;
    if (secondFrom + row < secondTo) {
      out += second.Line(secondFrom + row);
      out += u'\r';
    }
    out += u'\n';
  }
}

}  // namespace

void Tape::Fit() noexcept {
  FitPane(input_);
  FitPane(total_);
}

void Tape::ReserveLines(TextView entryLine, TextView totalLine) {
  input_.ReserveLine(entryLine.size());
  total_.ReserveLine(totalLine.size());
}

void Tape::AppendLines(TextView entryLine, TextView totalLine, bool scrollFirst) noexcept {
  ++displayedRowCount_;
  if (scrollFirst) {
    input_.ScrollOutTopLine();
    total_.ScrollOutTopLine();
    displayedRowCount_ = rowCapacity_;
  }
  input_.AppendLine(entryLine);
  total_.AppendLine(totalLine);
}

UndoOutcome Tape::TakeBackLastLine() noexcept {
  // Judged on the lines in view, as the user sees them: the line before the last must be
  // displayed too, since it becomes the last one. The header is the first line of all.
  const std::size_t shown = input_.DisplayedCount();
  if (shown > 0 && input_.LineCount() == 1) {
    return UndoOutcome::AtHeader;
  }
  if (shown < 2) {
    return UndoOutcome::Underflow;
  }
  input_.RemoveLastLine();
  total_.RemoveLastLine();
  --displayedRowCount_;
  return UndoOutcome::Removed;
}

void Tape::Reset() noexcept {
  input_.Reset();
  total_.Reset();
  displayedRowCount_ = 1;
}

Text Tape::ComposeHistoryText(TextView separator) const {
  // At most both panes' texts and a separator per row.
  const std::size_t rows = std::max(input_.LineCount(), total_.LineCount());
  Text out;
  out.reserve(input_.TextSize() + total_.TextSize() + rows * separator.size());
  const std::size_t inputHidden = input_.HiddenCount();
  const std::size_t totalHidden = total_.HiddenCount();
  AppendRows(out, input_, 0, inputHidden, total_, 0, totalHidden, separator);
  AppendRows(out, input_, inputHidden, input_.LineCount(), total_, totalHidden, total_.LineCount(),
             separator);
  return out;
}

void Tape::FitPane(Pane& pane) noexcept {
  const long long lineCount = static_cast<long long>(pane.DisplayedCount());
  const long long hiddenCount = static_cast<long long>(pane.HiddenCount());
  displayedRowCount_ = static_cast<int>(lineCount);
  if (lineCount > rowCapacity_) {
    // With a capacity of 0 or less every line goes: scrolling past the last does nothing.
    const long long excess = std::min(lineCount - rowCapacity_, lineCount);
    for (long long i = 0; i < excess; ++i) {
      pane.ScrollOutTopLine();
    }
    displayedRowCount_ = rowCapacity_;
  } else if (hiddenCount > 0) {
    const long long k = std::min(rowCapacity_ - lineCount, hiddenCount);
    for (long long i = 0; i < k; ++i) {
      ++displayedRowCount_;
      pane.RestoreHiddenLine();
    }
  }
}

}  // namespace tapecount
