// Drives the real main window under Wine (null graphics driver): the program's own window
// procedures, created as the program creates them, in a scratch current directory.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window.h"
#include "shell.h"

namespace tapecount::testing {

// A message box as the user saw it; the watcher answers it with OK.
struct SeenMessageBox {
  std::wstring text;
  std::wstring caption;
  HWND owner;
};

// Watches the message boxes shown on this thread while it lives, and closes each.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  const std::vector<SeenMessageBox>& Seen() const;
};

// A dialog as the user saw it: its caption and the texts of its controls.
struct SeenDialog {
  std::wstring caption;
  std::vector<std::wstring> texts;
  RECT rect;  // in dialog units
};

// Answers every dialog box shown on this thread while it lives by pressing `button` once
// the dialog is up, and records each.
class DialogWatcher {
 public:
  explicit DialogWatcher(int button);
  ~DialogWatcher();
  const std::vector<SeenDialog>& Seen() const;
};

std::wstring TextOf(HWND window);
RECT WindowRectOf(HWND window);
int OuterHeight(HWND window);
int OuterWidth(HWND window);
// Runs the window thread's queue until it is empty, then for `ms` more milliseconds.
void PumpMessages(DWORD ms = 0);
// A Unix path of the build as Wine sees it (Z:\...).
std::wstring WindowsPath(const char* unixPath);
std::wstring ScratchDirectory();
// The Unicode text on the clipboard, or "" when it holds none.
std::wstring ClipboardText();

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes tapecount.ini into the scratch directory (UTF-16 with a byte-order mark).
  void WriteSettingsFile(const std::wstring& contents);
  // Creates the window as the program does (after writing any settings).
  void Open();
  void Close();

  // Types as the user would: digits as characters into the entry box, the rest as key-downs
  // of the entry box: '\n' Enter, '+' '-' '*' '/' '.' the keypad keys.
  void Type(const std::wstring& keys);
  void KeyDown(HWND window, int vk);
  void PressInEntry(int vk) { KeyDown(shell().entry, vk); }

  Shell& shell() { return TheShell(); }
  std::wstring Title() { return TextOf(main_); }
  std::wstring EntryText() { return TextOf(shell().entry); }
  std::wstring InputPane() { return TextOf(shell().inputPane); }
  std::wstring TotalPane() { return TextOf(shell().totalPane); }
  std::wstring StatusText();
  void Resize(int width, int height);
  void MoveTo(int x, int y);
  void Command(int id) { SendMessageW(main_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
  bool Checked(int id) {
    return (GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  bool Grayed(int id) { return (GetMenuState(GetMenu(main_), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  // Runs the window thread until every screen-row check started so far has reported.
  void WaitForScreenRowChecks();

  HWND main_ = nullptr;
  std::wstring directory_;
  std::wstring previousDirectory_;
};

}  // namespace tapecount::testing
