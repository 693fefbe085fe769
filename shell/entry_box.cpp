// The entry box's subclass procedure: closes the IME on every key and hands the keys to the
// window model (the calculator's keys, then the shortcuts).
#include <windows.h>

#include <imm.h>

#include "main_window.h"
#include "shell.h"

namespace tapecount {

namespace {

// Amounts are typed in half-width digits: the IME is closed before each key is handled.
void CloseIme(HWND entry) {
  HIMC context = ImmGetContext(entry);
  if (context == nullptr) {
    return;  // no input method for this window: nothing to close or release
  }
  ImmSetOpenStatus(context, FALSE);
  if (!ImmReleaseContext(entry, context)) {
    MessageBoxW(entry, L"ImmReleaseContext Error", L"テープカン Error", MB_ICONWARNING);
  }
}

}  // namespace

LRESULT CALLBACK EntryBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Shell& shell = *ShellOf(window);
  if (message == WM_KEYDOWN) {
    CloseIme(window);
    switch (shell.model.EntryBoxKey(static_cast<int>(wParam))) {
      case EntryKey::Handled:
        return 1;
      case EntryKey::Refused:
        return 0;
      case EntryKey::PassOn:
        break;
    }
  }
  return CallWindowProcW(shell.entryBoxDefault, window, message, wParam, lParam);
}

}  // namespace tapecount
