// The real programs in processes of their own: the single-instance guard, how they end, and
// their About boxes.
#include <windows.h>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

const wchar_t kGuardOn[] = L"[セッテイング]\r\n2重起動防止=1\r\n";

class Programs : public ::testing::Test {
 protected:
  void SetUp() override {
    const KernelHandle other(OpenMutexW(SYNCHRONIZE, FALSE, kMutexName));
    ASSERT_FALSE(other) << "another copy of the program is running in this Wine prefix";
  }
  void TearDown() override {
    RemoveScratchDirectory(first_);
    RemoveScratchDirectory(second_);
  }
  std::wstring first_ = ScratchDirectory();
  std::wstring second_ = ScratchDirectory();
};

TEST_F(Programs, TheGuardStopsASecondCopyWhicheverCopySetIt) {
  {
    WriteSettings(first_, kGuardOn);
    Process running = Process::Program(TAPECOUNT_EXE, first_);
    ASSERT_NE(running.MainWindow(), nullptr);
    EXPECT_EQ(Process::Program(TAPECOUNT_EXE_127, first_).WaitForExit(10000), 0u);
    EXPECT_EQ(running.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  }
  {
    Process running = Process::Program(TAPECOUNT_EXE, second_);     // guard off
    Process second = Process::Program(TAPECOUNT_EXE_127, second_);  // guard off too
    EXPECT_TRUE(second.WaitForExit(300) == STILL_ACTIVE && second.MainWindow() != nullptr);
    // A copy with the guard off still stops one with the guard on.
    EXPECT_EQ(Process::Program(TAPECOUNT_EXE, first_).WaitForExit(10000), 0u);
  }
}

TEST_F(Programs, ClosingInTheMiddleOfAFadeEndsWithExitCodeZero) {
  WriteSettings(first_, L"[セッテイング]\r\n透明化=1\r\n");
  for (int round = 0; round < 3; ++round) {
    Process program = Process::Program(TAPECOUNT_EXE, first_);
    HWND window = program.MainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));
    Sleep(static_cast<DWORD>(round * 100));
    PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 1);  // the Control key quits
    EXPECT_EQ(program.WaitForExit(10000), 0u);
  }
}

// Each program's own About box, opened from its menu command: the texts of its controls, and
// its height in pixels.
std::vector<std::wstring> AboutTexts(const char* program, const std::wstring& directory,
                                     int& height) {
  Process running = Process::Program(program, directory);
  PostMessageW(running.MainWindow(), WM_COMMAND, IDM_ABOUT, 0);
  HWND about = nullptr;  // shown once its controls are all there
  for (int i = 0; i < 500 && !(about != nullptr && IsWindowVisible(about)); ++i) {
    Sleep(10);
    about = FindWindowW(L"#32770", L"テプカン");
  }
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(about, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(TextOf(child));
  }
  RECT client{};
  GetClientRect(about, &client);
  height = client.bottom;
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  return texts;
}

TEST_F(Programs, EachAboutBoxNamesItsVersion) {
  int height = 0, oldHeight = 0;
  const std::vector<std::wstring> texts = AboutTexts(TAPECOUNT_EXE, first_, height);
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[1], L"テプカン: ver 1.34");
  EXPECT_EQ(texts[2], L"履歴表示計算機 for windows");
  EXPECT_EQ(texts[3], L"小数点2桁まで対応^^;　まぁｲｲﾔぁ");
  EXPECT_EQ(texts.back(), L"OK");
  const std::vector<std::wstring> old = AboutTexts(TAPECOUNT_EXE_127, second_, oldHeight);
  ASSERT_GE(old.size(), 3u);
  EXPECT_EQ(old[1], L"テプカン: ver 1.27");
  EXPECT_EQ(old[2], L"履歴表示計算機 for windows");
  // 80 and 70 dialog units high, in the same font: their heights are as 8 to 7.
  EXPECT_NEAR(height * 7.0 / oldHeight, 8.0, 0.1) << height << " and " << oldHeight;
}

}  // namespace
}  // namespace tapecount::testing
