// FormatAmount of any double: well formed, and reads back as the value to two decimals.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <regex>
#include <string>

#include "core/amount.h"
#include "fuzz/check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double value = 0;
  std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
  const tapecount::Text text = tapecount::FormatAmount(value);
  // Optional '-', digit groups of three separated by commas (the first of one to three), at
  // most two decimals without a trailing zero; or "inf", "-inf", "nan".
  static const std::regex kWellFormed(R"(-?(inf|\d{1,3}(,\d{3})*(\.\d?[1-9])?)|nan)");
  std::string narrow;
  tapecount::Text digits;
  for (char16_t c : text) {
    narrow += c < 128 ? static_cast<char>(c) : '?';
    if (c != u',') {
      digits += c;
    }
  }
  CHECK(std::regex_match(narrow, kWellFormed));
  // Never more than half a hundredth away, plus the decimal text's own rounding.
  const double tolerance = 0.005 * (1 + 1e-9) + std::fabs(value) * 4e-16;
  CHECK(!std::isfinite(value) || std::fabs(tapecount::ParseAmount(digits) - value) <= tolerance);
  return 0;
}
