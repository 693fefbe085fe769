#include "modes.h"

#include "main_window.h"
#include "release_choice.h"
#include "resource.h"
#include "shell.h"

namespace tapecount {

namespace {

// Fade sessions are numbered for the whole process, so a step still on its way from a
// destroyed window's fade is never taken for a later window's.
std::atomic<unsigned> g_nextFadeSession{1};

ModeState& Modes() {
  return TheShell().modes;
}

// Ends every fade of the current session: they stop stepping, their queued steps are dropped.
void CancelFades() {
  if (Modes().fades != nullptr) {
    Modes().fades->session = g_nextFadeSession++;
  }
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
  CancelFades();
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

namespace {

struct CheckRequest {
  HWND window;
  unsigned generation;
  int rowHeight;
};

// Worker: computes the limit from the window's position and hands it to the window thread.
DWORD WINAPI ScreenRowCheck(void* parameter) {
  const std::unique_ptr<CheckRequest> request(static_cast<CheckRequest*>(parameter));
  RECT rect{};
  GetWindowRect(request->window, &rect);
  const int limit = ScreenRowLimit(GetSystemMetrics(SM_CYMAXIMIZED), rect.top, request->rowHeight);
  PostMessageW(request->window, kMsgScreenRowLimit, static_cast<WPARAM>(limit),
               static_cast<LPARAM>(request->generation));
  return 0;
}

struct FadeRequest {
  std::shared_ptr<FadeShared> shared;
  HWND window;
  unsigned session;
  int level;
  bool fadeIn;
};

// Worker: steps the alpha by 5 every 10 ms under the fade lock, each step applied by the
// window thread. Stops early when transparency is turned off (the session changes).
DWORD WINAPI Fade(void* parameter) {
  const std::unique_ptr<FadeRequest> request(static_cast<FadeRequest*>(parameter));
  FadeShared& shared = *request->shared;
  EnterCriticalSection(&shared.lock);
  if (!request->fadeIn) {
    Sleep(150);
  }
  const int step = request->fadeIn ? 5 : -5;
  for (int alpha = request->fadeIn ? request->level : 255;
       request->fadeIn ? alpha <= 255 : alpha >= request->level; alpha += step) {
    if (shared.session != request->session) {
      break;
    }
    PostMessageW(request->window, kMsgFadeStep, static_cast<WPARAM>(alpha),
                 static_cast<LPARAM>(request->session));
    Sleep(10);
  }
  LeaveCriticalSection(&shared.lock);
  (request->fadeIn ? shared.fadeInRunning : shared.fadeOutRunning) = false;
  return 1;
}

void StartFade(bool fadeIn) {
  Shell& shell = TheShell();
  ModeState& modes = shell.modes;
  std::atomic<bool>& running = fadeIn ? modes.fades->fadeInRunning : modes.fades->fadeOutRunning;
  if (running.exchange(true)) {
    return;  // one of this kind is on its way already
  }
  auto* request = new FadeRequest{modes.fades, shell.main, modes.fades->session,
                                  kRelease.transparentAlpha, fadeIn};
  HANDLE thread = CreateThread(nullptr, 0, Fade, request, 0, nullptr);
  if (thread == nullptr) {
    delete request;
    running = false;
    return;
  }
  // Nothing waits on the thread replaced: its handle goes at once.
  (fadeIn ? modes.fadeInThread : modes.fadeOutThread).Reset(thread);
}

}  // namespace

int ScreenRowLimit(int maximisedHeight, int top, int rowHeight) {
  return (maximisedHeight - top - kNonRowHeight) / rowHeight;
}

void StartScreenRowCheck() {
  Shell& shell = TheShell();
  ModeState& modes = shell.modes;
  auto* request = new CheckRequest{shell.main, ++modes.checksStarted, kRelease.geometry.rowHeight};
  HANDLE thread = CreateThread(nullptr, 0, ScreenRowCheck, request, 0, nullptr);
  if (thread == nullptr) {
    delete request;
    ++modes.checksFinished;
    return;
  }
  CloseHandle(thread);
}

void ApplyScreenRowCheck(int limit, unsigned generation) {
  ModeState& modes = Modes();
  ++modes.checksFinished;
  // A check started before the one applied last read an older position.
  if (static_cast<int>(generation - modes.lastCheckApplied) <= 0) {
    return;
  }
  modes.lastCheckApplied = generation;
  modes.screenRowLimit = limit;
  if (modes.autoMode) {
    limit > TheShell().tape->DisplayedRowCount() ? AutoExpandOn() : AutoExpandOff();
  }
}

void ApplyFadeStep(int alpha, unsigned session) {
  const Shell& shell = TheShell();
  if (!shell.modes.transparent || shell.modes.fades == nullptr ||
      session != shell.modes.fades->session) {
    return;
  }
  AddLayeredStyle(shell.main);
  SetLayeredWindowAttributes(shell.main, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

LRESULT TransparencyTrigger(HWND window, LPARAM position) {
  ModeState& modes = Modes();
  if (!modes.transparent) {
    return 1;
  }
  // Unsigned on purpose: left of or above the client area reads as far right or below.
  POINT point{LOWORD(position), HIWORD(position)};
  if (!modes.pointerInside) {
    SetCapture(window);
    modes.pointerInside = true;
    StartFade(true);
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  ClientToScreen(window, &point);
  if (point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
      point.y <= rect.bottom) {
    return 1;
  }
  ReleaseCapture();
  modes.pointerInside = false;
  StartFade(false);
  return 1;
}

void StartModeMachinery() {
  if (!kRelease.fades) {
    return;  // no fade lock, no fade threads
  }
  ModeState& modes = Modes();
  modes.fades = std::make_shared<FadeShared>();
  modes.fades->session = g_nextFadeSession++;
}

void StopModeMachinery() {
  ModeState& modes = Modes();
  CancelFades();
  // Fade threads still running keep the fade lock alive until they end.
  modes.fades.reset();
  modes.fadeOutThread.Reset();
  modes.fadeInThread.Reset();
}

}  // namespace tapecount
