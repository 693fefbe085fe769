// The main window's procedure: a dispatcher, one small function per message, each handing
// the message to the window model in its own terms.
#pragma once

#include <windows.h>

namespace tapecount {

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
