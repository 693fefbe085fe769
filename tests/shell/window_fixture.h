// The real main window under Wine, made as the program makes it, in a scratch directory.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "main_window.h"
#include "shell.h"
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
  explicit DialogWatcher(int button = IDOK);
  ~DialogWatcher();
  const std::vector<SeenDialog>& Seen() const;
};

// Runs the window thread's queue until it is empty.
void PumpMessages();
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
std::wstring ScratchDirectory();
// The directory and all it holds.
void RemoveScratchDirectory(const std::wstring& directory);
// Every file and folder under `folder`, each folder after what it holds.
std::vector<std::wstring> FilesUnder(const std::wstring& folder);
// The Unicode text on the clipboard, or "" when it holds none.
std::wstring ClipboardText();
std::string FileBytes(const std::wstring& path);
// A file's text: UTF-16 after its byte-order mark (the settings), else UTF-8 (a journal).
std::wstring FileText(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
// Writes tapecount.ini into `directory` as the program writes it.
void WriteSettings(const std::wstring& directory, const std::wstring& contents);

// A file of the build as Wine sees it.
std::wstring WinePath(const char* unixPath);

// The helper or a program under test in `directory`; closed if still running when this goes.
class Process {
 public:
  static Process Helper(const std::wstring& arguments) {
    return {WinePath(TAPECOUNT_HELPER), arguments, {}};
  }
  // Waits until the program's main window answers, or the program has ended.
  static Process Program(const std::wstring& program, const std::wstring& directory,
                         const std::wstring& arguments = L"");
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
  ~Process();
  // The exit code once it has ended within `ms`; STILL_ACTIVE otherwise.
  DWORD WaitForExit(DWORD ms);
  HWND MainWindow() const;
  // Until the main window answers, or the program has ended.
  void WaitForWindow();
  const PROCESS_INFORMATION& Info() const { return info_; }

 private:
  Process(const std::wstring& path, const std::wstring& arguments, const std::wstring& directory,
          DWORD flags = 0);
  PROCESS_INFORMATION info_{};
};

// Another program holding the file open, unshared, from when this is made until it lets go.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path);
  ~HeldFile() { LetGo(); }
  // Returns once the file is closed.
  void LetGo();

 private:
  KernelHandle letGo_;
  Process helper_;
};

// The window of one release, made in a scratch directory that is the current one.
class ShellTest : public ::testing::Test {
 protected:
  explicit ShellTest(const Release& release) : release_(release) {}
  void SetUp() override;
  void TearDown() override;

  const Release& release() const { return release_; }
  bool Is134() const { return &release_ == &kRelease134; }
  // Creates the window as the program does, with this command line.
  void Open(const std::wstring& commandLine = L"");
  void Close();

  // Types as the user would: TypedKey's keys as key-downs of the entry box, the rest as text.
  void Type(const std::wstring& keys);
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
  std::tuple<LRESULT, COLORREF, COLORREF> EntryLook() const;
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
  std::unique_ptr<Shell> shell_;
  HWND main_ = nullptr;
  std::wstring directory_;
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
