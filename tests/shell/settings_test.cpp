// The settings file on disk, the colours and the font, on the real window.
#include <windows.h>

#include <gmock/gmock.h>

#include <string>

#include "resource.h"
#include "settings.h"
#include "shell/model/settings_file.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

using ::testing::AnyOf;
using ::testing::Eq;

class Settings : public ReleaseTest {};
TAPECOUNT_BOTH_RELEASES(Settings);

TEST_P(Settings, AnEditorsFileIsReadAtStartUpUntouchedAndSavedWithItsOtherLines) {
  WriteBytes(
      Path(),
      "; by hand\n[セッテイング]\nautoexpand=1\n最前面表示 = 2\n背景色=255\n\n[他]\nkeep=me\n");
  const std::string before = FileBytes(Path());
  Open();
  EXPECT_EQ(FileBytes(Path()), before);  // reading never writes
  EXPECT_EQ(Title(), L"「 + 」: 自動拡張: : 前表示");
  PressInEntry(VK_F3);
  Command(IDM_SINGLE_INSTANCE);  // saves everything at once
  EXPECT_EQ(
      FileText(Path()),
      L"; by hand\n[セッテイング]\nautoexpand=1\n最前面表示=0\n背景色=16777215\nauto_mode=0\r\n"
      L"2重起動防止=1\r\n透明化=0\r\n前景色=0\r\nフォント=128\r\n\n[他]\nkeep=me\n");
}

TEST_P(Settings, AShiftJisFileFromAJapaneseSystemIsReadAsItIs) {
  const std::string bytes =  // [セッテイング] 最前面表示=1 自動=1, as code page 932 has them
      "[\x83\x5A\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4F]\r\n"
      "\x8D\xC5\x91\x4F\x96\xCA\x95\x5C\x8E\xA6=1\r\n\x8E\xA9\x93\xAE=1\r\n";
  WriteBytes(Path(), bytes);
  Open();
  EXPECT_EQ(Title(), L"「 + 」: : : 前表示");
  Command(IDM_SAVE_SETTINGS);
  const std::wstring kept = L"[セッテイング]\r\n最前面表示=1\r\n自動=1\r\n";
  EXPECT_EQ(FileText(Path()).substr(0, kept.size()), kept);
}

TEST_P(Settings, TwoCopiesSavingAtOnceLeaveAWholeFile) {
  if (!Is134()) {
    GTEST_SKIP() << "one pair of programs is enough";
  }
  const std::wstring original = L"[他]\r\nkeep=me\r\n";
  const std::wstring whole = original +
                             L"[セッテイング]\r\nautoexpand=0\r\nauto_mode=0\r\n"
                             L"最前面表示=0\r\n2重起動防止=0\r\n透明化=0\r\n背景色=16777215\r\n"
                             L"前景色=0\r\nフォント=128\r\n";
  WriteSettings(directory_, original);
  Process first = Process::Program(TAPECOUNT_EXE, directory_);
  Process second = Process::Program(TAPECOUNT_EXE_127, directory_);
  HWND windows[] = {first.MainWindow(), second.MainWindow()};
  ASSERT_THAT(windows, ::testing::Each(::testing::NotNull()));
  for (int round = 0; round < 200; ++round) {
    PostMessageW(windows[round % 2], WM_COMMAND, IDM_SAVE_SETTINGS, 0);
    if (round % 5 == 0) {
      ASSERT_THAT(FileText(Path()), AnyOf(Eq(original), Eq(whole))) << round;
    }
  }
  // A sent message overtakes posted ones, so the saves are waited for by a key posted after
  // them: once its mode shows in the title, every save before it has run.
  for (HWND window : windows) {
    PostMessageW(window, WM_KEYDOWN, VK_F1, 1);
  }
  for (HWND window : windows) {  // the title read from the window system: no message sent
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadWindowText(window).find(L"自動拡張") != std::wstring::npos; }, 20000));
  }
  EXPECT_EQ(FileText(Path()), whole);
  EXPECT_EQ(FindWindowW(L"#32770", L"テープカン Error"), nullptr);  // no box: no save failed
}

TEST_P(Settings, ColourAndFontDialogsReachTheEntryBox) {
  Open();
  const DeviceContext dc(CreateCompatibleDC(nullptr));
  const auto paint = [&] {
    return reinterpret_cast<HGDIOBJ>(
        SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()), 0));
  };
  HGDIOBJ white = paint();
  EXPECT_EQ(paint(), white);  // one brush per colour, not one per paint
  EXPECT_EQ(GetBkColor(dc.Get()), RGB(255, 255, 255));
  shell_->appearance.colour.rgbResult = RGB(255, 0, 0);  // the dialog starts on red
  EXPECT_EQ(std::get<2>(EntryLook()), RGB(255, 0, 0));
  EXPECT_EQ(GetObjectType(white), 0u);  // the old brush is gone
  {
    DialogWatcher dialogs(IDOK);
    EXPECT_EQ(Command(IDM_BACKGROUND_COLOUR), 1);
    LOGFONTW& font = shell_->appearance.entryFont;
    font.lfCharSet = ANSI_CHARSET;
    wcscpy(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(Command(IDM_ENTRY_FONT), 1);
    EXPECT_EQ(dialogs.Seen().size(), 2u);
  }
  HFONT chosen = shell_->appearance.entryFontHandle.Get();
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(windows().entry, WM_GETFONT, 0, 0)), chosen);
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(windows().total, WM_GETFONT, 0, 0)), chosen);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));  // neither marks the settings unsaved
  Command(IDM_SAVE_SETTINGS);
  const std::wstring saved = FileText(Path());
  EXPECT_NE(saved.find(L"背景色=255\r\n"), std::wstring::npos);
  EXPECT_NE(saved.find(L"フォント=" + std::to_wstring(shell_->appearance.entryFont.lfCharSet)),
            std::wstring::npos);
}

}  // namespace
}  // namespace tapecount::testing
