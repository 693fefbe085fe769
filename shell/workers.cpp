#include "workers.h"

#include <process.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "shell/model/screen.h"

namespace tapecount {

namespace {

constexpr DWORD kHandBackRetryMs = 10;

// A check's request, with room for every monitor made on the window thread: the check's own
// thread takes no memory, so it never throws (a thread's first exception needs memory).
struct CheckRequest {
  HWND window;
  unsigned generation;
  int rowHeight;
  std::vector<Monitor> monitors;
  bool whole = true;
};

// Without the room, no monitor is listed: the limit comes from the primary screen alone.
void MakeRoomForMonitors(CheckRequest& request) noexcept {
  try {
    request.monitors.reserve(static_cast<std::size_t>(std::max(1, GetSystemMetrics(SM_CMONITORS))));
  } catch (const std::bad_alloc&) {
  }
}

Box BoxOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT*, LPARAM parameter) {
  auto& request = *reinterpret_cast<CheckRequest*>(parameter);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  // A monitor more than there was room for (one added since) is not had either.
  if (request.monitors.size() == request.monitors.capacity() || !GetMonitorInfoW(monitor, &info)) {
    request.whole = false;
    return FALSE;
  }
  request.monitors.push_back(
      {BoxOf(info.rcMonitor), BoxOf(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

// The room below the window on the monitor it is on; from the primary screen's maximised
// height alone when the monitors cannot all be had; as the result message's parameters.
std::pair<WPARAM, LPARAM> MeasureScreenRowLimit(CheckRequest& request) noexcept {
  RECT rect{};
  GetWindowRect(request.window, &rect);
  if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&request)) ||
      !request.whole) {
    request.monitors.clear();
  }
  const int limit = ScreenRowLimit(request.monitors, BoxOf(rect), GetSystemMetrics(SM_CYMAXIMIZED),
                                   request.rowHeight);
  return {static_cast<WPARAM>(limit), static_cast<LPARAM>(request.generation)};
}

// A result the window waits for, posted from a worker. A full queue refuses it: the worker
// tries again until the window takes it or is gone, since a lost result would leave the
// window waiting for good.
void HandBack(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  while (!PostMessageW(window, message, wParam, lParam) && IsWindow(window)) {
    Sleep(kHandBackRetryMs);
  }
}

unsigned __stdcall ScreenRowCheck(void* parameter) {
  const std::unique_ptr<CheckRequest> request(static_cast<CheckRequest*>(parameter));
  const auto [limit, generation] = MeasureScreenRowLimit(*request);
  HandBack(request->window, kMsgScreenRowLimit, limit, generation);
  return 0;
}

// Measured on the window thread: handed back the same way, or at once when the queue is full
// (waiting here for room would wait for good).
void ScreenRowCheckHere(CheckRequest& request) noexcept {
  const auto [limit, generation] = MeasureScreenRowLimit(request);
  if (!PostMessageW(request.window, kMsgScreenRowLimit, limit, generation)) {
    SendMessageW(request.window, kMsgScreenRowLimit, limit, generation);
  }
}

struct FadeRequest {
  std::shared_ptr<FadeShared> shared;
  HWND window;
  FadePlan plan;
};

// Under the fade lock: the wait, then each step handed to the window thread. Stops early
// when its session ends (transparency turned off, the window destroyed).
unsigned __stdcall FadeThread(void* parameter) {
  const std::unique_ptr<FadeRequest> request(static_cast<FadeRequest*>(parameter));
  const FadePlan& plan = request->plan;
  FadeShared& shared = *request->shared;
  const LPARAM fade = FadeParameter(plan.fade, plan.session);
  {
    const auto held = shared.lock.Lock();
    Sleep(static_cast<DWORD>(plan.waitMs));
    for (int step = 0;
         step < plan.steps && shared.liveSession == plan.session && !shared.windowGone; ++step) {
      HandBack(request->window, kMsgFadeStep, static_cast<WPARAM>(step), fade);
      Sleep(static_cast<DWORD>(plan.stepMs));
    }
  }
  HandBack(request->window, kMsgFadeEnded, 0, fade);
  return 1;
}

// A thread of the C runtime's: the workers free memory, and a thread the runtime did not start
// may be ended by it when it makes the thread's own data without memory. Null when none.
HANDLE StartThread(unsigned(__stdcall* run)(void*), void* parameter) noexcept {
  return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, run, parameter, 0, nullptr));
}

}  // namespace

void StartScreenRowCheck(HWND window, unsigned generation, int rowHeight) noexcept {
  std::unique_ptr<CheckRequest> request(new (std::nothrow)
                                            CheckRequest{window, generation, rowHeight, {}});
  if (request == nullptr) {  // measured here, from the primary screen alone
    CheckRequest here{window, generation, rowHeight, {}};
    ScreenRowCheckHere(here);
    return;
  }
  MakeRoomForMonitors(*request);
  const KernelHandle thread(StartThread(ScreenRowCheck, request.get()));
  if (thread) {
    request.release();  // the thread's now
    return;
  }
  ScreenRowCheckHere(*request);  // no thread to be had
}

bool Fades::Start(HWND window) noexcept {
  try {
    shared_ = std::make_shared<FadeShared>();
  } catch (const std::bad_alloc&) {
    return false;
  }
  window_ = window;
  return true;
}

void Fades::Stop() noexcept {
  if (shared_ != nullptr) {
    shared_->windowGone = true;
  }
  shared_.reset();
  fadeOut_.Reset();
  fadeIn_.Reset();
}

bool Fades::Begin(const FadePlan& plan) noexcept {
  if (shared_ == nullptr) {
    return false;
  }
  std::unique_ptr<FadeRequest> request(new (std::nothrow) FadeRequest{shared_, window_, plan});
  if (request == nullptr) {
    return false;
  }
  KernelHandle thread(StartThread(FadeThread, request.get()));
  if (!thread) {
    return false;
  }
  request.release();  // the thread's now
  // Nothing waits on the thread replaced: its handle goes at once.
  if (plan.fade == Fade::In) {
    fadeIn_ = std::move(thread);
  } else {
    fadeOut_ = std::move(thread);
  }
  return true;
}

void Fades::StopSessionsBut(unsigned liveSession) noexcept {
  if (shared_ != nullptr) {
    shared_->liveSession = liveSession;
  }
}

}  // namespace tapecount
