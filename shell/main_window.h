// The main window: its procedure, its creation and the program's start-up.
#pragma once

#include <windows.h>

namespace tapecount {

inline constexpr wchar_t kMutexName[] = L"テプカン識別用文字列";
// A screen-row check's result, handed to the window thread: wParam the limit, lParam the
// check's generation.
inline constexpr UINT kMsgScreenRowLimit = WM_APP + 1;
// One step of a fade, handed to the window thread: wParam the alpha, lParam the fade
// session it belongs to.
inline constexpr UINT kMsgFadeStep = WM_APP + 2;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EntryBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up as the program runs it: the guard, the window, the message loop.
int TapecountMain(HINSTANCE instance, int show);
// False when another copy runs and the guard is on (after the beep).
bool AcquireSingleInstance();
// Loads the names, registers the class, creates and shows the window, applies the
// settings. Returns the window, or null when it could not be created.
HWND OpenMainWindow(HINSTANCE instance, int show);
int RunMessageLoop();

}  // namespace tapecount
