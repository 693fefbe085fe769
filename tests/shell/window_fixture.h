// The real main window under Wine, made as the program makes it, in a scratch directory; the
// programs and the helper in processes of their own; files, the clipboard and dialogs as the
// user would see them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "entry_box.h"
#include "program.h"
#include "shell.h"
#include "shell/model/settings_file.h"
#include "shell/model/utf8.h"
#include "support/failing_allocations.h"
#include "support/fake_window.h"
#include "wide.h"

namespace tapecount::testing {

// A dialog or message box as the user saw it.
struct SeenDialog {
  std::wstring caption, text;  // a message box's text
  HWND owner, dialog;
  bool stuck = false;  // the button did not close it: it was ended after two seconds
};

// Records each dialog shown on this thread while it lives, answering it with `button`.
class DialogWatcher {
 public:
  explicit DialogWatcher(int button = IDOK) {
    seen_.clear();
    button_ = button;
    hook_ = SetWindowsHookExW(WH_CBT, Watch, nullptr, GetCurrentThreadId());
  }
  ~DialogWatcher() { UnhookWindowsHookEx(hook_); }
  const std::vector<SeenDialog>& Seen() const { return seen_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const AllocationsAllowed allowed;  // the records, also while the program's allocations fail
    HWND dialog = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    if (code == HCBT_ACTIVATE && GetClassNameW(dialog, className, 32) > 0 &&
        std::wstring(className) == L"#32770") {
      HWND text = GetDlgItem(dialog, 0xFFFF);  // a message box's text
      const std::wstring message = text ? ReadWindowText(text) : L"";
      seen_.push_back({ReadWindowText(dialog), message, GetWindow(dialog, GW_OWNER), dialog});
      SetTimer(dialog, 1, 10, Answer);
    }
    return CallNextHookEx(hook_, code, wParam, lParam);
  }
  // Answered once the dialog is up; one the answer did not close is ended later, and marked.
  static void CALLBACK Answer(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    if (timer == 1) {
      PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(button_), 0);
      SetTimer(dialog, 2, 2000, Answer);
      return;
    }
    for (SeenDialog& seen : seen_) {
      seen.stuck = seen.stuck || seen.dialog == dialog;
    }
    EndDialog(dialog, 0);
  }

  static inline HHOOK hook_ = nullptr;
  static inline int button_ = IDOK;
  static inline std::vector<SeenDialog> seen_;
};

// Runs the window thread's queue until it is empty.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// Runs the window thread until `done`, for `ms` at most; whether `done` held when last asked.
template <typename Done>
bool WaitUntil(Done done, DWORD ms = 10000) {
  bool held = false;
  for (const DWORD end = GetTickCount() + ms;
       !(held = done()) && static_cast<int>(end - GetTickCount()) > 0;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    PumpMessages();
  }
  return held;
}

inline std::wstring ScratchDirectory() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring directory =
      temp + (L"tapecount-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter));
  CreateDirectoryW(directory.c_str(), nullptr);
  return directory;
}

// Every file and folder under `folder`, each folder after what it holds.
inline std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
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

// The directory and all it holds.
inline void RemoveScratchDirectory(const std::wstring& directory) {
  for (const std::wstring& path : FilesUnder(directory)) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) {
      RemoveDirectoryW(path.c_str());
    }
  }
  RemoveDirectoryW(directory.c_str());
}

// The Unicode text on the clipboard, or "" when it holds none.
inline std::wstring ClipboardText() {
  const ClipboardOpen clipboard(nullptr);
  HANDLE data = clipboard ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  return data != nullptr ? GlobalLocked<const wchar_t>(data).Get() : L"";
}

inline std::string FileBytes(const std::wstring& path) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

