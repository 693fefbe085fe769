// The four window modes (auto-expand, auto mode, always on top, transparency), the resize
// that keeps the topmost band, the menu check marks and the unsaved-settings mark.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "handles.h"

namespace tapecount {

// Shared by the window and its fade threads, so it outlives both: the fade lock lets one
// fade at a time step the alpha; the running flags keep a second fade of a kind from
// starting while one runs.
struct FadeShared {
  FadeShared() { InitializeCriticalSection(&lock); }
  FadeShared(const FadeShared&) = delete;
  FadeShared& operator=(const FadeShared&) = delete;
  ~FadeShared() { DeleteCriticalSection(&lock); }

  CRITICAL_SECTION lock;
  std::atomic<bool> fadeOutRunning{false};
  std::atomic<bool> fadeInRunning{false};
  // The fades of this session may step; turning transparency off starts a new one, so
  // running fades stop and any step still on its way is dropped.
  std::atomic<unsigned> session{0};
};

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

  // Screen-row checks: a result is applied only when it comes from a check started after
  // the one applied last, so the limit follows the latest position.
  unsigned checksStarted = 0;
  unsigned lastCheckApplied = 0;
  unsigned checksFinished = 0;  // results received, applied or dropped

  std::shared_ptr<FadeShared> fades;
  KernelHandle fadeOutThread;
  KernelHandle fadeInThread;
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
// The screen row limit for a window whose top edge is `top`, with a maximised height of
// `maximisedHeight`.
int ScreenRowLimit(int maximisedHeight, int top, int rowHeight);
// The window thread's handling of one fade step (a posted message).
void ApplyFadeStep(int alpha, unsigned session);
// Every mouse move over the main window.
LRESULT TransparencyTrigger(HWND window, LPARAM position);

// The window's creation and destruction: the fade machinery and the workers.
void StartModeMachinery();
void StopModeMachinery();

}  // namespace tapecount
