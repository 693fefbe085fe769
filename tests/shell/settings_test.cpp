// The settings file on disk, the colours and the font, on the real window.
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "settings.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Settings : public ShellTest {
 protected:
  // The file's text after its byte-order mark, which a saved file must have.
  std::wstring FileText() {
    const FileHandle file(CreateFileW(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    std::wstring text(4096, L'\0');
    DWORD read = 0;
    ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * 2), &read, nullptr);
    text.resize(read / 2);
    EXPECT_EQ(text.substr(0, 1), L"\xFEFF");
    return text.substr(text.empty() ? 0 : 1);
  }
  COLORREF EntryBackground() {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(windows().entry));
    const COLORREF colour = GetBkColor(dc);
    DeleteDC(dc);
    return colour;
  }
};
TAPECOUNT_BOTH_RELEASES(Settings);

TEST_P(Settings, StoredModesComeBackAndASaveWritesEveryKey) {
  WriteSettings(directory_, L"[セッテイング]\r\nautoexpand=1\r\n最前面表示=2\r\n背景色=255\r\n");
  Open();
  EXPECT_EQ(Title(), L"「 + 」: 自動拡張: : 前表示");
  EXPECT_NE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_EQ(EntryBackground(), RGB(255, 255, 255));  // the stored colour is not applied
  PressInEntry(VK_F3);
  EXPECT_FALSE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_EQ(Command(IDM_SINGLE_INSTANCE), 1);  // saves everything at once
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_EQ(FileText(),
            L"[セッテイング]\r\nautoexpand=1\r\n最前面表示=0\r\n背景色=16777215\r\nauto_mode=0\r\n"
            L"2重起動防止=1\r\n透明化=0\r\n前景色=0\r\nフォント=128\r\n");
  Close();
  Open();
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_TRUE(model().SingleInstance());
  EXPECT_EQ(Title(), L"「 + 」: 自動拡張: : ");
}

TEST_P(Settings, ColourAndFontDialogsReachTheEntryBox) {
  Open();
  HDC dc = CreateCompatibleDC(nullptr);
  const auto paint = [&] {
    return SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(windows().entry));
  };
  const LRESULT white = paint();
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(paint(), white);  // one brush per colour, not one per paint
  }
  shell_->appearance.colour.rgbResult = RGB(255, 0, 0);  // the dialog starts on red
  const LRESULT red = paint();
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(white)), 0u);  // the old brush is gone
  LOGBRUSH brush{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(red), sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, RGB(255, 0, 0));
  {
    DialogWatcher dialogs(IDOK);
    EXPECT_EQ(Command(IDM_BACKGROUND_COLOUR), 1);
    LOGFONTW& font = shell_->appearance.entryFont;
    font.lfCharSet = ANSI_CHARSET;
    wcscpy(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(Command(IDM_ENTRY_FONT), 1);
    EXPECT_EQ(Command(IDM_ENTRY_FONT), 1);
    EXPECT_EQ(dialogs.Seen().size(), 3u);
  }
  paint();
  EXPECT_EQ(GetBkColor(dc), RGB(255, 0, 0));  // the colour chosen
  DeleteDC(dc);
  HFONT chosen = shell_->appearance.entryFontHandle.Get();
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(windows().entry, WM_GETFONT, 0, 0)), chosen);
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(windows().total, WM_GETFONT, 0, 0)), chosen);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));  // neither marks the settings unsaved
  Command(IDM_SAVE_SETTINGS);
  const std::wstring saved = FileText();
  EXPECT_NE(saved.find(L"背景色=255\r\n"), std::wstring::npos);
  EXPECT_NE(saved.find(L"フォント=" + std::to_wstring(shell_->appearance.entryFont.lfCharSet)),
            std::wstring::npos);
}

}  // namespace
}  // namespace tapecount::testing
