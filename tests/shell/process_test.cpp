// The real programs in processes of their own: the single-instance guard, and how they end.
#include <windows.h>

#include "resource.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

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
  std::wstring first_ = ScratchDirectory(), second_ = ScratchDirectory();
};

TEST_F(Programs, TheGuardStopsASecondCopyWhicheverCopySetIt) {
  {
    WriteSettings(first_, L"[セッテイング]\r\n2重起動防止=1\r\n");
    Process running = Process::Program(TAPECOUNT_EXE, first_);
    ASSERT_NE(running.MainWindow(), nullptr);
    EXPECT_EQ(Process::Program(TAPECOUNT_EXE_127, first_).WaitForExit(10000), 0u);
    EXPECT_EQ(running.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  }
  {
    Process running = Process::Program(TAPECOUNT_EXE, second_);     // guard off
    Process second = Process::Program(TAPECOUNT_EXE_127, second_);  // guard off too
    EXPECT_NE(second.MainWindow(), nullptr);                        // it answers
    EXPECT_EQ(second.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    // A copy with the guard off still stops one with the guard on.
    EXPECT_EQ(Process::Program(TAPECOUNT_EXE, first_).WaitForExit(10000), 0u);
  }
}

TEST_F(Programs, ClosingInTheMiddleOfAFadeEndsWithExitCodeZero) {
  WriteSettings(first_, L"[セッテイング]\r\n透明化=1\r\n");
  for (bool fading : {false, true}) {  // closed as the fades start, or once the first is shown
    Process program = Process::Program(TAPECOUNT_EXE, first_);
    HWND window = program.MainWindow();
    ASSERT_NE(window, nullptr);
    BYTE alpha = 0, transparent = 0;
    GetLayeredWindowAttributes(window, nullptr, &transparent, nullptr);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));  // the pointer comes in
    if (fading) {
      EXPECT_TRUE(WaitUntil([&] {
        return GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr) && alpha != transparent;
      })) << "no fade";
    }
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 65535));  // and goes
    PostMessageW(window, WM_KEYDOWN, VK_CONTROL, 1);               // the Control key quits
    EXPECT_EQ(program.WaitForExit(10000), 0u) << fading;
  }
}

// The programs' terminate handler: an exception escaping any thread ends the program at once.
TEST_F(Programs, AnExceptionEscapingAThreadEndsTheProgram) {
  EXPECT_EQ(Process::Helper(L"throw").WaitForExit(10000), 3u);
}

}  // namespace
}  // namespace tapecount::testing
