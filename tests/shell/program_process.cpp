#include "program_process.h"

#include <cstdlib>

#include "window_fixture.h"

namespace tapecount::testing {

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (processId == search->processId && std::wstring(className) == L"TPCT") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring ProgramPath() {
  const char* path = std::getenv("TAPECOUNT_EXE");
  return path != nullptr ? WindowsPath(path) : std::wstring();
}

ProgramProcess::ProgramProcess(const std::wstring& directory) {
  const std::wstring program = ProgramPath();
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info_)) {
    info_ = {};
    return;
  }
  // Under Wine, WaitForInputIdle can return before the window exists: wait until the main
  // window answers, or the process has ended.
  WaitForInputIdle(info_.hProcess, 10000);
  for (int i = 0; i < 1000 && WaitForExit(10) == STILL_ACTIVE; ++i) {
    DWORD_PTR result = 0;
    HWND window = MainWindow();
    if (window != nullptr &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
      break;
    }
  }
}

ProgramProcess::~ProgramProcess() {
  if (info_.hProcess == nullptr) {
    return;
  }
  if (WaitForExit(0) == STILL_ACTIVE) {
    Close();
    if (WaitForExit(5000) == STILL_ACTIVE) {
      TerminateProcess(info_.hProcess, 1);
    }
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

DWORD ProgramProcess::WaitForExit(DWORD ms) {
  WaitForSingleObject(info_.hProcess, ms);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND ProgramProcess::MainWindow() const {
  Search search{info_.dwProcessId, nullptr};
  EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ProgramProcess::Close() {
  if (HWND window = MainWindow()) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

void WriteSettings(const std::wstring& directory, const std::wstring& contents) {
  HANDLE file = CreateFileW((directory + L"\\tapecount.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const wchar_t byteOrderMark = 0xFEFF;
  WriteFile(file, &byteOrderMark, sizeof byteOrderMark, &written, nullptr);
  WriteFile(file, contents.data(), static_cast<DWORD>(contents.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
}

}  // namespace tapecount::testing
