#include "commands.h"

#include "export.h"
#include "resource.h"
#include "settings.h"
#include "shell.h"

namespace tapecount {

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

LRESULT ShowAbout(Shell& shell) {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_ABOUT), shell.windows.main, AboutProc, 0);
  SetFocus(shell.windows.entry);
  return 1;
}

LRESULT Exit(Shell& shell) {
  DestroyWindow(shell.windows.main);
  return 1;
}

template <Mode mode>
LRESULT ToggleMode(Shell& shell) {
  shell.model.ToggleMode(mode);
  return 1;
}

struct Command {
  WORD id;
  LRESULT (*run)(Shell& shell);
};

const Command kCommands[] = {
    {IDM_ABOUT, ShowAbout},
    {IDM_EXIT, Exit},
    {IDM_TRANSFER, TransferHistory},
    {IDM_PAGE_SETUP, ShowPageSetup},
    {IDM_PRINT, PrintHistory},
    {IDM_AUTO_EXPAND, ToggleMode<Mode::AutoExpand>},
    {IDM_TOPMOST, ToggleMode<Mode::Topmost>},
    {IDM_SAVE_SETTINGS, SaveSettings},
    {IDM_BACKGROUND_COLOUR, ChooseBackgroundColour},
    {IDM_ENTRY_FONT, ChooseEntryFont},
    {IDM_AUTO_MODE, ToggleMode<Mode::AutoMode>},
    {IDM_SINGLE_INSTANCE, ToggleSingleInstance},
    {IDM_TRANSPARENCY, ToggleMode<Mode::Transparency>},
};

}  // namespace

LRESULT RunCommand(Shell& shell, WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam);
  for (const Command& command : kCommands) {
    if (command.id == id) {
      return command.run(shell);
    }
  }
  return DefWindowProcW(shell.windows.main, WM_COMMAND, wParam, lParam);
}

}  // namespace tapecount
