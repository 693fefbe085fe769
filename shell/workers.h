// The window's worker threads: the screen-row checks and transparency's fades. Workers
// never touch window state: each result is posted to the window, and the window thread
// applies it.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "core/display.h"
#include "handles.h"

namespace tapecount {

// A screen-row check's result: wParam the limit, lParam the check's generation.
inline constexpr UINT kMsgScreenRowLimit = WM_APP + 1;
// One step of a fade: wParam the alpha, lParam the fade session it belongs to.
inline constexpr UINT kMsgFadeStep = WM_APP + 2;

// Measures the room below the window on a thread of its own and posts the limit back.
void StartScreenRowCheck(HWND window, unsigned generation, int rowHeight);

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
  // The fades of this session may step; cancelling starts a new one, so running fades stop
  // and any step still on its way is dropped.
  std::atomic<unsigned> session{0};
};

// One window's fades: 5 alpha units every 10 ms between the transparent level and 255,
// the fade-out after a 150 ms wait.
class Fades {
 public:
  // Window creation, in a release whose transparency fades.
  void Start(HWND window, int level);
  // Window destruction: running fades stop; threads still running keep the lock alive.
  void Stop();
  void Begin(Fade fade);
  void Cancel();
  // A step posted by a fade of the current session.
  bool IsCurrent(unsigned session) const;

  const FadeShared* Shared() const { return shared_.get(); }
  HANDLE Thread(Fade fade) const { return (fade == Fade::In ? fadeIn_ : fadeOut_).Get(); }

 private:
  std::shared_ptr<FadeShared> shared_;
  HWND window_ = nullptr;
  int level_ = 0;
  KernelHandle fadeIn_;
  KernelHandle fadeOut_;
};

}  // namespace tapecount
