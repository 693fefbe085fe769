#include "workers.h"

#include "shell/model/window_model.h"

namespace tapecount {

namespace {

// Fade sessions are numbered for the whole process, so a step still on its way from a
// destroyed window's fade is never taken for a later window's.
std::atomic<unsigned> g_nextFadeSession{1};

struct CheckRequest {
  HWND window;
  unsigned generation;
  int rowHeight;
};

void PostScreenRowLimit(const CheckRequest& request) {
  RECT rect{};
  GetWindowRect(request.window, &rect);
  const int limit = ScreenRowLimit(GetSystemMetrics(SM_CYMAXIMIZED), rect.top, request.rowHeight);
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
  unsigned session;
  int level;
  Fade fade;
};

// Steps the alpha by 5 every 10 ms under the fade lock, each step applied by the window
// thread. Stops early when its session ends (transparency turned off, window destroyed).
DWORD WINAPI FadeThread(void* parameter) {
  const std::unique_ptr<FadeRequest> request(static_cast<FadeRequest*>(parameter));
  FadeShared& shared = *request->shared;
  const bool in = request->fade == Fade::In;
  EnterCriticalSection(&shared.lock);
  if (!in) {
    Sleep(150);
  }
  const int step = in ? 5 : -5;
  for (int alpha = in ? request->level : 255; in ? alpha <= 255 : alpha >= request->level;
       alpha += step) {
    if (shared.session != request->session) {
      break;
    }
    PostMessageW(request->window, kMsgFadeStep, static_cast<WPARAM>(alpha),
                 static_cast<LPARAM>(request->session));
    Sleep(10);
  }
  LeaveCriticalSection(&shared.lock);
  (in ? shared.fadeInRunning : shared.fadeOutRunning) = false;
  return 1;
}

}  // namespace

void StartScreenRowCheck(HWND window, unsigned generation, int rowHeight) {
  auto request = std::make_unique<CheckRequest>(CheckRequest{window, generation, rowHeight});
  KernelHandle thread(CreateThread(nullptr, 0, ScreenRowCheck, request.get(), 0, nullptr));
  if (thread) {
    request.release();  // the thread's now
  } else {
    // No thread to be had: measured here, and handed back the same way.
    PostScreenRowLimit(*request);
  }
}

void Fades::Start(HWND window, int level) {
  shared_ = std::make_shared<FadeShared>();
  shared_->session = g_nextFadeSession++;
  window_ = window;
  level_ = level;
}

void Fades::Stop() {
  Cancel();
  shared_.reset();
  fadeOut_.Reset();
  fadeIn_.Reset();
}

void Fades::Begin(Fade fade) {
  if (shared_ == nullptr) {
    return;
  }
  std::atomic<bool>& running = fade == Fade::In ? shared_->fadeInRunning : shared_->fadeOutRunning;
  if (running.exchange(true)) {
    return;  // one of this kind is on its way already
  }
  auto request = std::make_unique<FadeRequest>(
      FadeRequest{shared_, window_, shared_->session.load(), level_, fade});
  HANDLE thread = CreateThread(nullptr, 0, FadeThread, request.get(), 0, nullptr);
  if (thread == nullptr) {
    // That fade does not happen; the pointer's next entering or leaving starts one as usual.
    running = false;
    return;
  }
  request.release();
  // Nothing waits on the thread replaced: its handle goes at once.
  (fade == Fade::In ? fadeIn_ : fadeOut_).Reset(thread);
}

void Fades::Cancel() {
  if (shared_ != nullptr) {
    shared_->session = g_nextFadeSession++;
  }
}

bool Fades::IsCurrent(unsigned session) const {
  return shared_ != nullptr && session == shared_->session;
}

}  // namespace tapecount
