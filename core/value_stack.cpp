#include "core/value_stack.h"

#include <new>

namespace tapecount {

ValueStack::~ValueStack() {
  Clear(*this);
}

void Clear(ValueStack& stack) {
  // Iteratively: a tape of a million entries must not recurse a million deep.
  while (stack.top != nullptr) {
    ValueNode* below = stack.top->next;
    delete stack.top;
    stack.top = below;
  }
}

bool Push(ValueStack& stack, double value, MessageSink& messages) {
  auto* node = new (std::nothrow) ValueNode{value, stack.top};
  if (node == nullptr) {
    messages.ShowMessage(kMemoryErrorMessage);
    return false;
  }
  stack.top = node;
  return true;
}

double Pop(ValueStack& stack, MessageSink& messages) {
  if (stack.top == nullptr) {
    messages.ShowMessage(kMemoryErrorMessage);
    return 0;
  }
  ValueNode* node = stack.top;
  const double value = node->value;
  stack.top = node->next;
  delete node;
  return value;
}

double TopValue(const ValueStack& stack) {
  return stack.top->value;
}

double TopOrZero(const ValueStack& stack) {
  return stack.top != nullptr ? stack.top->value : 0;
}

void SetTopValue(ValueStack& stack, double value) {
  stack.top->value = value;
}

}  // namespace tapecount
