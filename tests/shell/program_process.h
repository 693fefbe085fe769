// The real program as a separate process, for what only whole processes show.
#pragma once

#include <windows.h>

#include <string>

namespace tapecount::testing {

// The program under test: TAPECOUNT_EXE, a Unix path set by the test build.
std::wstring ProgramPath();

class ProgramProcess {
 public:
  // Starts the program in `directory` and waits until it is idle or has ended.
  explicit ProgramProcess(const std::wstring& directory);
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;
  ~ProgramProcess();

  bool Started() const { return info_.hProcess != nullptr; }
  // The exit code once it has ended within `ms`; STILL_ACTIVE otherwise.
  DWORD WaitForExit(DWORD ms);
  // Its main window (class TPCT), or null.
  HWND MainWindow() const;
  // Closes it as the user would, with the window's close box.
  void Close();

 private:
  PROCESS_INFORMATION info_{};
};

void WriteSettings(const std::wstring& directory, const std::wstring& contents);

}  // namespace tapecount::testing
