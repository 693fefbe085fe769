#include "core/value_stack.h"

#include <new>

namespace tapecount {

namespace {

// Blocks start small, for the many short stacks of a quick calculation, and grow.
constexpr std::size_t kFirstBlockNodes = 64;
constexpr std::size_t kLargestBlockNodes = 8192;

// Room for one more node: a spare one, or one left in the last block, or a new block;
// false when no memory can be had.
bool MakeRoom(ValueStack& stack) {
  if (stack.spare != nullptr || stack.usedInLastBlock < stack.lastBlockNodes) {
    return true;
  }
  const std::size_t nodes = stack.lastBlockNodes == 0                   ? kFirstBlockNodes
                            : stack.lastBlockNodes < kLargestBlockNodes ? stack.lastBlockNodes * 2
                                                                        : kLargestBlockNodes;
  std::unique_ptr<ValueNode[]> block(new (std::nothrow) ValueNode[nodes]);
  if (block == nullptr) {
    return false;
  }
  try {
    stack.blocks.push_back(std::move(block));
  } catch (const std::bad_alloc&) {
    return false;
  }
  stack.lastBlockNodes = nodes;
  stack.usedInLastBlock = 0;
  return true;
}

// A node for the next push, or null when no memory can be had.
ValueNode* TakeNode(ValueStack& stack) {
  if (!MakeRoom(stack)) {
    return nullptr;
  }
  if (ValueNode* node = stack.spare) {
    stack.spare = node->next;
    return node;
  }
  return &stack.blocks.back()[stack.usedInLastBlock++];
}

}  // namespace

bool Reserve(ValueStack& stack) {
  return MakeRoom(stack);
}

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
  // The first block stays, so pushing after a clear needs no memory; the rest go.
  if (!stack.blocks.empty()) {
    stack.blocks.resize(1);
    stack.blocks.shrink_to_fit();  // best effort: it keeps the room when that needs memory
    stack.lastBlockNodes = kFirstBlockNodes;
  }
  stack.usedInLastBlock = 0;
}

double TopValue(const ValueStack& stack) {
  return stack.top->value;
}

double BelowTop(const ValueStack& stack) {
  return stack.top != nullptr && stack.top->next != nullptr ? stack.top->next->value : 0;
}

void SetTopValue(ValueStack& stack, double value) {
  stack.top->value = value;
}

}  // namespace tapecount
