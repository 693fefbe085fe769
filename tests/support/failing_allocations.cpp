#include "support/failing_allocations.h"

#include <cstdlib>
#include <new>

namespace tapecount::testing {

namespace {

// Per thread: the program's workers allocate nothing of the window's.
thread_local std::size_t g_countdown = 0;  // allocations until the first to fail; 0: none
thread_local std::size_t g_failing = 0;    // how many fail from there
thread_local bool g_failed = false;
thread_local int g_allowed = 0;

// Null when this allocation is to fail.
void* Allocate(std::size_t size) noexcept {
  if (g_allowed > 0 || g_countdown == 0 || --g_countdown > 0) {
    return std::malloc(size > 0 ? size : 1);
  }
  g_failed = true;
  g_countdown = --g_failing > 0 ? 1 : 0;
  return nullptr;
}

}  // namespace

void FailAllocations(std::size_t nth, std::size_t count) {
  g_countdown = count > 0 ? nth : 0;
  g_failing = count;
  g_failed = false;
}

bool AllocationFailed() {
  return g_failed;
}

AllocationsAllowed::AllocationsAllowed() {
  ++g_allowed;
}

AllocationsAllowed::~AllocationsAllowed() {
  --g_allowed;
}

}  // namespace tapecount::testing

using tapecount::testing::Allocate;

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) {
    return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
