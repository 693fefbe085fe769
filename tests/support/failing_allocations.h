// Allocations that fail on purpose: every `new` is counted, and the one asked for throws
// std::bad_alloc (or gives null) as when memory runs out. Replaces the global operator new.
#pragma once

#include <cstddef>

namespace tapecount::testing {

// From this thread's `nth` allocation on (1: the next), `count` fail; 0 stops.
void FailAllocations(std::size_t nth, std::size_t count = 1);
// Whether an allocation has failed since FailAllocations was last called.
bool AllocationFailed();

// While one lives no allocation fails: for the tests' own records, such as the fake's.
class AllocationsAllowed {
 public:
  AllocationsAllowed();
  ~AllocationsAllowed();
  AllocationsAllowed(const AllocationsAllowed&) = delete;
  AllocationsAllowed& operator=(const AllocationsAllowed&) = delete;
};

}  // namespace tapecount::testing
