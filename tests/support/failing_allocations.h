// Allocations that fail on purpose: the program's every `new` is counted, and the one asked
// for throws std::bad_alloc (or gives null, for the nothrow forms), as when memory runs out.
// Linked into every test program that uses it, which it gives its own global operator new.
#pragma once

#include <cstddef>

namespace tapecount::testing {

// From the `nth` allocation of this thread from now on (1: the next one), `count`
// allocations fail; 0 stops.
void FailAllocations(std::size_t nth, std::size_t count = 1);
// Whether an allocation has failed since FailAllocations was last called.
bool AllocationFailed();

// While one lives, no allocation fails: for what the tests themselves keep, such as the fake
// display's records (the real display takes no memory of the program's own).
class AllocationsAllowed {
 public:
  AllocationsAllowed();
  ~AllocationsAllowed();
  AllocationsAllowed(const AllocationsAllowed&) = delete;
  AllocationsAllowed& operator=(const AllocationsAllowed&) = delete;
};

}  // namespace tapecount::testing
