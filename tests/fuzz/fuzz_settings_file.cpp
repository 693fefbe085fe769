// The settings file's bytes: any file gets a plan, and the flag rule agrees with the
// "C"-locale strtol on every value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/model/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (int facts = 0; facts < 8; ++facts) {
    const bool japanese = facts & 1;
    const bool saving = facts & 2;
    const bool tooLarge = facts & 4;
    const tapecount::SettingsFilePlan plan =
        tapecount::PlanSettingsFile({true, tooLarge, bytes, japanese, saving});
    const bool converts = plan == tapecount::SettingsFilePlan::ConvertFromAnsi ||
                          plan == tapecount::SettingsFilePlan::ConvertFromShiftJis;
    // Never rewritten: files too large, files on a Japanese system, marked files.
    if (converts && (tooLarge || japanese || bytes.substr(0, 2) == "\xFF\xFE")) {
      std::abort();
    }
    if (plan == tapecount::SettingsFilePlan::CreateUnicode) {
      std::abort();  // the file exists
    }
  }

  // Every line's value as the flag rule reads it, against strtol.
  tapecount::Text value;
  std::string narrow;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    value += c;
    narrow += c > 0 && c < 0x80 ? static_cast<char>(c) : 'x';
  }
  const bool on = tapecount::FlagValueIsOn(value);
  if (on != (std::strtol(narrow.c_str(), nullptr, 10) != 0)) {
    std::abort();
  }
  return 0;
}
