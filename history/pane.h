// One history pane of the paper tape: its lines, oldest first, of which the first
// HiddenCount() have scrolled out of the top of the pane (the hidden lines) and the rest
// are displayed. Line 0 is the pane's header. The lines are kept as one text, each with its
// CR LF, as the pane shows them: a long tape costs little more than its text.
#pragma once

#include <cstddef>
#include <vector>

#include "core/text.h"

namespace tapecount {

class Pane {
 public:
  explicit Pane(TextView header);

  // Back to the header alone, nothing hidden. Needs no memory.
  void Reset() noexcept;

  // Moves the oldest displayed line to the end of the hidden lines; nothing when no line
  // is displayed.
  void ScrollOutTopLine() noexcept;
  // Moves the most recently hidden line back to the top of the display; nothing when no
  // line is hidden.
  void RestoreHiddenLine() noexcept;

  // Makes room for one more line of this length, so that appending it cannot fail; throws
  // std::bad_alloc, the pane unchanged, when no memory can be had.
  void ReserveLine(std::size_t length);
  // Only after ReserveLine for it.
  void AppendLine(TextView line) noexcept;
  void RemoveLastLine() noexcept;

  std::size_t LineCount() const { return starts_.size(); }
  std::size_t DisplayedCount() const { return LineCount() - hidden_; }
  std::size_t HiddenCount() const { return hidden_; }
  // Line i, hidden lines first, without its CR LF.
  TextView Line(std::size_t i) const;

  // What the pane window shows: every displayed line followed by CR LF.
  TextTail Displayed() const { return TailOf(text_, StartOf(hidden_)); }
  // The length of every line with its CR LF, hidden or displayed.
  std::size_t TextSize() const { return text_.size(); }

 private:
  std::size_t StartOf(std::size_t line) const {
    return line < starts_.size() ? starts_[line] : text_.size();
  }

  Text text_;
  std::vector<std::size_t> starts_;  // where each line begins in text_
  std::size_t hidden_ = 0;
};

}  // namespace tapecount
