// UTF-16 text as the portable code keeps it; the shell converts at the window boundary.
#pragma once

#include <string>
#include <string_view>

namespace tapecount {

using Text = std::u16string;
using TextView = std::u16string_view;

// ASCII to UTF-16, unit for unit.
inline Text Widen(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

inline Text IntToText(long long value) {
  return Widen(std::to_string(value));
}

}  // namespace tapecount
