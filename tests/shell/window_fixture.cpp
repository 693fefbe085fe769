#include "window_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "shell/model/settings_file.h"
#include "shell/model/utf8.h"
#include "support/failing_allocations.h"
#include "support/fake_window.h"

namespace tapecount::testing {

namespace {

HHOOK g_hook = nullptr;
int g_button = IDOK;
std::vector<SeenDialog> g_seen;

// Answered once the dialog is up; one the answer did not close is ended later, and marked.
void CALLBACK Answer(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  if (timer == 1) {
    PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(g_button), 0);
    SetTimer(dialog, 2, 2000, Answer);
    return;
  }
  for (SeenDialog& seen : g_seen) {
    seen.stuck = seen.stuck || seen.dialog == dialog;
  }
  EndDialog(dialog, 0);
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam) {
  const AllocationsAllowed allowed;  // the watcher's records, also while the program's fail
  HWND dialog = reinterpret_cast<HWND>(wParam);
  wchar_t className[32] = {};
  if (code == HCBT_ACTIVATE && GetClassNameW(dialog, className, 32) > 0 &&
      std::wstring(className) == L"#32770") {
    HWND text = GetDlgItem(dialog, 0xFFFF);  // a message box's text
    const std::wstring message = text ? ReadWindowText(text) : L"";
    g_seen.push_back({ReadWindowText(dialog), message, GetWindow(dialog, GW_OWNER), dialog});
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

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

std::wstring ScratchDirectory() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring directory =
      temp + (L"tapecount-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter));
  CreateDirectoryW(directory.c_str(), nullptr);
  return directory;
}

void RemoveScratchDirectory(const std::wstring& directory) {
  for (const std::wstring& path : FilesUnder(directory)) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) {
      RemoveDirectoryW(path.c_str());
    }
  }
  RemoveDirectoryW(directory.c_str());
}

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
  std::vector<std::wstring> paths;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    const std::wstring name = found.cFileName, path = folder + L"\\" + name;
    if (name != L"." && name != L"..") {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        const std::vector<std::wstring> inside = FilesUnder(path);
        paths.insert(paths.end(), inside.begin(), inside.end());
      }
      paths.push_back(path);
    }
  }
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
  }
  return paths;
}

std::wstring ClipboardText() {
  const ClipboardOpen clipboard(nullptr);
  HANDLE data = clipboard ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  return data != nullptr ? GlobalLocked<const wchar_t>(data).Get() : L"";
}

std::string FileBytes(const std::wstring& path) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

std::wstring FileText(const std::wstring& path) {
  const std::string bytes = FileBytes(path);
  if (bytes.rfind("\xFF\xFE", 0) == 0) {
    return std::wstring(reinterpret_cast<const wchar_t*>(&bytes[2]), (bytes.size() - 2) / 2);
  }
  return Wide(DecodeUtf8(bytes).value_or(u"(not UTF-8)"));
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteSettings(const std::wstring& directory, const std::wstring& contents) {
  WriteBytes(directory + L"\\tapecount.ini", EncodeUtf16(ToText(contents)));
}

std::wstring WinePath(const char* unixPath) {
  std::wstring path = L"Z:" + std::wstring(unixPath, unixPath + std::strlen(unixPath));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

Process::Process(const std::wstring& path, const std::wstring& arguments,
                 const std::wstring& directory, DWORD flags) {
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info_)) {
    ADD_FAILURE() << "cannot start another program";
  }
}

Process Process::Program(const std::wstring& program, const std::wstring& directory,
                         const std::wstring& arguments) {
  Process process(program, arguments, directory);
  process.WaitForWindow();
  return process;
}

void Process::WaitForWindow() {
  // Under Wine, WaitForInputIdle can return before the window exists.
  DWORD_PTR result = 0;
  for (int i = 0; i < 1000 && WaitForExit(10) == STILL_ACTIVE; ++i) {
    HWND window = MainWindow();
    if (window != nullptr &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
      break;
    }
  }
}

Process::~Process() {
  if (info_.hProcess == nullptr) {
    return;
  }
  if (HWND window = MainWindow(); window != nullptr && WaitForExit(0) == STILL_ACTIVE) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (WaitForExit(10000) == STILL_ACTIVE) {
    TerminateProcess(info_.hProcess, 1);
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

HeldFile::HeldFile(const std::wstring& path)
    : letGo_(CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-let-go")),
      helper_(Process::Helper(L"lock \"" + path + L"\"")) {
  const KernelHandle held(CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-held"));
  EXPECT_EQ(WaitForSingleObject(held.Get(), 10000), WAIT_OBJECT_0) << "the file is not held";
}

void HeldFile::LetGo() {
  SetEvent(letGo_.Get());
  EXPECT_EQ(helper_.WaitForExit(10000), 0u) << "the file is not let go";
}

void ShellTest::SetUp() {
  directory_ = ScratchDirectory();
  SetCurrentDirectoryW(directory_.c_str());
}

void ShellTest::TearDown() {
  Close();
  SetCurrentDirectoryW((directory_ + L"\\..").c_str());
  RemoveScratchDirectory(directory_);
}

void ShellTest::Open(const std::wstring& commandLine) {
  shell_ = std::make_unique<Shell>(release(), GetModuleHandleW(nullptr));
  shell_->restart = TakeRestartRequest(commandLine.c_str());
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

std::tuple<LRESULT, COLORREF, COLORREF> ShellTest::EntryLook() const {
  const DeviceContext dc(CreateCompatibleDC(nullptr));
  LOGBRUSH brush{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(main_, WM_CTLCOLOREDIT,
                                                    reinterpret_cast<WPARAM>(dc.Get()),
                                                    reinterpret_cast<LPARAM>(windows().entry))),
             sizeof brush, &brush);
  return {SendMessageW(windows().entry, WM_GETFONT, 0, 0), GetTextColor(dc.Get()), brush.lbColor};
}

void ShellTest::Type(const std::wstring& keys) {
  for (wchar_t c : keys) {
    const int vk = TypedKey(c);
    vk != 0 ? PressInEntry(vk) : SendMessageW(windows().entry, WM_CHAR, c, 1);
  }
}

}  // namespace tapecount::testing
