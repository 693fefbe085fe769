// The stacks that remember every entry and every running total, so the last entry can be
// taken back. Each stack is reached only through its top.
#pragma once

#include "core/messages.h"

namespace tapecount {

struct ValueNode {
  double value;
  ValueNode* next;
};

struct ValueStack {
  ValueStack() = default;
  ValueStack(const ValueStack&) = delete;
  ValueStack& operator=(const ValueStack&) = delete;
  ~ValueStack();

  ValueNode* top = nullptr;
};

// False, with "memory allocate error!" shown and the stack unchanged, when no node can be
// allocated.
bool Push(ValueStack& stack, double value, MessageSink& messages);
// Popping an empty stack shows "memory allocate error!" and gives 0.
double Pop(ValueStack& stack, MessageSink& messages);
// Releases every node.
void Clear(ValueStack& stack);
// Only for a stack that has a top.
double TopValue(const ValueStack& stack);
// The top value, or 0 for an empty stack.
double TopOrZero(const ValueStack& stack);
void SetTopValue(ValueStack& stack, double value);

}  // namespace tapecount
