#include "core/value_stack.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/fake_window.h"

namespace tapecount {
namespace {

TEST(ValueStack, PopsWhatWasPushedWarnsWhenEmptyAndReusesPoppedNodes) {
  testing::FakeDisplay display;
  ValueStack stack;
  ASSERT_TRUE(Push(stack, 0, display));
  ASSERT_TRUE(Push(stack, 7.5, display));
  EXPECT_EQ(TopValue(stack), 7.5);
  EXPECT_EQ(BelowTop(stack), 0);
  SetTopValue(stack, 8);
  EXPECT_EQ(Pop(stack, display), 8);
  EXPECT_EQ(BelowTop(stack), 0);  // none below
  EXPECT_EQ(Pop(stack, display), 0);
  EXPECT_EQ(Pop(stack, display), 0);  // empty: the box, and 0
  EXPECT_EQ(display.messages, std::vector<Message>{kMemoryErrorMessage});
  EXPECT_EQ(display.messages[0].caption, Text(u""));
  for (int i = 0; i < 1000; ++i) {
    Push(stack, i, display);
  }
  for (int i = 0; i < 1000; ++i) {
    Pop(stack, display);
  }
  testing::FailAllocations(1, SIZE_MAX);  // the popped nodes are pushed again: no memory needed
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(Push(stack, -i, display));
  }
  testing::FailAllocations(0);
  for (int i = 999; i >= 500; --i) {
    ASSERT_EQ(Pop(stack, display), -i);  // no node was handed out twice
  }
  Clear(stack);  // with popped nodes waiting for reuse: the first block stays for the pushes
  testing::FailAllocations(1, SIZE_MAX);
  for (int i = 0; i < 64; ++i) {
    ASSERT_TRUE(Push(stack, i, display));
  }
  EXPECT_FALSE(Reserve(stack));  // a 65th needs a block
  EXPECT_FALSE(Push(stack, 64, display));
  testing::FailAllocations(0);
  for (int i = 63; i >= 0; --i) {
    ASSERT_EQ(Pop(stack, display), i);  // nothing but what was pushed since the clear
  }
  EXPECT_EQ(display.messages, std::vector<Message>(2, kMemoryErrorMessage));
}

}  // namespace
}  // namespace tapecount
