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

// Where bytes go as they are made: a file's buffer, or a string.
class ByteSink {
 public:
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

// A surrogate without its pair, which UTF-8 cannot hold, becomes U+FFFD. The first form
// takes no memory of its own: each code point goes to `out` as it is made.
void EncodeUtf8(TextView text, ByteSink& out);
std::string EncodeUtf8(TextView text);

// Bytes gathered in a string.
class StringSink final : public ByteSink {
 public:
  void Write(std::string_view bytes) override { bytes_ += bytes; }
  std::string& Bytes() { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace tapecount
