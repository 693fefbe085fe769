#include "shell/model/settings_file.h"

namespace tapecount {

bool FlagValueIsOn(TextView value) {
  std::size_t i = 0;
  while (i < value.size() && (value[i] == u' ' || (value[i] >= u'\t' && value[i] <= u'\r'))) {
    ++i;
  }
  if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) {
    ++i;
  }
  for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
    if (value[i] != u'0') {
      return true;
    }
  }
  return false;
}

SettingsFilePlan PlanSettingsFile(const SettingsFileFacts& facts) {
  if (!facts.exists) {
    return facts.forSaving ? SettingsFilePlan::CreateUnicode : SettingsFilePlan::Leave;
  }
  const std::string_view bytes = facts.bytes;
  const bool marked = bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" ||
                      bytes.substr(0, 3) == "\xEF\xBB\xBF";
  if (facts.tooLarge || marked || facts.ansiIsJapanese) {
    return SettingsFilePlan::Leave;
  }
  if (bytes.find(kShiftJisSectionLine) != std::string_view::npos) {
    return SettingsFilePlan::ConvertFromShiftJis;
  }
  return facts.forSaving ? SettingsFilePlan::ConvertFromAnsi : SettingsFilePlan::Leave;
}

}  // namespace tapecount
