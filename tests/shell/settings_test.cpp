// The settings file, the colours and the font, on the real window.
#include <windows.h>

#include <string>
#include <vector>

#include "core/settings_file.h"
#include "resource.h"
#include "settings.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Settings : public MainWindowTest {
 protected:
  std::wstring Path() { return directory_ + L"\\tapecount.ini"; }

  std::string FileBytes() {
    std::string bytes;
    HANDLE file = CreateFileW(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      return bytes;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
      bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
  }

  void WriteBytes(const std::string& bytes) {
    HANDLE file = CreateFileW(Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }

  // The file's lines, read as UTF-16 (it must start with a byte-order mark).
  std::vector<std::wstring> FileLines() {
    const std::string bytes = FileBytes();
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
      if (end > start) {
        lines.push_back(text.substr(start, end - start));
      }
    }
    if (start < text.size()) {
      lines.push_back(text.substr(start));
    }
    return lines;
  }

  // What a value of the section reads as through the platform.
  std::wstring Value(const wchar_t* key) {
    wchar_t value[100] = {};
    GetPrivateProfileStringW(kSettingsSection, key, L"(none)", value, 100, Path().c_str());
    return value;
  }

  COLORREF EntryBackground() {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(shell().entry));
    const COLORREF colour = GetBkColor(dc);
    DeleteDC(dc);
    return colour;
  }
};

const std::vector<std::wstring> kInitialFile = {
    L"[セッテイング]", L"autoexpand=0",    L"auto_mode=0", L"最前面表示=0", L"2重起動防止=0",
    L"透明化=0",       L"背景色=16777215", L"前景色=0",    L"フォント=128"};

TEST_F(Settings, LoadingWithoutAFileCreatesNone) {
  Open();
  EXPECT_EQ(GetFileAttributesW(Path().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
}

TEST_F(Settings, SaveWritesEveryKeyInOrderAsUnicode) {
  Open();
  PressInEntry(VK_F1);
  ASSERT_FALSE(Grayed(IDM_SAVE_SETTINGS));
  Command(IDM_SAVE_SETTINGS);
  std::vector<std::wstring> expected = kInitialFile;
  expected[1] = L"autoexpand=1";
  EXPECT_EQ(FileLines(), expected);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_FALSE(shell().modes.settingsDirty);
}

TEST_F(Settings, EachFlagIsJudgedOnItsOwn) {
  WriteSettingsFile(
      L"[セッテイング]\r\nautoexpand=1\r\nauto_mode=\r\n最前面表示=2\r\n透明化=x1\r\n");
  Open();
  EXPECT_TRUE(shell().modes.autoExpand);
  EXPECT_FALSE(shell().modes.autoMode);
  EXPECT_TRUE(shell().modes.topmost);
  EXPECT_FALSE(shell().modes.transparent);
  EXPECT_EQ(Title(), L"「 + 」: 自動拡張: : 前表示");
  EXPECT_TRUE(Checked(IDM_AUTO_EXPAND));
  EXPECT_TRUE(Checked(IDM_TOPMOST));
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  Command(IDM_SAVE_SETTINGS);
  EXPECT_EQ(Value(kKeyTopmost), L"1");  // 2 is written back as 1
  EXPECT_EQ(Value(kKeyAutoMode), L"0");
}

TEST_F(Settings, ShiftJisSectionLineIsTheSectionNameInCodePage932) {
  const std::wstring section = std::wstring(L"[") + kSettingsSection + L"]";
  char bytes[64] = {};
  const int length =
      WideCharToMultiByte(932, 0, section.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
  EXPECT_EQ(std::string_view(bytes, static_cast<std::size_t>(length - 1)), kShiftJisSectionLine);
}

TEST_F(Settings, StoredColoursAreNotApplied) {
  WriteSettingsFile(L"[セッテイング]\r\n背景色=255\r\n前景色=65280\r\nフォント=0\r\n");
  Open();
  EXPECT_EQ(EntryBackground(), RGB(255, 255, 255));
  EXPECT_EQ(shell().appearance.font.rgbColors, RGB(0, 0, 0));
  EXPECT_EQ(shell().appearance.entryFont.lfCharSet, SHIFTJIS_CHARSET);
}

TEST_F(Settings, TogglingTheGuardSavesEverythingAtOnce) {
  Open();
  PressInEntry(VK_F2);
  PressInEntry(VK_F3);
  ASSERT_FALSE(Grayed(IDM_SAVE_SETTINGS));
  Command(IDM_SINGLE_INSTANCE);
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_EQ(Value(kKeyAutoMode), L"1");
  EXPECT_EQ(Value(kKeyTopmost), L"1");
  EXPECT_EQ(Value(kKeySingleInstance), L"1");
  Command(IDM_SINGLE_INSTANCE);
  EXPECT_FALSE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_EQ(Value(kKeySingleInstance), L"0");
}

TEST_F(Settings, ChosenColourWaitsForTheNextSave) {
  Open();
  shell().appearance.colour.rgbResult = RGB(255, 0, 0);  // the dialog starts on red
  {
    DialogWatcher dialogs(IDOK);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_BACKGROUND_COLOUR, 0), 1);
    EXPECT_FALSE(dialogs.Seen().empty());
  }
  EXPECT_EQ(shell().appearance.colour.rgbResult, RGB(255, 0, 0));
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));  // not marked unsaved
  EXPECT_EQ(EntryBackground(), RGB(255, 0, 0));
  EXPECT_EQ(GetFileAttributesW(Path().c_str()), INVALID_FILE_ATTRIBUTES);
  Command(IDM_SAVE_SETTINGS);
  EXPECT_EQ(Value(kKeyBackgroundColour), L"255");
  {
    DialogWatcher dialogs(IDCANCEL);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_BACKGROUND_COLOUR, 0), 0);
  }
}

