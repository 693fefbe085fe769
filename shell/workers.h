// The window's worker threads: the screen-row checks and transparency's fades. Workers
// never touch window state: each result is posted to the window, and the window thread
// applies it. What a fade does, and when, the window model decides; a fade thread only waits
// and hands back its steps. Workers take no memory and throw nothing: what they need is made
// before they start, on the window thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "core/display.h"
#include "handles.h"

namespace tapecount {

// A screen-row check's result: wParam the limit, lParam the check's generation.
inline constexpr UINT kMsgScreenRowLimit = WM_APP + 1;
// A fade's step: wParam the step's index, lParam the fade (FadeParameter).
inline constexpr UINT kMsgFadeStep = WM_APP + 2;
// A fade's end: lParam the fade (FadeParameter).
inline constexpr UINT kMsgFadeEnded = WM_APP + 3;

// A fade and its session in one message parameter, and back.
inline LPARAM FadeParameter(Fade fade, unsigned session) {
  return static_cast<LPARAM>(static_cast<ULONG_PTR>(session) << 1 | (fade == Fade::Out ? 1 : 0));
}
inline Fade FadeOf(LPARAM parameter) {
  return (parameter & 1) != 0 ? Fade::Out : Fade::In;
}
inline unsigned SessionOf(LPARAM parameter) {
  return static_cast<unsigned>(static_cast<ULONG_PTR>(parameter) >> 1);
}

// Measures the room below the window on a thread of its own and posts the limit back; on
// the calling thread when no thread (or no memory for one) can be had.
void StartScreenRowCheck(HWND window, unsigned generation, int rowHeight) noexcept;

// Shared by the window and its fade threads, so it outlives both: the fade lock lets one
// fade at a time step; the live session tells a running fade whether to go on.
struct FadeShared {
  CriticalSection lock;
  std::atomic<unsigned> liveSession{0};
  std::atomic<bool> windowGone{false};
};

// One window's fade threads.
class Fades {
 public:
  // False when there is no memory for them: the window cannot be made.
  bool Start(HWND window) noexcept;
  // Window destruction: running fades stop; threads still running keep the lock alive.
  void Stop() noexcept;
  bool Begin(const FadePlan& plan) noexcept;
  void StopSessionsBut(unsigned liveSession) noexcept;

  HANDLE Thread(Fade fade) const { return (fade == Fade::In ? fadeIn_ : fadeOut_).Get(); }

 private:
  std::shared_ptr<FadeShared> shared_;
  HWND window_ = nullptr;
  KernelHandle fadeIn_;
  KernelHandle fadeOut_;
};

}  // namespace tapecount
