// The whole program in its own process: how it ends.
#include <gtest/gtest.h>

#include "program_process.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

TEST(Program, ClosingInTheMiddleOfAFadeEndsWithExitCodeZero) {
  const std::wstring directory = ScratchDirectory();
  WriteSettings(directory, L"[セッテイング]\r\n透明化=1\r\n");
  for (int round = 0; round < 3; ++round) {
    ProgramProcess program(directory);
    HWND window = program.MainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));
    Sleep(static_cast<DWORD>(round * 100));
    PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 1);  // the Control key quits
    EXPECT_EQ(program.WaitForExit(10000), 0u);
  }
  DeleteFileW((directory + L"\\tapecount.ini").c_str());
  RemoveDirectoryW(directory.c_str());
}

}  // namespace
}  // namespace tapecount::testing
