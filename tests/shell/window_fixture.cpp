#include "window_fixture.h"

#include "program_process.h"

#include <commctrl.h>

#include <atomic>

namespace tapecount::testing {

namespace {

HHOOK g_hook = nullptr;
std::vector<SeenMessageBox> g_seen;

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(box, className, 32);
    // A message box is a dialog whose text is the static control 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (std::wstring(className) == L"#32770" && text != nullptr) {
      g_seen.push_back({TextOf(text), TextOf(box), GetWindow(box, GW_OWNER)});
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() {
  g_seen.clear();
  g_hook = SetWindowsHookExW(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher() {
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

const std::vector<SeenMessageBox>& MessageBoxWatcher::Seen() const {
  return g_seen;
}

namespace {

HHOOK g_dialogHook = nullptr;
int g_dialogButton = IDOK;
std::vector<SeenDialog> g_dialogs;

BOOL CALLBACK CollectText(HWND control, LPARAM parameter) {
  reinterpret_cast<SeenDialog*>(parameter)->texts.push_back(TextOf(control));
  return TRUE;
}

// Dialogs are answered from a timer, once they have finished initialising.
void CALLBACK AnswerDialog(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(g_dialogButton), 0);
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND dialog = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(dialog, className, 32);
    if (std::wstring(className) == L"#32770") {
      SeenDialog seen{TextOf(dialog), {}, {}};
      EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&seen));
      RECT client{};
      GetClientRect(dialog, &client);
      RECT unit{0, 0, 4, 8};
      MapDialogRect(dialog, &unit);
      seen.rect = {0, 0, client.right * 4 / unit.right, client.bottom * 8 / unit.bottom};
      g_dialogs.push_back(seen);
      SetTimer(dialog, 1, 50, AnswerDialog);
    }
  }
  return CallNextHookEx(g_dialogHook, code, wParam, lParam);
}

}  // namespace

DialogWatcher::DialogWatcher(int button) {
  g_dialogs.clear();
  g_dialogButton = button;
  g_dialogHook = SetWindowsHookExW(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
}

DialogWatcher::~DialogWatcher() {
  UnhookWindowsHookEx(g_dialogHook);
  g_dialogHook = nullptr;
}

const std::vector<SeenDialog>& DialogWatcher::Seen() const {
  return g_dialogs;
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

int OuterHeight(HWND window) {
  const RECT r = WindowRectOf(window);
  return r.bottom - r.top;
}

int OuterWidth(HWND window) {
  const RECT r = WindowRectOf(window);
  return r.right - r.left;
}

void PumpMessages(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
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

void MainWindowTest::SetUp() {
  wchar_t current[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, current);
  previousDirectory_ = current;
  directory_ = ScratchDirectory();
  SetCurrentDirectoryW(directory_.c_str());
}

void MainWindowTest::TearDown() {
  Close();
  SetCurrentDirectoryW(previousDirectory_.c_str());
  DeleteFileW((directory_ + L"\\tapecount.ini").c_str());
  RemoveDirectoryW(directory_.c_str());
}

void MainWindowTest::WriteSettingsFile(const std::wstring& contents) {
  WriteSettings(directory_, contents);
}

std::wstring ClipboardText() {
  std::wstring text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  return text;
}

void MainWindowTest::Open() {
  main_ = OpenMainWindow(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  ASSERT_NE(main_, nullptr);
  PumpMessages();
}

void MainWindowTest::Close() {
  if (main_ != nullptr && IsWindow(main_)) {
    DestroyWindow(main_);
  }
  main_ = nullptr;
  PumpMessages();  // the quit message the window posts is taken off the queue
}

void MainWindowTest::KeyDown(HWND window, int vk) {
  SendMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
}

void MainWindowTest::Type(const std::wstring& keys) {
  for (wchar_t c : keys) {
    switch (c) {
      case L'\n':
        PressInEntry(VK_RETURN);
        break;
      case L'+':
        PressInEntry(VK_ADD);
        break;
      case L'-':
        PressInEntry(VK_SUBTRACT);
        break;
      case L'*':
        PressInEntry(VK_MULTIPLY);
        break;
      case L'/':
        PressInEntry(VK_DIVIDE);
        break;
      case L'.':
        PressInEntry(VK_DECIMAL);
        break;
      default:
        SendMessageW(shell().entry, WM_CHAR, c, 1);
        break;
    }
  }
}

std::wstring MainWindowTest::StatusText() {
  HWND status = shell().status;
  const int length = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void MainWindowTest::Resize(int width, int height) {
  SetWindowPos(main_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void MainWindowTest::MoveTo(int x, int y) {
  SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void MainWindowTest::WaitForScreenRowChecks() {
  const DWORD giveUp = GetTickCount() + 10000;
  while (shell().modes.checksFinished != shell().modes.checksStarted &&
         static_cast<int>(giveUp - GetTickCount()) > 0) {
    PumpMessages(1);
  }
  ASSERT_EQ(shell().modes.checksFinished, shell().modes.checksStarted);
}

}  // namespace tapecount::testing
