// The settings file as bytes, read and saved. (UTF-8 source: narrow literals are UTF-8 files.)
#include "shell/model/settings_file.h"

#include <gtest/gtest.h>

#include "support/fake_window.h"

namespace tapecount {
namespace {

std::optional<Text> Latin1(std::string_view bytes) {
  Text text;
  for (char c : bytes) {
    text += static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  return text;
}

// Shift-JIS enough for the names this program writes; the ANSI code page as Latin-1.
const std::pair<std::string_view, const char16_t*> kShiftJis[] = {
    {"\x83\x5A\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4F", u"セッテイング"},
    {"\x8D\xC5\x91\x4F\x96\xCA\x95\x5C\x8E\xA6", u"最前面表示"},
    {"\x8F\x64\x8B\x4E\x93\xAE\x96\x68\x8E\x7E", u"重起動防止"}};
std::optional<Text> ShiftJis(std::string_view bytes) {
  Text text = *Latin1(bytes);
  for (const auto& [sjis, name] : kShiftJis) {
    for (std::size_t at; (at = text.find(*Latin1(sjis))) != Text::npos;) {
      text.replace(at, sjis.size(), name);
    }
  }
  const auto unknown = [](char16_t c) { return c >= 0x80 && c < 0x100; };
  return std::none_of(text.begin(), text.end(), unknown) ? std::optional(text) : std::nullopt;
}
const Decoders kDecoders{ShiftJis, Latin1};

std::string Utf16(TextView text, bool bigEndian = false) {
  std::string bytes = EncodeUtf16(text);
  for (std::size_t i = 0; bigEndian && i < bytes.size(); i += 2) {
    std::swap(bytes[i], bytes[i + 1]);
  }
  return bytes;
}

TEST(SettingsFile, EachEncodingAndTheWaysAValueIsFound) {
  const std::string section = "[セッテイング]\r\n";
  // Each file and its modes as testing::Flags writes them.
  const std::pair<std::string, const char*> cases[] = {
      {Utf16(u"[セッテイング]\r\nautoexpand=1\r\n最前面表示=1\r\n"), "10100"},
      {Utf16(u"[セッテイング]\r\n2重起動防止=1\r\n透明化=1", true), "00011"},
      {"\xEF\xBB\xBF" + section + "最前面表示=1\r\n", "00100"},
      {section + "最前面表示=3\n2重起動防止=1\n", "00110"},  // an editor's
      {"[\x83\x5A\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4F]\r\nauto_mode=1\r\n"
       "\x8D\xC5\x91\x4F\x96\xCA\x95\x5C\x8E\xA6=1\r\n2\x8F\x64\x8B\x4E\x93\xAE\x96\x68\x8E\x7E=1",
       "01110"},
      {"[caf\xE9]\r\nautoexpand=1\r\n", "00000"},  // the ANSI code page: no section of ours
      {section + "AutoExpand=1\r\nAUTO_MODE=2\r\n", "11000"},
      {"  [ セッテイング ]  \r\n  autoexpand  =  1  \r\n\tauto_mode\t=-1", "11000"},
      {section + "透明化=\"1\"\r\nautoexpand='0'\r\nauto_mode=\"1'\r\n", "00001"},
      {section + "autoexpand=101\r\n", "10000"},  // not quoted
      {section + "autoexpand=0\r\nautoexpand=1\r\n[セッテイング]\r\nauto_mode=1\r\n", "00000"},
      {section + "autoexpand=\r\nauto_mode=" + std::string(99, '0') + "1\r\n", "00000"},  // cut
      {"autoexpand=1\r\n[other]\r\nauto_mode=1\r\n" + section + ";autoexpand=1\r\n", "00000"},
      {std::string("\xFF\xFE", 2) + std::string(777, '\x01'), "00000"},
      {std::string("\x80\x81\xFE\x00\x9F[\xE3\x81", 8), "00000"},
  };
  for (const auto& [bytes, modes] : cases) {
    EXPECT_EQ(testing::Flags(ReadStoredModes(DecodeSettingsFile(bytes, kDecoders))), modes)
        << bytes;
  }
  for (const char16_t* on : {u"1", u"2", u"-1", u"1x", u" 7", u"+3", u"0009"}) {
    EXPECT_TRUE(FlagValueIsOn(on));
  }
  for (const char16_t* off : {u"", u"0", u"x", u"-0", u"x1", u"- 1", u"０１", u"+"}) {
    EXPECT_FALSE(FlagValueIsOn(off));
  }
  EXPECT_EQ(FindValue(u"[s]\r\nk=\"\"", u"s", u"k"), u"");  // a value of two quotes: empty
}

TEST(SettingsFile, ASaveUpdatesItsKeysAndKeepsEveryOtherLine) {
  const SettingsValues values = ValuesToSave({true, false, true}, 16777215, 0, 128);
  const Text keys =
      u"autoexpand=1\r\nauto_mode=0\r\n最前面表示=1\r\n2重起動防止=0\r\n透明化=0\r\n"
      u"背景色=16777215\r\n前景色=0\r\nフォント=128\r\n";
  const Text all = u"[セッテイング]\r\n" + keys;
  const std::pair<Text, Text> cases[] = {
      {u"", all},
      {u"[他]\r\nkeep=me", u"[他]\r\nkeep=me\r\n" + all},
      {u"; mine\r\n" + all + u"\r\n[他]\n x = y \n", u"; mine\r\n" + all + u"\r\n[他]\n x = y \n"},
      {u"[セッテイング]\r\nunknown=7\r\n Auto_Mode = 1 \n; note\r\n\r\n[他]\r\nautoexpand=5\r\n",
       u"[セッテイング]\r\nunknown=7\r\nauto_mode=0\n; note\r\nautoexpand=1\r\n最前面表示=1\r\n"
       u"2重起動防止=0\r\n透明化=0\r\n背景色=16777215\r\n前景色=0\r\nフォント=128\r\n\r\n[他]\r\n"
       u"autoexpand=5\r\n"},
      {u"[セッテイング]\r\n背景色=1\r\n背景色=2",
       u"[セッテイング]\r\n背景色=16777215\r\n背景色=2\r\nautoexpand=1\r\nauto_mode=0\r\n"
       u"最前面表示=1\r\n2重起動防止=0\r\n透明化=0\r\n前景色=0\r\nフォント=128\r\n"},
  };
  for (const auto& [before, after] : cases) {
    EXPECT_EQ(ComposeSettingsFile(before, values), after);
  }
  // UTF-8 beyond the first plane, and a NUL, decode whole; so does UTF-8 with no ASCII byte.
  EXPECT_EQ(DecodeSettingsFile(std::string("\xF0\xA0\x80\x8B=\0\xC3\xA9", 8), kDecoders),
            Text(u"\U0002000B=\0\u00E9", 5));
  EXPECT_EQ(DecodeSettingsFile("\xC3\xA9", kDecoders), u"\u00E9");
  // Bytes the ANSI code page cannot decode are read byte for byte.
  const Decoders failing{ShiftJis, [](std::string_view) { return std::optional<Text>(); }};
  EXPECT_EQ(DecodeSettingsFile("caf\xE9", failing), u"caf\u00E9");
}

// A read-only file stays; a busy one is tried again for half a second; the new file's names.
TEST(SettingsFile, TheSavesDealingsWithTheFileSystem) {
  EXPECT_TRUE(SaveMayReplace(false, true));  // no file reads as every attribute set
  EXPECT_TRUE(SaveMayReplace(true, false));
  EXPECT_FALSE(SaveMayReplace(true, true));
  EXPECT_TRUE(SaveTriesAgain(FileError::SharingViolation, 0));
  EXPECT_TRUE(SaveTriesAgain(FileError::AccessDenied, 499));
  EXPECT_FALSE(SaveTriesAgain(FileError::SharingViolation, 500));
  EXPECT_FALSE(SaveTriesAgain(FileError::Other, 0));
  EXPECT_EQ(TemporarySettingsPath(u"C:\\a.ini", 4242, 0), u"C:\\a.ini.4242-0");
  EXPECT_EQ(TemporarySettingsPath(u"a.ini", 4294967295, 99), u"a.ini.4294967295-99");
  EXPECT_EQ(TemporarySettingsPath(u"a.ini", 1, 100), std::nullopt);
}

}  // namespace
}  // namespace tapecount
