// Owners for Win32 handles and holds, so no path leaks them.
#pragma once

#include <windows.h>

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

}  // namespace tapecount
