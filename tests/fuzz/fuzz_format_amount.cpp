// FormatAmount of any double: the text is well formed and reads back as the value rounded
// to two decimals.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/amount.h"

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Optional '-', digit groups of three separated by commas (the first of one to three), then
// at most two decimals without a trailing zero; or "inf", "-inf", "nan".
bool WellFormed(const tapecount::Text& text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == u'-') {
    ++i;
  }
  const tapecount::Text rest = text.substr(i);
  if (rest == u"inf") {
    return true;
  }
  if (rest == u"nan") {
    return i == 0;
  }
  // The first group has one to three digits, every later one three.
  const auto groupIsRight = [](std::size_t length, std::size_t index) {
    return index == 0 ? length >= 1 && length <= 3 : length == 3;
  };
  std::size_t groupLength = 0;
  std::size_t groups = 0;
  for (; i < text.size() && text[i] != u'.'; ++i) {
    if (text[i] == u',') {
      if (!groupIsRight(groupLength, groups)) {
        return false;
      }
      ++groups;
      groupLength = 0;
    } else if (IsDigit(text[i])) {
      ++groupLength;
    } else {
      return false;
    }
  }
  if (!groupIsRight(groupLength, groups)) {
    return false;
  }
  if (i == text.size()) {
    return true;
  }
  const std::size_t decimals = text.size() - i - 1;
  if (decimals < 1 || decimals > 2 || text.back() == u'0') {
    return false;
  }
  for (std::size_t j = i + 1; j < text.size(); ++j) {
    if (!IsDigit(text[j])) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double value = 0;
  std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
  const tapecount::Text text = tapecount::FormatAmount(value);
  if (!WellFormed(text)) {
    std::abort();
  }
  if (std::isfinite(value)) {
    tapecount::Text digits;
    for (char16_t c : text) {
      if (c != u',') {
        digits += c;
      }
    }
    const double back = tapecount::ParseAmount(digits);
    // Rounded to two decimals: never more than half a hundredth away (plus the rounding of
    // the decimal text itself).
    const double tolerance = 0.005 * (1 + 1e-9) + std::fabs(value) * 4e-16;
    if (!(std::fabs(back - value) <= tolerance)) {
      std::abort();
    }
  }
  return 0;
}
