// UTF-8 to and from the portable code's UTF-16, for the files the program reads and writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace tapecount {

// What starts a UTF-8 file that says it is one.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Strict UTF-8: nothing for overlong forms, surrogates, code points beyond U+10FFFF and
// broken sequences.
std::optional<Text> DecodeUtf8(std::string_view bytes);

// A surrogate without its pair, which UTF-8 cannot hold, becomes U+FFFD.
std::string EncodeUtf8(TextView text);

}  // namespace tapecount
