// Any settings file: a save reads back as saved, keeps other lines in order, and is stable.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "fuzz/check.h"
#include "shell/model/settings_file.h"
#include "support/fake_window.h"

namespace {

using tapecount::Text;
using tapecount::TextView;

// The bytes as code-page text: a byte above 0x9F fails as Shift-JIS, as real tables fail.
std::optional<Text> Bytes(std::string_view bytes, bool strict) {
  Text text;
  for (const unsigned char b : bytes) {
    if (strict && b > 0x9F) {
      return std::nullopt;
    }
    text += static_cast<char16_t>(b);
  }
  return text;
}

// The lines, without their line breaks, in ASCII lower case.
std::vector<Text> Lines(TextView text) {
  std::vector<Text> lines;
  for (std::size_t start = 0, lf; start < text.size(); start = lf + 1) {
    lf = std::min(text.find(u'\n', start), text.size());
    Text& line = lines.emplace_back(text.substr(start, lf - start));
    if (!line.empty() && line.back() == u'\r') {
      line.pop_back();
    }
    for (char16_t& c : line) {
      c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tapecount::Decoders decoders{[](std::string_view b) { return Bytes(b, true); },
                                     [](std::string_view b) { return Bytes(b, false); }};
  const Text file =
      tapecount::DecodeSettingsFile({reinterpret_cast<const char*>(data), size}, decoders);
  tapecount::ReadStoredModes(file);
  const int seed = size > 0 ? data[0] : 0;
  const tapecount::StoredModes modes{{seed % 2 == 0, seed % 3 == 0, seed % 5 == 0, seed % 11 == 0},
                                     seed % 7 == 0};
  const tapecount::SettingsValues values =
      tapecount::ValuesToSave(modes, seed * 65793, seed, seed % 256);
  const Text saved = tapecount::ComposeSettingsFile(file, values);
  for (const auto& [key, value] : values) {
    CHECK(tapecount::FindValue(saved, tapecount::kSettingsSection, key) == value);
  }
  using tapecount::testing::Flags;
  CHECK(Flags(tapecount::ReadStoredModes(saved)) == Flags(modes));
  // Every line that names none of the keys is still there, in its order.
  const std::vector<Text> after = Lines(saved);
  std::size_t at = 0;
  for (const Text& line : Lines(file)) {
    const bool ours = std::any_of(values.begin(), values.end(), [&](const auto& entry) {
      return line.find(entry.first) != TextView::npos;
    });
    if (!ours) {
      at = std::find(after.begin() + at, after.end(), line) - after.begin() + 1;
      CHECK(at <= after.size());
    }
  }
  CHECK(tapecount::ComposeSettingsFile(saved, values) == saved);
  return 0;
}
