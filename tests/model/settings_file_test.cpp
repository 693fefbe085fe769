#include "shell/model/settings_file.h"

#include <gtest/gtest.h>

namespace tapecount {
namespace {

TEST(SettingsFile, FlagValuesReadAsALeadingInteger) {
  for (const char16_t* on : {u"1", u"2", u"-1", u"1x", u" 7", u"+3", u"0009", u"\t1"}) {
    EXPECT_TRUE(FlagValueIsOn(on)) << Text(on).size();
  }
  for (const char16_t* off : {u"", u"0", u"x", u"-0", u"00", u"x1", u"- 1", u"０１", u"+"}) {
    EXPECT_FALSE(FlagValueIsOn(off)) << Text(off).size();
  }
}

SettingsFilePlan Plan(bool exists, std::string_view bytes, bool japanese, bool saving,
                      bool tooLarge = false) {
  return PlanSettingsFile({exists, tooLarge, bytes, japanese, saving});
}

TEST(SettingsFile, MissingFileIsCreatedAsUnicodeOnlyForASave) {
  EXPECT_EQ(Plan(false, "", false, true), SettingsFilePlan::CreateUnicode);
  EXPECT_EQ(Plan(false, "", true, true), SettingsFilePlan::CreateUnicode);
  EXPECT_EQ(Plan(false, "", false, false), SettingsFilePlan::Leave);
}

TEST(SettingsFile, MarkedFilesAndJapaneseSystemsAreLeftAlone) {
  const std::string shiftJis = "x\r\n" + std::string(kShiftJisSectionLine) + "\r\na=1\r\n";
  for (std::string_view marked : {"\xFF\xFE[", "\xFE\xFF\0[", "\xEF\xBB\xBF["}) {
    EXPECT_EQ(Plan(true, marked, false, true), SettingsFilePlan::Leave);
  }
  EXPECT_EQ(Plan(true, shiftJis, true, true), SettingsFilePlan::Leave);
  EXPECT_EQ(Plan(true, shiftJis, false, true, true), SettingsFilePlan::Leave);  // too large
}

TEST(SettingsFile, AnsiFilesAreConvertedWhereTheCodePageCannotCarryTheNames) {
  const std::string shiftJis = std::string(kShiftJisSectionLine) + "\r\nautoexpand=1\r\n";
  EXPECT_EQ(Plan(true, shiftJis, false, false), SettingsFilePlan::ConvertFromShiftJis);
  EXPECT_EQ(Plan(true, shiftJis, false, true), SettingsFilePlan::ConvertFromShiftJis);
  EXPECT_EQ(Plan(true, "[other]\r\na=b\r\n", false, true), SettingsFilePlan::ConvertFromAnsi);
  EXPECT_EQ(Plan(true, "[other]\r\na=b\r\n", false, false), SettingsFilePlan::Leave);
  EXPECT_EQ(Plan(true, "", false, true), SettingsFilePlan::ConvertFromAnsi);
}

}  // namespace
}  // namespace tapecount
