#include "modes.h"

#include "release_choice.h"
#include "resource.h"
#include "shell.h"

namespace tapecount {

namespace {

ModeState& Modes() {
  return TheShell().modes;
}

void SetTitleField(std::wstring TitleFields::*field, const wchar_t* text) {
  TheShell().title.*field = text;
  RebuildTitle();
}

void AddLayeredStyle(HWND window) {
  SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
}

void SetTopmostBand(bool topmost) {
  const Shell& shell = TheShell();
  SetWindowPos(shell.main, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, shell.tape->StoredWidth(),
               shell.tape->StoredHeight(), SWP_NOMOVE);
}

}  // namespace

void SetItemState(UINT id, UINT state) {
  Shell& shell = TheShell();
  shell.itemState.fMask = MIIM_STATE;
  shell.itemState.fState = state;
  SetMenuItemInfoW(shell.menu, id, FALSE, &shell.itemState);
}

void MarkSettingsDirty() {
  Modes().settingsDirty = true;
  SetItemState(IDM_SAVE_SETTINGS, kItemUnchecked);
}

void ToggleAutoExpand() {
  const ModeState& modes = Modes();
  // In auto mode with no room left below the window, auto-expand stays as it is.
  if (TheShell().tape->DisplayedRowCount() < modes.screenRowLimit || !modes.autoMode) {
    modes.autoExpand ? AutoExpandOff() : AutoExpandOn();
  }
  MarkSettingsDirty();
}

void ToggleAutoMode() {
  Modes().autoMode ? AutoModeOff() : AutoModeOn();
  MarkSettingsDirty();
}

void ToggleTopmost() {
  Modes().topmost ? TopmostOff() : TopmostOn();
  MarkSettingsDirty();
}

void ToggleTransparency() {
  Modes().transparent ? TransparencyOff() : TransparencyOn();
  MarkSettingsDirty();
}

void AutoExpandOn() {
  ModeState& modes = Modes();
  if (modes.autoMode && TheShell().tape->DisplayedRowCount() >= modes.screenRowLimit) {
    return;
  }
  modes.autoExpand = true;
  SetTitleField(&TitleFields::autoExpand, L"自動拡張");
  SetItemState(IDM_AUTO_EXPAND, kItemChecked);
}

void AutoExpandOff() {
  Modes().autoExpand = false;
  SetTitleField(&TitleFields::autoExpand, L"");
  SetItemState(IDM_AUTO_EXPAND, kItemUnchecked);
}

void AutoModeOn() {
  Modes().autoMode = true;
  SetTitleField(&TitleFields::autoMode, L"ｵｰﾄ");
  SetItemState(IDM_AUTO_MODE, kItemChecked);
}

void AutoModeOff() {
  Modes().autoMode = false;
  SetTitleField(&TitleFields::autoMode, L"");
  SetItemState(IDM_AUTO_MODE, kItemUnchecked);
}

void TopmostOn() {
  SetTopmostBand(true);
  Modes().topmost = true;
  SetTitleField(&TitleFields::topmost, L"前表示");
  SetItemState(IDM_TOPMOST, kItemChecked);
}

void TopmostOff() {
  SetTopmostBand(false);
  Modes().topmost = false;
  SetTitleField(&TitleFields::topmost, L"");
  SetItemState(IDM_TOPMOST, kItemUnchecked);
}

void TransparencyOn() {
  const Shell& shell = TheShell();
  Modes().transparent = true;
  AddLayeredStyle(shell.main);
  SetLayeredWindowAttributes(shell.main, 0, kRelease.transparentAlpha, LWA_ALPHA);
  SetItemState(IDM_TRANSPARENCY, kItemChecked);
}

void TransparencyOff() {
  const Shell& shell = TheShell();
  ModeState& modes = Modes();
  modes.transparent = false;
  AddLayeredStyle(shell.main);
  SetLayeredWindowAttributes(shell.main, 0, 255, LWA_ALPHA);
  SetItemState(IDM_TRANSPARENCY, kItemUnchecked);
  if (modes.pointerInside) {
    ReleaseCapture();
    modes.pointerInside = false;
  }
}

void ResizeKeepingTopmost(int height, int width, bool topmostBand) {
  SetWindowPos(TheShell().main, topmostBand ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, width, height,
               SWP_NOMOVE);
  Modes().topmost = topmostBand;
}

void StartScreenRowCheck() {}

void ApplyScreenRowCheck(int, unsigned) {}

LRESULT TransparencyTrigger(HWND, LPARAM) {
  return 1;
}

void StartModeMachinery() {}

void StopModeMachinery() {}

}  // namespace tapecount
