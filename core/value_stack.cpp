#include "core/value_stack.h"

#include <new>

namespace tapecount {

namespace {

// Blocks start small, for the many short stacks of a quick calculation, and grow.
constexpr std::size_t kFirstBlockNodes = 64;
constexpr std::size_t kLargestBlockNodes = 8192;

// A node for the next push, or null when no memory can be had.
ValueNode* TakeNode(ValueStack& stack) {
  if (ValueNode* node = stack.spare) {
    stack.spare = node->next;
    return node;
  }
  if (stack.usedInLastBlock == stack.lastBlockNodes) {
    const std::size_t nodes = stack.lastBlockNodes == 0                   ? kFirstBlockNodes
                              : stack.lastBlockNodes < kLargestBlockNodes ? stack.lastBlockNodes * 2
                                                                          : kLargestBlockNodes;
    std::unique_ptr<ValueNode[]> block(new (std::nothrow) ValueNode[nodes]);
    if (block == nullptr) {
      return nullptr;
    }
    try {
      stack.blocks.push_back(std::move(block));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    stack.lastBlockNodes = nodes;
    stack.usedInLastBlock = 0;
  }
  return &stack.blocks.back()[stack.usedInLastBlock++];
}

}  // namespace

bool Push(ValueStack& stack, double value, Display& display) {
  ValueNode* node = TakeNode(stack);
  if (node == nullptr) {
    display.ShowMessage(kMemoryErrorMessage);
    return false;
  }
  *node = ValueNode{value, stack.top};
  stack.top = node;
  return true;
}

double Pop(ValueStack& stack, Display& display) {
  if (stack.top == nullptr) {
    display.ShowMessage(kMemoryErrorMessage);
    return 0;
  }
  ValueNode* node = stack.top;
  stack.top = node->next;
  node->next = stack.spare;
  stack.spare = node;
  return node->value;
}

void Clear(ValueStack& stack) {
  stack.top = nullptr;
  stack.spare = nullptr;
  stack.blocks.clear();
  stack.blocks.shrink_to_fit();
  stack.usedInLastBlock = 0;
  stack.lastBlockNodes = 0;
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
