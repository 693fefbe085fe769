// A Windows function made to fail on chosen calls: its entry in the test program's import
// table replaced, or what GetProcAddress hands out for one not imported (comdlg32's). The
// import table and memory of another process are reached the same way.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tapecount::testing {

// A process's memory, this one's or another's, read and written whatever its protection.
template <typename T>
T ReadMemory(HANDLE process, ULONG_PTR at) {
  T value{};
  ReadProcessMemory(process, reinterpret_cast<void*>(at), &value, sizeof value, nullptr);
  return value;
}
inline void WriteMemory(HANDLE process, ULONG_PTR at, const void* bytes, std::size_t size) {
  void* to = reinterpret_cast<void*>(at);
  DWORD protection = 0;
  VirtualProtectEx(process, to, size, PAGE_EXECUTE_READWRITE, &protection);
  WriteProcessMemory(process, to, bytes, size, nullptr);
  VirtualProtectEx(process, to, size, protection, &protection);
  FlushInstructionCache(process, to, size);
}
template <typename T>
void WriteMemory(HANDLE process, ULONG_PTR at, const T& value) {
  WriteMemory(process, at, &value, sizeof value);
}

// The import address table entry for `function` of the image at `base`, or 0.
inline ULONG_PTR ImportEntry(HANDLE process, ULONG_PTR base, const char* function) {
  const auto read = [&](ULONG_PTR at, auto value) {
    return ReadMemory<decltype(value)>(process, at);
  };
  const auto headers = read(base + read(base, IMAGE_DOS_HEADER{}).e_lfanew, IMAGE_NT_HEADERS{});
  const auto& imports = headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (ULONG_PTR at = base + imports.VirtualAddress;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto dll = read(at, IMAGE_IMPORT_DESCRIPTOR{});
    if (dll.Name == 0) {
      return 0;
    }
    for (ULONG_PTR i = 0, name; (name = read(base + dll.OriginalFirstThunk + i, ULONG_PTR{})) != 0;
         i += sizeof name) {
      const auto text = read(base + name + 2, std::array<char, 32>{});  // after the hint
      if (!IMAGE_SNAP_BY_ORDINAL(name) && std::strncmp(text.data(), function, text.size()) == 0) {
        return base + dll.FirstThunk + i;
      }
    }
  }
}

inline constexpr int kEveryCall = 1 << 30;
using Procedure = void (*)();

// Calls `first` to `last` (from 1) answer `result` and `error`, or go to `replacement`.
struct CallFailure {
  const char* function;
  int first, last;
  std::intptr_t result;
  DWORD error;
  Procedure replacement;
  Procedure (*stub)(std::size_t slot);  // a stand-in of the function's own signature
};

namespace failing_calls {

inline constexpr std::size_t kSlots = 8;
inline struct Slot {
  CallFailure failure{};
  Procedure original = nullptr;
  std::atomic<int> calls{0};
} g_slots[kSlots];
inline FARPROC(WINAPI* g_getProcAddress)(HMODULE, LPCSTR) = nullptr;

template <typename Function>
struct Stubs;
template <typename R, typename... A>
struct Stubs<R(WINAPI*)(A...)> {
  template <std::size_t I>
  static R WINAPI Stub(A... arguments) {
    const CallFailure& failure = g_slots[I].failure;
    const int call = ++g_slots[I].calls;
    const Procedure to =
        call < failure.first || call > failure.last ? g_slots[I].original : failure.replacement;
    if (to != nullptr) {
      return reinterpret_cast<R(WINAPI*)(A...)>(to)(arguments...);
    }
    SetLastError(failure.error);
    return R(failure.result);  // a handle or a number
  }
  template <std::size_t... I>
  static Procedure Pick(std::size_t slot, std::index_sequence<I...>) {
    return std::array<Procedure, kSlots>{reinterpret_cast<Procedure>(&Stub<I>)...}[slot];
  }
  static Procedure For(std::size_t slot) { return Pick(slot, std::make_index_sequence<kSlots>()); }
};

// The entry for `function` in this program, or null.
inline void** ImportEntry(const char* function) {
  return reinterpret_cast<void**>(::tapecount::testing::ImportEntry(
      GetCurrentProcess(), reinterpret_cast<ULONG_PTR>(GetModuleHandleW(nullptr)), function));
}

// Writes `value` into the entry; returns what it held.
template <typename Pointer>
Pointer Patch(void** entry, Pointer value) {
  const auto previous = reinterpret_cast<Pointer>(*entry);
  WriteMemory(GetCurrentProcess(), reinterpret_cast<ULONG_PTR>(entry),
              reinterpret_cast<void*>(value));
  return previous;
}

inline FARPROC WINAPI ProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC real = g_getProcAddress(module, name);
  for (std::size_t i = 0; i < kSlots && !IS_INTRESOURCE(name); ++i) {
    const char* function = g_slots[i].failure.function;
    if (function != nullptr && std::strcmp(function, name) == 0) {
      g_slots[i].original = reinterpret_cast<Procedure>(real);
      return reinterpret_cast<FARPROC>(g_slots[i].failure.stub(i));
    }
  }
  return real;
}

}  // namespace failing_calls

template <typename Function>
CallFailure Failing(const char* function, int first, int last, std::intptr_t result = 0,
                    DWORD error = 0, Function replacement = nullptr) {
  const auto stub = &failing_calls::Stubs<Function>::For;
  return {function, first, last, result, error, reinterpret_cast<Procedure>(replacement), stub};
}

// TAPECOUNT_FAILING(GlobalAlloc, 1, 1, 0, ERROR_NOT_ENOUGH_MEMORY): its first call fails.
#define TAPECOUNT_FAILING(function, ...) \
  ::tapecount::testing::Failing<decltype(&::function)>(#function, __VA_ARGS__)
#define TAPECOUNT_COUNTING(function) TAPECOUNT_FAILING(function, 1, 0)

// The failures (at most eight) in place while this lives.
class FailingCalls {
 public:
  explicit FailingCalls(const std::vector<CallFailure>& failures) {
    using namespace failing_calls;
    g_getProcAddress = Patch(getProcAddress_, &ProcAddress);
    for (std::size_t i = 0; i < failures.size() && i < kSlots; ++i) {
      g_slots[i].failure = failures[i];
      g_slots[i].calls = 0;
      entries_.push_back(ImportEntry(failures[i].function));
      if (entries_.back() != nullptr) {
        g_slots[i].original = Patch(entries_.back(), failures[i].stub(i));
      }
    }
  }
  FailingCalls(const FailingCalls&) = delete;
  FailingCalls& operator=(const FailingCalls&) = delete;
  ~FailingCalls() {
    using namespace failing_calls;
    Patch(getProcAddress_, g_getProcAddress);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i] != nullptr) {
        Patch(entries_[i], g_slots[i].original);
      }
      g_slots[i].failure.function = nullptr;
    }
  }
  // The calls of `function` so far.
  int Calls(const char* function) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (std::strcmp(failing_calls::g_slots[i].failure.function, function) == 0) {
        return failing_calls::g_slots[i].calls;
      }
    }
    return -1;
  }

 private:
  std::vector<void**> entries_;  // each slot's; null when GetProcAddress hands it out
  void** getProcAddress_ = failing_calls::ImportEntry("GetProcAddress");
};

}  // namespace tapecount::testing
