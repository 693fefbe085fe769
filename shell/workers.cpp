#include "workers.h"

#include <new>
#include <vector>

#include "shell/model/screen.h"

namespace tapecount {

namespace {

struct CheckRequest {
  HWND window;
  unsigned generation;
  int rowHeight;
};

Box BoxOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

struct MonitorList {
  std::vector<Monitor> monitors;
  bool whole = true;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT*, LPARAM parameter) {
  auto& list = *reinterpret_cast<MonitorList*>(parameter);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    list.whole = false;
    return FALSE;
  }
  try {
    list.monitors.push_back(
        {BoxOf(info.rcMonitor), BoxOf(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  } catch (const std::bad_alloc&) {
    list.whole = false;
    return FALSE;
  }
  return TRUE;
}

// The room below the window on the monitor it is on; from the primary screen's maximised
// height alone when the monitors cannot all be had.
void PostScreenRowLimit(const CheckRequest& request) {
  RECT rect{};
  GetWindowRect(request.window, &rect);
  MonitorList list;
  if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list)) ||
      !list.whole) {
    list.monitors.clear();
  }
  const int limit = ScreenRowLimit(list.monitors, BoxOf(rect), GetSystemMetrics(SM_CYMAXIMIZED),
                                   request.rowHeight);
  PostMessageW(request.window, kMsgScreenRowLimit, static_cast<WPARAM>(limit),
               static_cast<LPARAM>(request.generation));
}

DWORD WINAPI ScreenRowCheck(void* parameter) {
  const std::unique_ptr<CheckRequest> request(static_cast<CheckRequest*>(parameter));
  PostScreenRowLimit(*request);
  return 0;
}

struct FadeRequest {
  std::shared_ptr<FadeShared> shared;
  HWND window;
  FadePlan plan;
};

// Under the fade lock: the wait, then each step handed to the window thread. Stops early
// when its session ends (transparency turned off, the window destroyed).
DWORD WINAPI FadeThread(void* parameter) {
  const std::unique_ptr<FadeRequest> request(static_cast<FadeRequest*>(parameter));
  const FadePlan& plan = request->plan;
  FadeShared& shared = *request->shared;
  const LPARAM fade = FadeParameter(plan.fade, plan.session);
  {
    const auto held = shared.lock.Lock();
    Sleep(static_cast<DWORD>(plan.waitMs));
    for (int step = 0;
         step < plan.steps && shared.liveSession == plan.session && !shared.windowGone; ++step) {
      PostMessageW(request->window, kMsgFadeStep, static_cast<WPARAM>(step), fade);
      Sleep(static_cast<DWORD>(plan.stepMs));
    }
  }
  PostMessageW(request->window, kMsgFadeEnded, 0, fade);
  return 1;
}

}  // namespace

void StartScreenRowCheck(HWND window, unsigned generation, int rowHeight) noexcept {
  const CheckRequest check{window, generation, rowHeight};
  std::unique_ptr<CheckRequest> request(new (std::nothrow) CheckRequest(check));
  if (request != nullptr) {
    const KernelHandle thread(CreateThread(nullptr, 0, ScreenRowCheck, request.get(), 0, nullptr));
    if (thread) {
      request.release();  // the thread's now
      return;
    }
  }
  // No thread to be had: measured here, and handed back the same way.
  PostScreenRowLimit(check);
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
  KernelHandle thread(CreateThread(nullptr, 0, FadeThread, request.get(), 0, nullptr));
  if (!thread) {
    return false;
  }
  request.release();  // the thread's now
  // Nothing waits on the thread replaced: its handle goes at once.
  (plan.fade == Fade::In ? fadeIn_ : fadeOut_) = std::move(thread);
  return true;
}

void Fades::StopSessionsBut(unsigned liveSession) noexcept {
  if (shared_ != nullptr) {
    shared_->liveSession = liveSession;
  }
}

}  // namespace tapecount
