#include "core/value_stack.h"

#include <gtest/gtest.h>

#include "support/fake_window.h"

namespace tapecount {
namespace {

TEST(ValueStack, PopsWhatWasPushedAndWarnsWhenEmpty) {
  testing::FakeDisplay display;
  ValueStack stack;
  ASSERT_TRUE(Push(stack, 0, display) && Push(stack, 7.5, display));
  EXPECT_EQ(TopValue(stack), 7.5);
  SetTopValue(stack, 8);
  EXPECT_EQ(Pop(stack, display), 8);
  EXPECT_EQ(Pop(stack, display), 0);
  EXPECT_EQ(Pop(stack, display), 0);  // empty: the box, and 0
  EXPECT_EQ(display.messages, std::vector<Message>{kMemoryErrorMessage});
  EXPECT_EQ(display.messages[0].caption, Text(u""));
}

TEST(ValueStack, PoppedNodesAreReusedAndClearForgetsThemWithTheBlocks) {
  testing::FakeDisplay display;
  ValueStack stack;
  for (int i = 0; i < 1000; ++i) {
    Push(stack, i, display);
  }
  const std::size_t blocks = stack.blocks.size();
  for (int round = 0; round < 100; ++round) {
    for (int i = 0; i < 1000; ++i) {
      Pop(stack, display);
    }
    for (int i = 0; i < 1000; ++i) {
      Push(stack, -i, display);
    }
  }
  EXPECT_EQ(stack.blocks.size(), blocks);
  for (int i = 999; i >= 500; --i) {
    ASSERT_EQ(Pop(stack, display), -i);  // no node was handed out twice
  }
  Clear(stack);  // with popped nodes waiting for reuse
  EXPECT_EQ(stack.top, nullptr);
  EXPECT_TRUE(Push(stack, 4, display) && Push(stack, 5, display));
  EXPECT_EQ(stack.blocks.size(), 1u);  // a fresh block, not a node of a released one
  EXPECT_EQ(Pop(stack, display), 5);
  EXPECT_EQ(Pop(stack, display), 4);
  EXPECT_TRUE(display.messages.empty());
}

}  // namespace
}  // namespace tapecount
