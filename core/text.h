// UTF-16 text as the portable code keeps it; the shell converts at the window boundary.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

namespace tapecount {

using Text = std::u16string;
using TextView = std::u16string_view;

// The end of a Text from some position on: it ends where its string ends, so the string's
// terminator follows it and the window system can take it as it is, without a copy.
struct TextTail {
  const char16_t* data;
  std::size_t size;

  TextView View() const { return {data, size}; }
};

inline TextTail TailOf(const Text& text, std::size_t from) {
  return {text.c_str() + from, text.size() - from};
}

// ASCII to UTF-16, unit for unit.
inline Text Widen(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

// White space as the "C" locale has it: space, tab, line feed, vertical tab, form feed, CR.
inline bool IsAsciiSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Equal when A-Z and a-z are taken as the same, as the platform compares names.
inline bool SameIgnoringAsciiCase(TextView a, TextView b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// Appends the decimal digits of `value`, with a '-' when negative: no allocation when `out`
// has room for them. (std::to_chars: std::to_string would bring the C runtime's printf into
// each program for it.)
inline void AppendInt(Text& out, long long value) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(static_cast<const char*>(digits), end);
}

inline Text IntToText(long long value) {
  Text text;
  AppendInt(text, value);
  return text;
}

}  // namespace tapecount
