// The main window: start-up, its procedure, the entry box's and the About box's.
#pragma once

#include <windows.h>

#include "core/release.h"

namespace tapecount {

struct Shell;

inline constexpr wchar_t kMutexName[] = L"テプカン識別用文字列";

// Start-up as each program's entry runs it: the guard, the window, the message loop.
// `commandLine` (after the program's name) is empty but for a start after the session's end.
int TapecountMain(HINSTANCE instance, const wchar_t* commandLine, int show,
                  const Release& release) noexcept;
// False when another copy runs and the guard is on (after the beep).
bool AcquireSingleInstance(Shell& shell);
// Loads the names, registers the class, creates the window, takes back the tape of a restart,
// shows the window and applies the settings. Returns the window, or null when it could not
// be created.
HWND OpenMainWindow(Shell& shell, int show);
int RunMessageLoop(Shell& shell);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EntryBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
