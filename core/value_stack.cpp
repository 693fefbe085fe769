#include "core/value_stack.h"

#include <new>

namespace tapecount {

ValueStack::~ValueStack() {
  // Iteratively: a tape of a million entries must not recurse a million deep.
  while (top != nullptr) {
    ValueNode* below = top->next;
    delete top;
    top = below;
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

void SetTopValue(ValueStack& stack, double value) {
  stack.top->value = value;
}

}  // namespace tapecount
