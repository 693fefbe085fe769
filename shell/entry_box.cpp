#include "entry_box.h"

#include "handles.h"
#include "shell.h"

namespace tapecount {

namespace {

// Amounts are typed in half-width digits: the IME is closed before each key is handled.
void CloseIme(Shell& shell, HWND entry) {
  ImeContext ime(entry);
  if (ime.Get() == nullptr) {
    return;  // no input method for this window: nothing to close or release
  }
  ImmSetOpenStatus(ime.Get(), FALSE);
  if (!ime.Release()) {
    shell.display.ShowMessage(kImeReleaseErrorMessage);
  }
}

}  // namespace

LRESULT CALLBACK EntryBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Shell* shell = ShellOf(window);
  if (shell == nullptr || shell->entryBoxDefault == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);  // not subclassed by us
  }
  if (message == WM_KEYDOWN) {
    CloseIme(*shell, window);
    switch (shell->model.EntryBoxKey(static_cast<int>(wParam))) {
      case EntryKey::Handled:
        return 1;
      case EntryKey::Refused:
        return 0;
      case EntryKey::PassOn:
        break;
    }
  }
  return CallWindowProcW(shell->entryBoxDefault, window, message, wParam, lParam);
}

}  // namespace tapecount
