// ParseAmount of any UTF-16 text: it reads only the text it is given (the buffer is exactly
// that long, under AddressSanitizer) and accepts what the "C"-locale strtod accepts, giving
// the same double, except for the forms it deliberately leaves out (hexadecimal, inf, nan).
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/amount.h"

namespace {

bool LeftOut(const std::string& narrow) {
  std::size_t i = 0;
  while (i < narrow.size() && std::isspace(static_cast<unsigned char>(narrow[i]))) {
    ++i;
  }
  if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) {
    ++i;
  }
  std::string start = narrow.substr(i, 3);
  for (char& c : start) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return start.rfind("0x", 0) == 0 || start == "inf" || start == "nan";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::size_t units = size / 2;
  std::unique_ptr<char16_t[]> text(new char16_t[units]);  // exactly as long as the input
  std::memcpy(text.get(), data, units * 2);
  const double parsed = tapecount::ParseAmount(tapecount::TextView(text.get(), units));

  // The same text for strtod: ASCII as it is, anything else a character that stops it.
  std::string narrow;
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = text[i];
    narrow += c > 0 && c < 0x80 ? static_cast<char>(c) : '\x01';
  }
  if (LeftOut(narrow)) {
    return 0;
  }
  const double expected = std::strtod(narrow.c_str(), nullptr);
  if (std::memcmp(&parsed, &expected, sizeof parsed) != 0) {
    std::abort();
  }
  return 0;
}