TEST_F(Settings, OneBrushPerColourNotOnePerPaint) {
  Open();
  HDC dc = CreateCompatibleDC(nullptr);
  const auto paint = [&] {
    return SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(shell().entry));
  };
  const LRESULT first = paint();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(paint(), first);
  }
  shell().appearance.colour.rgbResult = RGB(0, 0, 255);
  const LRESULT blue = paint();
  EXPECT_NE(blue, first);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u);  // the old one is gone
  LOGBRUSH brush{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(blue), sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, RGB(0, 0, 255));
  DeleteDC(dc);
}

TEST_F(Settings, ChosenFontGoesToTheEntryBoxAndItsScriptToTheFile) {
  Open();
  LOGFONTW& font = shell().appearance.entryFont;
  font.lfCharSet = ANSI_CHARSET;
  wcscpy(font.lfFaceName, L"Tahoma");
  {
    DialogWatcher dialogs(IDOK);
    ASSERT_EQ(SendMessageW(main_, WM_COMMAND, IDM_ENTRY_FONT, 0), 1);
  }
  HFONT first = shell().appearance.entryFontHandle.Get();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(shell().entry, WM_GETFONT, 0, 0)), first);
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(shell().total, WM_GETFONT, 0, 0)), first);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  Command(IDM_SAVE_SETTINGS);
  EXPECT_EQ(Value(kKeyFontCharset), std::to_wstring(font.lfCharSet));
  if (GetACP() != 932) {  // a Japanese system's font dialog offers its own script first
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
  }
  {
    DialogWatcher dialogs(IDOK);
    SendMessageW(main_, WM_COMMAND, IDM_ENTRY_FONT, 0);
  }
  EXPECT_NE(shell().appearance.entryFontHandle.Get(), first);
  EXPECT_EQ(GetObjectType(first), 0u);  // the font replaced is released
  {
    DialogWatcher dialogs(IDCANCEL);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_ENTRY_FONT, 0), 0);
  }
}

