// Start-up as each program's entry runs it: the guard, the window, the message loop.
#pragma once

#include <windows.h>

#include "core/release.h"

namespace tapecount {

struct Shell;

// The single-instance guard's mutex, as every copy of the program names it.
inline constexpr wchar_t kMutexName[] = L"テプカン識別用文字列";

// `commandLine` (after the program's name) is empty but for a start after the session's end
// or with a tape dropped on the program.
int TapecountMain(HINSTANCE instance, const wchar_t* commandLine, int show,
                  const Release& release) noexcept;
// False when another copy runs and the guard is on (after the beep).
bool AcquireSingleInstance(Shell& shell);
// Loads the names, registers the class, creates the window, takes back the tape of a restart,
// shows the window and applies the settings. Returns the window, or null when it could not
// be created.
HWND OpenMainWindow(Shell& shell, int show);
int RunMessageLoop(Shell& shell);

}  // namespace tapecount
