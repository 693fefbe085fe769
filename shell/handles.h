// Owners for Win32 handles, and a scope for every pairing (lock and unlock, begin and end),
// so no path leaks them and no end is written by hand.
#pragma once

#include <windows.h>

#include <imm.h>

#include <utility>

namespace tapecount {

// A handle released by its owner's `Release` function; `Invalid` is the handle meaning none.
template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(other.Take()) {}
  Owned& operator=(Owned&& other) noexcept {
    Reset(other.Take());
    return *this;
  }
  ~Owned() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) {
      Traits::Release(handle_);
    }
    handle_ = handle;
  }
  Handle Take() { return std::exchange(handle_, Traits::Invalid()); }

 private:
  Handle handle_ = Traits::Invalid();
};

template <typename Handle>
struct GdiTraits {
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { DeleteObject(handle); }
};
struct KernelTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(HANDLE handle) { CloseHandle(handle); }
};
// A mutex this thread owns: released, then closed.
struct OwnedMutexTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Release(HANDLE handle) {
    ReleaseMutex(handle);
    CloseHandle(handle);
  }
};
struct DcTraits {
  static HDC Invalid() { return nullptr; }
  static void Release(HDC dc) { DeleteDC(dc); }
};
struct GlobalTraits {
  static HGLOBAL Invalid() { return nullptr; }
  static void Release(HGLOBAL block) { GlobalFree(block); }
};

// A font or a brush.
template <typename Handle>
using GdiObject = Owned<Handle, GdiTraits<Handle>>;
// A thread or an event.
using KernelHandle = Owned<HANDLE, KernelTraits>;
using FileHandle = Owned<HANDLE, FileTraits>;
using OwnedMutex = Owned<HANDLE, OwnedMutexTraits>;
// A printer device context.
using DeviceContext = Owned<HDC, DcTraits>;
using GlobalBlock = Owned<HGLOBAL, GlobalTraits>;

// The clipboard, open while this lives.
class ClipboardOpen {
 public:
  explicit ClipboardOpen(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  ~ClipboardOpen() {
    if (open_) {
      CloseClipboard();
    }
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// A global memory block, locked while this lives.
template <typename T>
class GlobalLocked {
 public:
  explicit GlobalLocked(HGLOBAL block) : block_(block), data_(static_cast<T*>(GlobalLock(block))) {}
  GlobalLocked(const GlobalLocked&) = delete;
  GlobalLocked& operator=(const GlobalLocked&) = delete;
  ~GlobalLocked() {
    if (data_ != nullptr) {
      GlobalUnlock(block_);
    }
  }
  T* Get() const { return data_; }

 private:
  HGLOBAL block_;
  T* data_;
};

// A critical section, and the scope holding it.
class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  class Held {
   public:
    explicit Held(CRITICAL_SECTION& section) : section_(section) {
      EnterCriticalSection(&section_);
    }
    ~Held() { LeaveCriticalSection(&section_); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

   private:
    CRITICAL_SECTION& section_;
  };
  Held Lock() { return Held(section_); }

 private:
  CRITICAL_SECTION section_;
};

// A print job on a printer's device context, from StartDocW: ended by End, aborted (AbortDoc)
// when the scope is left without it, as after a page that failed. False when it did not start.
class PrintJob {
 public:
  PrintJob(HDC dc, const DOCINFOW& document) : dc_(dc), open_(StartDocW(dc, &document) > 0) {}
  ~PrintJob() {
    if (open_) {
      AbortDoc(dc_);
    }
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  explicit operator bool() const { return open_; }
  // EndDoc; false when it failed. The job is over either way.
  bool End() { return std::exchange(open_, false) && EndDoc(dc_) > 0; }

 private:
  HDC dc_;
  bool open_;
};

// A page of a print job, from StartPage to EndPage. False when it did not start.
class PrintPage {
 public:
  explicit PrintPage(HDC dc) : dc_(dc), open_(StartPage(dc) > 0) {}
  ~PrintPage() { End(); }
  PrintPage(const PrintPage&) = delete;
  PrintPage& operator=(const PrintPage&) = delete;
  explicit operator bool() const { return open_; }
  // EndPage; false when it failed.
  bool End() { return std::exchange(open_, false) && EndPage(dc_) > 0; }

 private:
  HDC dc_;
  bool open_;
};

// WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's input context, from ImmGetContext to ImmReleaseContext; none when the window has
// no input method.
class ImeContext {
 public:
  explicit ImeContext(HWND window) : window_(window), context_(ImmGetContext(window)) {}
  ~ImeContext() { Release(); }
  ImeContext(const ImeContext&) = delete;
  ImeContext& operator=(const ImeContext&) = delete;
  HIMC Get() const { return context_; }
  // Releases it now; false when the release failed. (Once released it is not released again.)
  bool Release() {
    const HIMC context = std::exchange(context_, nullptr);
    return context == nullptr || ImmReleaseContext(window_, context) != 0;
  }

 private:
  HWND window_;
  HIMC context_;
};

}  // namespace tapecount