TEST_F(Settings, ShiftJisFileFromAJapaneseSystemIsRead) {
  // As written by an earlier copy on a Japanese system (code page 932).
  const std::wstring text =
      L"[セッテイング]\r\nautoexpand=1\r\nauto_mode=0\r\n最前面表示=1\r\n"
      L"2重起動防止=1\r\n透明化=0\r\n[他]\r\nkeep=me\r\n";
  std::string bytes(text.size() * 2, '\0');
  bytes.resize(static_cast<std::size_t>(
      WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr)));
  WriteBytes(bytes);
  Open();
  // Where the ANSI code page is not Japanese, the file has been made UTF-16 to be read.
  EXPECT_EQ(FileBytes().substr(0, 2) == "\xFF\xFE", GetACP() != 932);
  EXPECT_TRUE(shell().modes.autoExpand);
  EXPECT_TRUE(shell().modes.topmost);
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_FALSE(shell().modes.autoMode);
  PressInEntry(VK_F3);
  Command(IDM_SAVE_SETTINGS);
  EXPECT_EQ(Value(kKeyTopmost), L"0");
  EXPECT_EQ(Value(kKeyAutoExpand), L"1");
  wchar_t other[16] = {};
  GetPrivateProfileStringW(L"他", L"keep", L"", other, 16, Path().c_str());
  EXPECT_STREQ(other, L"me");  // the rest of the file survives
}

TEST_F(Settings, JapaneseNamesSurviveTheRoundTrip) {
  Open();
  PressInEntry(VK_F1);
  PressInEntry(VK_F3);
  Command(IDM_SINGLE_INSTANCE);  // saves
  Close();
  Open();
  EXPECT_TRUE(shell().modes.autoExpand);
  EXPECT_TRUE(shell().modes.topmost);
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  std::vector<std::wstring> lines = FileLines();
  EXPECT_EQ(lines.size(), kInitialFile.size());
  EXPECT_EQ(lines[0], L"[セッテイング]");
  EXPECT_EQ(lines[3], L"最前面表示=1");
  EXPECT_EQ(lines[4], L"2重起動防止=1");
}

TEST_F(Settings, AnAnsiFileIsMadeUnicodeBeforeASave) {
  WriteBytes("[other]\r\nname=value\r\n");
  Open();
  Command(IDM_SAVE_SETTINGS);
  if (GetACP() != 932) {
    EXPECT_EQ(FileBytes().substr(0, 2), "\xFF\xFE");
  }
  EXPECT_EQ(Value(kKeyTopmost), L"0");
  EXPECT_EQ(Value(kKeySingleInstance), L"0");
  wchar_t other[16] = {};
  GetPrivateProfileStringW(L"other", L"name", L"", other, 16, Path().c_str());
  EXPECT_STREQ(other, L"value");
}

TEST_F(Settings, GarbageReadsAsDefaultsOrItsValidKeys) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) {
    binary += static_cast<char>((i * 7919) % 256);
  }
  const std::string longLine = "[セッテイング]\r\nautoexpand=" + std::string(100000, '1') + "\r\n" +
                               std::string(100000, 'x') + "\r\n最前面表示=1\r\n";
  const std::string cases[] = {
      binary,
      longLine,
      "autoexpand=1\r\n最前面表示=1\r\n",  // no section
      std::string("\xFF\xFE", 2) + std::string(777, '\x01'),
      std::string(2 << 20, 'z'),  // larger than the program would ever rewrite
  };
  for (const std::string& garbage : cases) {
    WriteBytes(garbage);
    Open();
    EXPECT_FALSE(shell().modes.autoMode);
    EXPECT_FALSE(shell().modes.transparent);
    EXPECT_EQ(GetWindowTextLengthW(main_) > 0, true);
    Close();
  }
  WriteSettingsFile(L"[セッテイング]\r\n最前面表示=0\r\n最前面表示=1\r\nautoexpand=1\r\n");
  Open();  // duplicate keys: the platform's choice, and no crash
  EXPECT_TRUE(shell().modes.autoExpand);
}

}  // namespace
}  // namespace tapecount::testing
