// Any settings file: a save reads back as saved, and saving it again changes nothing.
#include <cstdint>
#include <cstdlib>

#include "fuzz/check.h"
#include "shell/model/settings_file.h"
#include "support/fake_window.h"

namespace {

using tapecount::Text;

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
  CHECK(tapecount::ComposeSettingsFile(saved, values) == saved);
  return 0;
}
