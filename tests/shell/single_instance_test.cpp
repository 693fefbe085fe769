// The single-instance guard, with real processes of the program.
#include <gtest/gtest.h>

#include "main_window.h"
#include "program_process.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

const wchar_t kGuardOn[] = L"[セッテイング]\r\n2重起動防止=1\r\n";

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ProgramPath().empty()) << "TAPECOUNT_EXE is not set";
    HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
    if (other != nullptr) {
      CloseHandle(other);
      FAIL() << "another copy of the program is running in this Wine prefix";
    }
  }
  void TearDown() override {
    for (const std::wstring& directory : {first_, second_}) {
      DeleteFileW((directory + L"\\tapecount.ini").c_str());
      RemoveDirectoryW(directory.c_str());
    }
  }
  std::wstring first_ = ScratchDirectory();
  std::wstring second_ = ScratchDirectory();
};

TEST_F(SingleInstance, GuardOnStopsASecondCopyWithExitCodeZero) {
  WriteSettings(first_, kGuardOn);
  ProgramProcess running(first_);
  ASSERT_TRUE(running.Started());
  ASSERT_NE(running.MainWindow(), nullptr);

  ProgramProcess second(first_);
  EXPECT_EQ(second.WaitForExit(10000), 0u);
  EXPECT_EQ(running.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

  running.Close();
  EXPECT_EQ(running.WaitForExit(10000), 0u);
}

TEST_F(SingleInstance, GuardOffLetsASecondCopyRun) {
  ProgramProcess running(first_);
  ProgramProcess second(second_);
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_NE(second.MainWindow(), nullptr);
}

TEST_F(SingleInstance, ACopyWithTheGuardOffStillStopsOneWithTheGuardOn) {
  ProgramProcess running(first_);  // no settings: guard off
  WriteSettings(second_, kGuardOn);
  ProgramProcess second(second_);
  EXPECT_EQ(second.WaitForExit(10000), 0u);
}

}  // namespace
}  // namespace tapecount::testing
