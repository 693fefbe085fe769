// The settings file as bytes: what each kind of file reads as, and what a save makes of it.
#include "shell/model/settings_file.h"

#include <gtest/gtest.h>

namespace tapecount {
namespace {

// Shift-JIS for the names this program writes, enough to tell a Shift-JIS file; the ANSI
// code page as Latin-1.
const std::pair<std::string_view, const char16_t*> kShiftJis[] = {
    {"\x83\x5A\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4F", u"セッテイング"},
    {"\x8D\xC5\x91\x4F\x96\xCA\x95\x5C\x8E\xA6", u"最前面表示"},
    {"\x8F\x64\x8B\x4E\x93\xAE\x96\x68\x8E\x7E", u"重起動防止"}};
const Decoders kDecoders{[](std::string_view bytes) -> std::optional<Text> {
                           Text text;
                           while (!bytes.empty()) {
                             const auto known = std::find_if(
                                 std::begin(kShiftJis), std::end(kShiftJis), [&](auto& k) {
                                   return bytes.substr(0, k.first.size()) == k.first;
                                 });
                             if (known != std::end(kShiftJis)) {
                               text += known->second;
                               bytes.remove_prefix(known->first.size());
                             } else if (static_cast<unsigned char>(bytes[0]) < 0x80) {
                               text += static_cast<char16_t>(bytes[0]);
                               bytes.remove_prefix(1);
                             } else {
                               return std::nullopt;
                             }
                           }
                           return text;
                         },
                         [](std::string_view bytes) {
                           Text text;
                           for (char c : bytes) {
                             text += static_cast<char16_t>(static_cast<unsigned char>(c));
                           }
                           return std::optional<Text>(text);
                         }};

std::string Utf16(TextView text, bool bigEndian = false) {
  std::string bytes = EncodeUtf16(text);
  for (std::size_t i = 0; bigEndian && i < bytes.size(); i += 2) {
    std::swap(bytes[i], bytes[i + 1]);
  }
  return bytes;
}

std::string Utf8(const char* text) {
  return text;  // the test's own source is UTF-8
}

struct ReadCase {
  std::string bytes;
  StoredModes modes;  // autoExpand, autoMode, topmost, singleInstance, transparent
};

TEST(SettingsFile, EachEncodingAndTheWaysAValueIsFound) {
  const std::string section = Utf8("[セッテイング]\r\n");
  const ReadCase cases[] = {
      {Utf16(u"[セッテイング]\r\nautoexpand=1\r\n最前面表示=1\r\n"), {true, false, true}},
      {Utf16(u"[セッテイング]\r\n2重起動防止=1\r\n透明化=1", true),
       {false, false, false, true, true}},
      {"\xEF\xBB\xBF" + section + Utf8("最前面表示=1\r\n"), {false, false, true}},
      {section + Utf8("最前面表示=3\n2重起動防止=1\n"), {false, false, true, true}},  // an editor's
      {"[\x83\x5A\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4F]\r\nauto_mode=1\r\n"
       "\x8D\xC5\x91\x4F\x96\xCA\x95\x5C\x8E\xA6=1\r\n2\x8F\x64\x8B\x4E\x93\xAE\x96\x68\x8E\x7E=1",
       {false, true, true, true}},
      {"[caf\xE9]\r\nautoexpand=1\r\n", {}},  // the ANSI code page: no section of ours
      {section + "AutoExpand=1\r\nAUTO_MODE=2\r\n", {true, true}},
      {Utf8("  [ セッテイング ]  \r\n  autoexpand  =  1  \r\n\tauto_mode\t=-1"), {true, true}},
      {section + Utf8("透明化=\"1\"\r\nautoexpand='0'\r\nauto_mode=\"1'\r\n"),
       {false, false, false, false, true}},
      {section + Utf8("autoexpand=0\r\nautoexpand=1\r\n[セッテイング]\r\nauto_mode=1\r\n"), {}},
      {section + "autoexpand=\r\nauto_mode=" + std::string(99, '0') + "1\r\n", {}},  // cut
      {"autoexpand=1\r\n[other]\r\nauto_mode=1\r\n" + section + ";autoexpand=1\r\n", {}},
      {std::string("\xFF\xFE", 2) + std::string(777, '\x01'), {}},
      {std::string("\x80\x81\xFE\x00\x9F[\xE3\x81", 8), {}},
  };
  for (const ReadCase& c : cases) {
    const StoredModes read = ReadStoredModes(DecodeSettingsFile(c.bytes, kDecoders));
    EXPECT_EQ(read.autoExpand, c.modes.autoExpand) << c.bytes;
    EXPECT_EQ(read.autoMode, c.modes.autoMode) << c.bytes;
    EXPECT_EQ(read.topmost, c.modes.topmost) << c.bytes;
    EXPECT_EQ(read.singleInstance, c.modes.singleInstance) << c.bytes;
    EXPECT_EQ(read.transparent, c.modes.transparent) << c.bytes;
  }
  for (const char16_t* on : {u"1", u"2", u"-1", u"1x", u" 7", u"+3", u"0009"}) {
    EXPECT_TRUE(FlagValueIsOn(on));
  }
  for (const char16_t* off : {u"", u"0", u"x", u"-0", u"x1", u"- 1", u"０１", u"+"}) {
    EXPECT_FALSE(FlagValueIsOn(off));
  }
}

struct SaveCase {
  Text before, after;
};

TEST(SettingsFile, ASaveUpdatesItsKeysAndKeepsEveryOtherLine) {
  const SettingsValues values = ValuesToSave({true, false, true}, 16777215, 0, 128);
  const Text keys =
      u"autoexpand=1\r\nauto_mode=0\r\n最前面表示=1\r\n2重起動防止=0\r\n透明化=0\r\n"
      u"背景色=16777215\r\n前景色=0\r\nフォント=128\r\n";
  const Text all = u"[セッテイング]\r\n" + keys;
  const SaveCase cases[] = {
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
  for (const SaveCase& c : cases) {
    EXPECT_EQ(ComposeSettingsFile(c.before, values), c.after);
  }
  EXPECT_EQ(Utf16(u"[a]"), std::string("\xFF\xFE[\0a\0]\0", 8));
}

}  // namespace
}  // namespace tapecount