// A file's text: UTF-16 after its byte-order mark (the settings), else UTF-8 (a journal).
inline std::wstring FileText(const std::wstring& path) {
  const std::string bytes = FileBytes(path);
  if (bytes.rfind("\xFF\xFE", 0) == 0) {
    return std::wstring(reinterpret_cast<const wchar_t*>(&bytes[2]), (bytes.size() - 2) / 2);
  }
  return Wide(DecodeUtf8(bytes).value_or(u"(not UTF-8)"));
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Writes tapecount.ini into `directory` as the program writes it.
inline void WriteSettings(const std::wstring& directory, const std::wstring& contents) {
  WriteBytes(directory + L"\\tapecount.ini", EncodeUtf16(ToText(contents)));
}

// A file of the build as Wine sees it.
inline std::wstring WinePath(const char* unixPath) {
  std::wstring path = L"Z:" + std::wstring(unixPath, unixPath + std::strlen(unixPath));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

// The helper or a program under test in `directory`; closed if still running when this goes.
class Process {
 public:
  static Process Helper(const std::wstring& arguments) {
    return {WinePath(TAPECOUNT_HELPER), arguments, {}};
  }
  // Waits until the program's main window answers, or the program has ended.
  static Process Program(const std::wstring& program, const std::wstring& directory,
                         const std::wstring& arguments = L"") {
    Process process(program, arguments, directory);
    process.WaitForWindow();
    return process;
  }
  static Process Program(const char* program, const std::wstring& directory,
                         const std::wstring& arguments = L"") {
    return Program(WinePath(program), directory, arguments);
  }
  // The program with its main thread not yet run, for the test to prepare it.
  static Process Suspended(const char* program, const std::wstring& directory,
                           const std::wstring& arguments) {
    return {WinePath(program), arguments, directory, CREATE_SUSPENDED};
  }
  Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }
  ~Process() {
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

  // The exit code once it has ended within `ms`; STILL_ACTIVE otherwise.
  DWORD WaitForExit(DWORD ms) {
    WaitForSingleObject(info_.hProcess, ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  HWND MainWindow() const {
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
  // Until the main window answers, or the program has ended (under Wine, WaitForInputIdle
  // can return before the window exists).
  void WaitForWindow() {
    DWORD_PTR result = 0;
    WaitUntil([&] {
      return WaitForExit(0) != STILL_ACTIVE ||
             SendMessageTimeoutW(MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    });
  }
  const PROCESS_INFORMATION& Info() const { return info_; }

 private:
  Process(const std::wstring& path, const std::wstring& arguments, const std::wstring& directory,
          DWORD flags = 0) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info_)) {
      ADD_FAILURE() << "cannot start another program";
    }
  }

  PROCESS_INFORMATION info_{};
};

// Another program holding the file open, unshared, from when this is made until it lets go.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path)
      : letGo_(CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-let-go")),
        helper_(Process::Helper(L"lock \"" + path + L"\"")) {
    const KernelHandle held(CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-held"));
    EXPECT_EQ(WaitForSingleObject(held.Get(), 10000), WAIT_OBJECT_0) << "the file is not held";
  }
  ~HeldFile() { LetGo(); }
  // Returns once the file is closed.
  void LetGo() {
    SetEvent(letGo_.Get());
    EXPECT_EQ(helper_.WaitForExit(10000), 0u) << "the file is not let go";
  }

 private:
  KernelHandle letGo_;
  Process helper_;
};

// The window of one release, made in a scratch directory that is the current one.
class ShellTest : public ::testing::Test {
 protected:
  explicit ShellTest(const Release& release) : release_(release) {}
  void SetUp() override { SetCurrentDirectoryW(directory_.c_str()); }
  void TearDown() override {
    Close();
    SetCurrentDirectoryW((directory_ + L"\\..").c_str());
    RemoveScratchDirectory(directory_);
  }

  const Release& release() const { return release_; }
  bool Is134() const { return &release_ == &kRelease134; }
  // Creates the window as the program does, with this command line.
  void Open(const std::wstring& commandLine = L"") {
    shell_ = std::make_unique<Shell>(release(), GetModuleHandleW(nullptr));
    shell_->restart = TakeRestartRequest(commandLine.c_str());
    main_ = OpenMainWindow(*shell_, SW_SHOWNORMAL);
    ASSERT_NE(main_, nullptr);
    PumpMessages();
  }
  void Close() {
    if (main_ != nullptr && IsWindow(main_)) {
      DestroyWindow(main_);
    }
    main_ = nullptr;
    PumpMessages();  // the quit message the window posts is taken off the queue
  }

  // Types as the user would: TypedKey's keys as key-downs of the entry box, the rest as text.
  void Type(const std::wstring& keys) {
    for (wchar_t c : keys) {
      if (const int vk = TypedKey(c); vk != 0) {
        PressInEntry(vk);
      } else {
        SendMessageW(windows().entry, WM_CHAR, c, 1);
      }
    }
  }
  LRESULT KeyDown(HWND window, int vk) { return SendMessageW(window, WM_KEYDOWN, vk, 1); }
  LRESULT PressInEntry(int vk) { return KeyDown(windows().entry, vk); }
  LRESULT Command(int id) { return SendMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

  const ShellWindows& windows() const { return shell_->windows; }
  const WindowModel& model() const { return shell_->model; }
  std::wstring Title() const { return ReadWindowText(main_); }
  std::wstring EntryText() const { return ReadWindowText(windows().entry); }
  std::wstring InputPane() const { return ReadWindowText(windows().inputPane); }
  std::wstring StatusText() const { return ReadWindowText(windows().status); }  // part 0
  static RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
  }
  int Width() const { return RectOf(main_).right - RectOf(main_).left; }
  int Height() const { return RectOf(main_).bottom - RectOf(main_).top; }
  void Resize(int width, int height) {
    SetWindowPos(main_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  }
  void MoveTo(int x, int y) { SetWindowPos(main_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }
  bool MenuState(int id, UINT state) const {
    return (GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & state) != 0;
  }
  bool Checked(int id) const { return MenuState(id, MF_CHECKED); }
  bool Grayed(int id) const { return MenuState(id, MF_GRAYED); }
  // How the entry box is drawn: its font, text colour and background colour.
  std::tuple<LRESULT, COLORREF, COLORREF> EntryLook() const {
    const DeviceContext dc(CreateCompatibleDC(nullptr));
    const LRESULT brush = SendMessageW(main_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                       reinterpret_cast<LPARAM>(windows().entry));
    LOGBRUSH colour{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(brush), sizeof colour, &colour);
    return {SendMessageW(windows().entry, WM_GETFONT, 0, 0), GetTextColor(dc.Get()),
            colour.lbColor};
  }
  int Alpha() const {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(main_, nullptr, &alpha, nullptr);
    return alpha;
  }
  // Runs the window thread until every screen-row check asked for has reported.
  void WaitForScreenRowChecks() {
    ASSERT_TRUE(WaitUntil([&] { return model().ScreenRowChecksSettled(); }));
  }
  std::wstring Path() const { return directory_ + L"\\tapecount.ini"; }

  const Release& release_;
  const std::wstring directory_ = ScratchDirectory();
  std::unique_ptr<Shell> shell_;
  HWND main_ = nullptr;
};

// A suite's tests for each release.
class ReleaseTest : public ShellTest, public ::testing::WithParamInterface<const Release*> {
 protected:
  ReleaseTest() : ShellTest(*GetParam()) {}
};
inline std::string ReleaseName(const Release* release) {
  return release == &kRelease134 ? "134" : "127";
}
#define TAPECOUNT_BOTH_RELEASES(suite)                                                     \
  INSTANTIATE_TEST_SUITE_P(Releases, suite, ::testing::Values(&kRelease134, &kRelease127), \
                           [](const auto& info) { return ReleaseName(info.param); })

}  // namespace tapecount::testing
