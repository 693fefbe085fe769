// ParseAmount of any text (an exact-length buffer) gives strtod's double, but for hex, inf, nan.
#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/amount.h"
#include "fuzz/check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::size_t units = size / 2;
  std::unique_ptr<char16_t[]> text(new char16_t[units]);  // exactly as long as the input
  std::memcpy(text.get(), data, units * 2);
  const double parsed = tapecount::ParseAmount(tapecount::TextView(text.get(), units));

  // The same text for strtod: ASCII as it is, anything else a character that stops it.
  std::string narrow;
  for (char16_t c : tapecount::TextView(text.get(), units)) {
    narrow += c > 0 && c < 0x80 ? static_cast<char>(c) : '\x01';
  }
  const double expected = std::strtod(narrow.c_str(), nullptr);
  std::size_t i = std::min(narrow.find_first_not_of(" \t\n\v\f\r"), narrow.size());
  i += i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-');
  const char* start = narrow.c_str() + i;
  const bool leftOut = strncasecmp(start, "0x", 2) == 0 || strncasecmp(start, "inf", 3) == 0 ||
                       strncasecmp(start, "nan", 3) == 0;
  CHECK(leftOut || std::memcmp(&parsed, &expected, sizeof parsed) == 0);
  return 0;
}
