#include "history/pane.h"

#include <utility>

namespace tapecount {

Pane::Pane(Text header) : header_(std::move(header)) {
  Reset();
}

void Pane::Reset() {
  lines_.clear();
  lines_.push_back(header_);
  hidden_ = 0;
}

void Pane::ScrollOutTopLine() {
  if (hidden_ < lines_.size()) {
    ++hidden_;
  }
}

void Pane::RestoreHiddenLine() {
  if (hidden_ > 0) {
    --hidden_;
  }
}

void Pane::AppendLine(Text line) {
  lines_.push_back(std::move(line));
}

void Pane::RemoveLastLine() {
  if (DisplayedCount() > 0) {
    lines_.pop_back();
  }
}

Text Pane::DisplayedText() const {
  return Join(hidden_, lines_.size());
}

Text Pane::HiddenText() const {
  return Join(0, hidden_);
}

Text Pane::Join(std::size_t from, std::size_t to) const {
  std::size_t length = 0;
  for (std::size_t i = from; i < to; ++i) {
    length += lines_[i].size() + 2;
  }
  Text text;
  text.reserve(length);
  for (std::size_t i = from; i < to; ++i) {
    text += lines_[i];
    text += u"\r\n";
  }
  return text;
}

}  // namespace tapecount
