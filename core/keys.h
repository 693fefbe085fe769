// Virtual-key codes the core and the shortcut table act on (the Win32 values).
#pragma once

namespace tapecount {

inline constexpr int kVkBack = 8;
inline constexpr int kVkReturn = 13;
inline constexpr int kVkControl = 17;
inline constexpr int kVkPrior = 33;
inline constexpr int kVkNext = 34;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkDelete = 46;
inline constexpr int kVkMultiply = 106;
inline constexpr int kVkAdd = 107;
inline constexpr int kVkSubtract = 109;
inline constexpr int kVkDecimal = 110;
inline constexpr int kVkDivide = 111;
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF2 = 113;
inline constexpr int kVkF3 = 114;
inline constexpr int kVkF4 = 115;
inline constexpr int kVkOem1 = 186;  // carries '*' with Shift on a Japanese keyboard
inline constexpr int kVkOemPlus = 187;
inline constexpr int kVkOemMinus = 189;
inline constexpr int kVkOemPeriod = 190;
inline constexpr int kVkOem2 = 191;

}  // namespace tapecount
