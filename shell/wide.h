// Conversions between the portable code's UTF-16 text and Win32's wide strings.
#pragma once

#include <windows.h>

#include <string>

#include "core/text.h"

namespace tapecount {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");

// The text as Win32 takes it, without a copy: the same UTF-16 units, terminated.
inline const wchar_t* WinText(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* WinText(TextTail text) {
  return reinterpret_cast<const wchar_t*>(text.data);
}

inline std::wstring Wide(TextView text) {
  return std::wstring(text.begin(), text.end());
}
inline Text ToText(std::wstring_view text) {
  return Text(text.begin(), text.end());
}

// A window's whole text, however long.
inline std::wstring ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace tapecount
