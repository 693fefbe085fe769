#include "history/pane.h"

#include <utility>

namespace tapecount {

Pane::Pane(Text header) : header_(std::move(header)) {
  Reset();
}

void Pane::Reset() {
  text_.clear();
  text_.shrink_to_fit();
  starts_.clear();
  starts_.shrink_to_fit();
  hidden_ = 0;
  AppendLine(header_);
}

void Pane::ScrollOutTopLine() {
  if (hidden_ < LineCount()) {
    ++hidden_;
  }
}

void Pane::RestoreHiddenLine() {
  if (hidden_ > 0) {
    --hidden_;
  }
}

void Pane::AppendLine(TextView line) {
  starts_.push_back(text_.size());
  text_ += line;
  text_ += u"\r\n";
}

void Pane::RemoveLastLine() {
  if (DisplayedCount() > 0) {
    text_.resize(starts_.back());
    starts_.pop_back();
  }
}

TextView Pane::Line(std::size_t i) const {
  const std::size_t start = StartOf(i);
  return TextView(text_).substr(start, StartOf(i + 1) - start - 2);
}

Text Pane::DisplayedText() const {
  return text_.substr(StartOf(hidden_));
}

Text Pane::HiddenText() const {
  return text_.substr(0, StartOf(hidden_));
}

}  // namespace tapecount
