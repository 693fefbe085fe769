// A Windows function made to fail on chosen calls: its entry in the test program's import
// table replaced, or what GetProcAddress hands out for one not imported (comdlg32's).
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tapecount::testing {

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
    return to != nullptr ? reinterpret_cast<R(WINAPI*)(A...)>(to)(arguments...)
                         : (SetLastError(failure.error), R(failure.result));  // handle or number
  }
  template <std::size_t... I>
  static Procedure Pick(std::size_t slot, std::index_sequence<I...>) {
    return std::array<Procedure, kSlots>{reinterpret_cast<Procedure>(&Stub<I>)...}[slot];
  }
  static Procedure For(std::size_t slot) { return Pick(slot, std::make_index_sequence<kSlots>()); }
};

// The program's import address table entry for `function`, or null.
inline void** ImportEntry(const char* function) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imports =
      headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name != 0;
       ++dll) {
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto* entry = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; name->u1.AddressOfData != 0; ++name, ++entry) {
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
          std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
        return reinterpret_cast<void**>(&entry->u1.Function);
      }
    }
  }
  return nullptr;
}

// Writes `value` into the entry; returns what it held.
template <typename Pointer>
Pointer Patch(void** entry, Pointer value) {
  DWORD protection = 0;
  VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection);
  const auto previous = reinterpret_cast<Pointer>(*entry);
  *entry = reinterpret_cast<void*>(value);
  VirtualProtect(entry, sizeof *entry, protection, &protection);
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
