// Shortcut keys and menu commands: tables from keys and ids to the actions.
#pragma once

#include <windows.h>

namespace tapecount {

// True when the key was consumed.
bool HandleShortcutKey(int vk);
// WM_COMMAND of the main window; the window procedure returns the result.
LRESULT RunCommand(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
