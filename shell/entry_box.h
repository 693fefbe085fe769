// The entry box's subclass procedure: closes the IME on every key and hands the keys to the
// window model (the calculator's keys, then the shortcuts).
#pragma once

#include <windows.h>

namespace tapecount {

LRESULT CALLBACK EntryBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
