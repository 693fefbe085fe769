// The four window modes (auto-expand, auto mode, always on top, transparency), the resize
// that keeps the topmost band, the menu check marks and the unsaved-settings mark.
#pragma once

#include <windows.h>

namespace tapecount {

struct ModeState {
  bool autoExpand = false;
  bool autoMode = false;
  bool topmost = false;
  bool transparent = false;
  // The row capacity the window would have if it reached down to the bottom of the
  // maximised area; 0 until the first check has run.
  int screenRowLimit = 0;
  bool pointerInside = false;  // the pointer is over the window, which holds the capture
  bool settingsDirty = false;
};

// Menu item states.
inline constexpr UINT kItemChecked = MFS_CHECKED;
inline constexpr UINT kItemUnchecked = 0;
inline constexpr UINT kItemGrayed = MFS_GRAYED;

void SetItemState(UINT id, UINT state);
void MarkSettingsDirty();

// Toggles: the function keys and menu commands. Each ends with the settings marked dirty.
void ToggleAutoExpand();
void ToggleAutoMode();
void ToggleTopmost();
void ToggleTransparency();

// Switches: set the flag, the title field and the check mark; never mark the settings.
void AutoExpandOn();
void AutoExpandOff();
void AutoModeOn();
void AutoModeOff();
void TopmostOn();
void TopmostOff();
void TransparencyOn();
void TransparencyOff();

// A new outer size in place; the size handling runs inside the call.
void ResizeKeepingTopmost(int height, int width, bool topmostBand);

// Starts the background check of the room below the window; returns at once.
void StartScreenRowCheck();
// The window thread's handling of a finished check (a posted message).
void ApplyScreenRowCheck(int limit, unsigned generation);
// Every mouse move over the main window.
LRESULT TransparencyTrigger(HWND window, LPARAM position);

// The window's creation and destruction: the fade machinery and the workers.
void StartModeMachinery();
void StopModeMachinery();

}  // namespace tapecount
