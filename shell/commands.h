// Menu commands: a table from command ids to their actions.
#pragma once

#include <windows.h>

namespace tapecount {

struct Shell;

// WM_COMMAND of the main window; the window procedure returns the result.
LRESULT RunCommand(Shell& shell, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
