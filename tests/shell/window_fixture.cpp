#include "window_fixture.h"

#include <commctrl.h>

#include <atomic>

namespace tapecount::testing {

namespace {

HHOOK g_hook = nullptr;
int g_button = IDOK;
std::vector<SeenDialog> g_seen;

BOOL CALLBACK CollectText(HWND control, LPARAM parameter) {
  reinterpret_cast<SeenDialog*>(parameter)->texts.push_back(TextOf(control));
  return TRUE;
}

// Answered from a timer, once the dialog has finished initialising.
void CALLBACK Answer(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(g_button), 0);
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
  HWND dialog = reinterpret_cast<HWND>(wParam);
  wchar_t className[32] = {};
  if (code == HCBT_ACTIVATE && GetClassNameW(dialog, className, 32) > 0 &&
      std::wstring(className) == L"#32770") {
    // A message box's text is its static control 0xFFFF.
    HWND text = GetDlgItem(dialog, 0xFFFF);
    SeenDialog seen{TextOf(dialog), text ? TextOf(text) : L"", {}, GetWindow(dialog, GW_OWNER), {}};
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&seen));
    RECT client{}, unit{0, 0, 4, 8};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &unit);
    seen.rect = {0, 0, client.right * 4 / unit.right, client.bottom * 8 / unit.bottom};
    g_seen.push_back(seen);
    SetTimer(dialog, 1, 10, Answer);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

DialogWatcher::DialogWatcher(int button) {
  g_seen.clear();
  g_button = button;
  g_hook = SetWindowsHookExW(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
}

DialogWatcher::~DialogWatcher() {
  UnhookWindowsHookEx(g_hook);
}

const std::vector<SeenDialog>& DialogWatcher::Seen() const {
  return g_seen;
}

void PumpMessages(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_QUIT) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    if (ms > 0) {
      Sleep(1);
    }
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c != '\0'; ++c) {
    path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  }
  return path;
}

std::wstring ScratchDirectory() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring directory = std::wstring(temp) + L"tapecount-test-" +
                           std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(++counter);
  CreateDirectoryW(directory.c_str(), nullptr);
  return directory;
}

void RemoveScratchDirectory(const std::wstring& directory) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      SetFileAttributesW((directory + L"\\" + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW((directory + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(directory.c_str());
}

std::wstring ClipboardText() {
  std::wstring text;
  if (const ClipboardOpen clipboard(nullptr); clipboard) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = GlobalLocked<const wchar_t>(data).Get();
    }
  }
  return text;
}

void WriteSettings(const std::wstring& directory, const std::wstring& contents) {
  const FileHandle file(CreateFileW((directory + L"\\tapecount.ini").c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::wstring text = L"\xFEFF" + contents;
  DWORD written = 0;
  WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
            nullptr);
}

Process::Process(const std::wstring& path, const std::wstring& arguments,
                 const std::wstring& directory) {
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info_)) {
    ADD_FAILURE() << "cannot start another program";
    info_ = {};
  }
}

Process Process::Helper(const std::wstring& arguments) {
  return Process(WindowsPath(TAPECOUNT_HELPER), arguments, L"");
}

Process Process::Program(const char* program, const std::wstring& directory) {
  Process process(WindowsPath(program), L"", directory);
  // Under Wine, WaitForInputIdle can return before the window exists: wait until the main
  // window answers, or the process has ended.
  for (int i = 0; i < 1000 && process.WaitForExit(10) == STILL_ACTIVE; ++i) {
    DWORD_PTR result = 0;
    HWND window = process.MainWindow();
    if (window != nullptr &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
      break;
    }
  }
  return process;
}

Process::~Process() {
  if (info_.hProcess == nullptr) {
    return;
  }
  if (WaitForExit(0) == STILL_ACTIVE) {
    if (HWND window = MainWindow()) {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForExit(10000) == STILL_ACTIVE) {
      TerminateProcess(info_.hProcess, 1);
    }
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

DWORD Process::WaitForExit(DWORD ms) {
  WaitForSingleObject(info_.hProcess, ms);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND Process::MainWindow() const {
  for (HWND window = FindWindowW(L"TPCT", nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, L"TPCT", nullptr)) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == info_.dwProcessId) {
      return window;
    }
  }
  return nullptr;
}

void ShellTest::SetUp() {
  wchar_t current[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, current);
  previousDirectory_ = current;
  directory_ = ScratchDirectory();
  SetCurrentDirectoryW(directory_.c_str());
}

void ShellTest::TearDown() {
  Close();
  SetCurrentDirectoryW(previousDirectory_.c_str());
  RemoveScratchDirectory(directory_);
}

void ShellTest::Open() {
  shell_ = std::make_unique<Shell>(release(), GetModuleHandleW(nullptr));
  main_ = OpenMainWindow(*shell_, SW_SHOWNORMAL);
  ASSERT_NE(main_, nullptr);
  PumpMessages();
}

void ShellTest::Close() {
  if (main_ != nullptr && IsWindow(main_)) {
    DestroyWindow(main_);
  }
  main_ = nullptr;
  PumpMessages();  // the quit message the window posts is taken off the queue
}

void ShellTest::Type(const std::wstring& keys) {
  static const std::wstring kKeys = L"\n+-*/.";
  static const int kVirtualKeys[] = {VK_RETURN,   VK_ADD,    VK_SUBTRACT,
                                     VK_MULTIPLY, VK_DIVIDE, VK_DECIMAL};
  for (wchar_t c : keys) {
    const std::size_t key = kKeys.find(c);
    if (key != std::wstring::npos) {
      PressInEntry(kVirtualKeys[key]);
    } else {
      SendMessageW(windows().entry, WM_CHAR, c, 1);
    }
  }
}

std::wstring ShellTest::StatusText() const {
  HWND status = windows().status;
  const int length = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void ShellTest::Resize(int width, int height) {
  SetWindowPos(main_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void ShellTest::MoveTo(int x, int y) {
  SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool ShellTest::Checked(int id) const {
  return (GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool ShellTest::Grayed(int id) const {
  return (GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

void ShellTest::WaitForScreenRowChecks() {
  const DWORD giveUp = GetTickCount() + 10000;
  while (!model().ScreenRowChecksSettled() && static_cast<int>(giveUp - GetTickCount()) > 0) {
    PumpMessages(1);
  }
  ASSERT_TRUE(model().ScreenRowChecksSettled());
}

}  // namespace tapecount::testing
