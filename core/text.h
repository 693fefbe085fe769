// UTF-16 text as the portable code keeps it; the shell converts at the window boundary.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace tapecount {

using Text = std::u16string;
using TextView = std::u16string_view;

// ASCII to UTF-16, unit for unit.
inline Text Widen(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

// Decimal digits, with a '-' for a negative value. (std::to_chars: std::to_string would
// bring the C runtime's printf into each program for it.)
inline Text IntToText(long long value) {
  char digits[24];
  return Widen(
      std::string_view(digits, std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
}

}  // namespace tapecount
