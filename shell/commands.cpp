#include "commands.h"

#include "core/keys.h"
#include "export.h"
#include "main_window.h"
#include "modes.h"
#include "release_choice.h"
#include "resource.h"
#include "settings.h"
#include "shell.h"

namespace tapecount {

namespace {

// The narrowest width the Left key still narrows from.
constexpr int kMinNarrowableWidth = 284;
constexpr int kWidthStep = 10;

void QuitProgram() {
  DestroyWindow(TheShell().main);
}

void UndoLastEntry() {
  if (kRelease.keepsEntryHistory) {
    TheShell().calculator->UndoLastEntry();
  }
}

void ClearAll() {
  TheShell().calculator->ClearAll();
}

void ShrinkOneRow() {
  TheShell().tape->ShrinkByOneRow();
}

void GrowOneRow() {
  TheShell().tape->GrowByOneRow();
}

void Narrow() {
  const Shell& shell = TheShell();
  const int width = shell.tape->StoredWidth();
  if (width >= kMinNarrowableWidth) {
    ResizeKeepingTopmost(shell.tape->StoredHeight(), width - kWidthStep, shell.modes.topmost);
  }
}

void Widen() {
  const Shell& shell = TheShell();
  ResizeKeepingTopmost(shell.tape->StoredHeight(), shell.tape->StoredWidth() + kWidthStep,
                       shell.modes.topmost);
}

struct ShortcutKey {
  int vk;
  void (*action)();
  bool consumed;  // false: the key goes on to the control that had it
};

const ShortcutKey kShortcutKeys[] = {
    {kVkBack, UndoLastEntry, kRelease.keepsEntryHistory},
    {kVkReturn, FocusEntryBox, true},  // from the main window; in the entry box a plus key
    {kVkControl, QuitProgram, true},
    {kVkPrior, ShrinkOneRow, true},
    {kVkUp, ShrinkOneRow, true},
    {kVkNext, GrowOneRow, true},
    {kVkDown, GrowOneRow, true},
    {kVkLeft, Narrow, true},
    {kVkRight, Widen, true},
    {kVkDelete, ClearAll, true},
    {kVkF1, ToggleAutoExpand, false},
    {kVkF2, ToggleAutoMode, false},
    {kVkF3, ToggleTopmost, false},
    {kVkF4, ToggleTransparency, false},
};

LRESULT ShowAbout(HWND window) {
  DialogBoxParamW(TheProgram().instance, MAKEINTRESOURCEW(IDD_ABOUT), window, AboutProc, 0);
  FocusEntryBox();
  return 1;
}

LRESULT Exit(HWND window) {
  DestroyWindow(window);
  return 1;
}

// A command whose result is 1.
template <auto action>
LRESULT Do(HWND) {
  action();
  return 1;
}

// A command whose result is its action's.
template <auto action>
LRESULT Result(HWND) {
  return action();
}

struct Command {
  WORD id;
  LRESULT (*run)(HWND window);
};

const Command kCommands[] = {
    {IDM_ABOUT, ShowAbout},
    {IDM_EXIT, Exit},
    {IDM_TRANSFER, Result<TransferHistory>},
    {IDM_PAGE_SETUP, Result<ShowPageSetup>},
    {IDM_PRINT, PrintHistory},
    {IDM_AUTO_EXPAND, Do<ToggleAutoExpand>},
    {IDM_TOPMOST, Do<ToggleTopmost>},
    {IDM_SAVE_SETTINGS, Do<SaveSettings>},
    {IDM_BACKGROUND_COLOUR, Result<ChooseBackgroundColour>},
    {IDM_ENTRY_FONT, Result<ChooseEntryFont>},
    {IDM_AUTO_MODE, Do<ToggleAutoMode>},
    {IDM_SINGLE_INSTANCE, Do<ToggleSingleInstance>},
    {IDM_TRANSPARENCY, Do<ToggleTransparency>},
};

}  // namespace

bool HandleShortcutKey(int vk) {
  for (const ShortcutKey& key : kShortcutKeys) {
    if (key.vk == vk) {
      key.action();
      return key.consumed;
    }
  }
  return false;
}

LRESULT RunCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam);
  for (const Command& command : kCommands) {
    if (command.id == id) {
      return command.run(window);
    }
  }
  return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}

}  // namespace tapecount
