// One history pane of the paper tape: its lines, oldest first, of which the first
// HiddenCount() have scrolled out of the top of the pane (the hidden lines) and the rest
// are displayed. Lines are kept without their CR LF; the pane text adds it.
#pragma once

#include <cstddef>
#include <vector>

#include "history/text.h"

namespace tapecount {

class Pane {
 public:
  explicit Pane(Text header);

  // Back to the header alone, nothing hidden.
  void Reset();

  // Moves the oldest displayed line to the end of the hidden lines; nothing when no line
  // is displayed.
  void ScrollOutTopLine();
  // Moves the most recently hidden line back to the top of the display; nothing when no
  // line is hidden.
  void RestoreHiddenLine();

  void AppendLine(Text line);
  void RemoveLastLine();

  std::size_t DisplayedCount() const { return lines_.size() - hidden_; }
  std::size_t HiddenCount() const { return hidden_; }
  // Hidden lines first, then displayed ones.
  const std::vector<Text>& Lines() const { return lines_; }
  const Text& LastLine() const { return lines_.back(); }

  // The text the pane window shows: every displayed line followed by CR LF.
  Text DisplayedText() const;
  // The hidden lines in the same form.
  Text HiddenText() const;

 private:
  Text Join(std::size_t from, std::size_t to) const;

  Text header_;
  std::vector<Text> lines_;
  std::size_t hidden_ = 0;
};

}  // namespace tapecount
