#include "history/pane.h"

namespace tapecount {

Pane::Pane(TextView header) {
  ReserveLine(header.size());
  AppendLine(header);
}

void Pane::Reset() noexcept {
  text_.resize(StartOf(1));
  starts_.resize(1);
  hidden_ = 0;
  // A day's tape, let go of; kept where letting go would need memory.
  text_.shrink_to_fit();
  starts_.shrink_to_fit();
}

void Pane::ScrollOutTopLine() noexcept {
  if (hidden_ < LineCount()) {
    ++hidden_;
  }
}

void Pane::RestoreHiddenLine() noexcept {
  if (hidden_ > 0) {
    --hidden_;
  }
}

void Pane::ReserveLine(std::size_t length) {
  // Both grow geometrically, so a long tape costs a few copies, not one per line.
  if (text_.capacity() - text_.size() < length + 2) {
    text_.reserve(text_.size() + length + 2);
  }
  if (starts_.size() == starts_.capacity()) {
    starts_.reserve(starts_.size() * 2 + 8);
  }
}

void Pane::AppendLine(TextView line) noexcept {
  starts_.push_back(text_.size());
  text_ += line;
  text_ += u"\r\n";
}

void Pane::RemoveLastLine() noexcept {
  if (DisplayedCount() > 0) {
    text_.resize(starts_.back());
    starts_.pop_back();
  }
}

TextView Pane::Line(std::size_t i) const {
  const std::size_t start = StartOf(i);
  return TextView(text_).substr(start, StartOf(i + 1) - start - 2);
}

}  // namespace tapecount
