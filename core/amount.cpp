#include "core/amount.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace tapecount {

namespace {

// Stage 1: "%.2f", with the same digits on every platform (std::to_chars rounds the
// exact binary value; runtimes' printf implementations have not always agreed).
std::string RenderFixed2(double value) {
  if (std::isnan(value)) {
    return "nan";  // whatever its sign bit: 0/0 sets it on x86
  }
  // The largest double has 309 integer digits.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr);
}

// Stage 2: trims "x.00" to "x" and "x.y0" to "x.y", then groups the integer digits.
std::string TrimAndGroup(std::string s) {
  std::size_t intlen = s.find('.');
  if (intlen == std::string::npos) {
    intlen = s.size();
  }
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) {
    s.erase(0, 1);
    --intlen;
  }

  std::string trimmed;
  bool pointSeen = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (!pointSeen) {
      if (c == '.') {
        if (i + 2 < s.size() && s[i + 1] == '0' && s[i + 2] == '0') {
          break;
        }
        pointSeen = true;
      }
    } else if (c == '0' && i + 1 == s.size()) {
      break;
    }
    trimmed += c;
  }

  std::string grouped;
  grouped.reserve(trimmed.size() + trimmed.size() / 3 + 1);
  if (negative) {
    grouped += '-';
  }
  long long digitsLeft = static_cast<long long>(intlen);
  for (std::size_t j = 0; j < trimmed.size(); ++j) {
    if (j > 0 && digitsLeft % 3 == 0 && j < intlen) {
      grouped += ',';
    }
    grouped += trimmed[j];
    --digitsLeft;
  }
  return grouped;
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

Text FormatAmount(double value) {
  return Widen(TrimAndGroup(RenderFixed2(value)));
}

double ParseAmount(TextView text) {
  std::size_t i = 0;
  while (i < text.size() && IsAsciiSpace(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }

  // The longest prefix of the form digits [. digits] [e [sign] digits], at least one digit
  // in the mantissa.
  std::string number;
  long long intDigits = 0;
  long long firstSignificant = -1;  // index among the mantissa's digits
  long long mantissaDigits = 0;
  auto takeDigits = [&](bool integerPart) {
    while (i < text.size() && IsDigit(text[i])) {
      if (firstSignificant < 0 && text[i] != u'0') {
        firstSignificant = mantissaDigits;
      }
      number += static_cast<char>(text[i]);
      ++mantissaDigits;
      if (integerPart) {
        ++intDigits;
      }
      ++i;
    }
  };
  takeDigits(true);
  if (i < text.size() && text[i] == u'.') {
    number += '.';
    ++i;
    takeDigits(false);
  }
  if (mantissaDigits == 0) {
    return 0;
  }
  long long exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
      negativeExponent = text[j] == u'-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      number += negativeExponent ? "e-" : "e";
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        number += static_cast<char>(text[j]);
        if (exponent < 1000000) {
          exponent = exponent * 10 + (text[j] - u'0');
        }
      }
      if (negativeExponent) {
        exponent = -exponent;
      }
    }
  }

  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow gives an infinity and underflow 0, as strtod gives them.
    const long long magnitude = intDigits - firstSignificant + exponent;
    value = firstSignificant >= 0 && magnitude > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace tapecount
