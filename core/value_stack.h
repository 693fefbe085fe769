// The stacks that remember every entry and every running total, so the last entry can be
// taken back. Each stack is reached only through its top.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/display.h"

namespace tapecount {

struct ValueNode {
  double value;
  ValueNode* next;
};

struct ValueStack {
  ValueStack() = default;
  ValueStack(const ValueStack&) = delete;
  ValueStack& operator=(const ValueStack&) = delete;

  ValueNode* top = nullptr;

  // Where nodes come from: blocks the stack owns, and the nodes popped since, kept for the
  // next push. A day of entries then costs 16 bytes a value rather than a heap block each.
  std::vector<std::unique_ptr<ValueNode[]>> blocks;
  std::size_t lastBlockNodes = 0;
  std::size_t usedInLastBlock = 0;
  ValueNode* spare = nullptr;
};

// Makes room for one more push, so that push cannot fail; false when no memory can be had
// (the stack unchanged).
bool Reserve(ValueStack& stack);
// False, with "memory allocate error!" shown and the stack unchanged, when no node can be
// allocated.
bool Push(ValueStack& stack, double value, Display& display);
// Popping an empty stack shows "memory allocate error!" and gives 0.
double Pop(ValueStack& stack, Display& display);
// Forgets every node; the first block stays, so the pushes that follow need no memory.
void Clear(ValueStack& stack);
// Only for a stack that has a top.
double TopValue(const ValueStack& stack);
// The value below the top, or 0 when there is none: the top once the top is popped.
double BelowTop(const ValueStack& stack);
void SetTopValue(ValueStack& stack, double value);

}  // namespace tapecount
