// Two journals are the same when every field is, each double bit for bit (a NaN matches any
// NaN of the same sign: its payload is not the program's).
#pragma once

#include <cmath>
#include <cstring>

#include "shell/model/journal.h"

namespace tapecount::testing {

inline bool SameValue(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) {
    return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
  }
  return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameJournal(const Journal& a, const Journal& b) {
  if (a.pendingOperator != b.pendingOperator || a.entries.size() != b.entries.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.entries.size(); ++i) {
    const JournalEntry &x = a.entries[i], &y = b.entries[i];
    if (x.operation != y.operation || x.negativeEntry != y.negativeEntry || x.row != y.row ||
        !SameValue(x.value, y.value)) {
      return false;
    }
  }
  return true;
}

}  // namespace tapecount::testing
