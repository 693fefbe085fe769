// The display form of an amount, and the conversion of typed text to an amount.
#pragma once

#include "core/text.h"

namespace tapecount {

// Fixed notation rounded to two decimals, trailing zeros of the decimals trimmed, commas
// between groups of three integer digits: 1234.5 -> "1,234.5", -0.004 -> "-0".
// Infinities show as "inf" and "-inf", NaN as "nan".
Text FormatAmount(double value);

// The "C"-locale text-to-double conversion, whatever the process locale: leading white
// space, an optional sign, digits with an optional '.', an optional exponent; conversion
// stops at the first character that does not fit. No number at all gives 0.
double ParseAmount(TextView text);

}  // namespace tapecount
