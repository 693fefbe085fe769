#include "core/value_stack.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/fake_window.h"

namespace tapecount {
namespace {

using RecordingSink = testing::FakeDisplay;

TEST(ValueStack, PopReturnsWhatWasPushedAndUncoversTheTopBelow) {
  RecordingSink sink;
  ValueStack stack;
  ASSERT_TRUE(Push(stack, 0, sink));
  ASSERT_TRUE(Push(stack, 7.5, sink));
  EXPECT_EQ(TopValue(stack), 7.5);
  SetTopValue(stack, 8);
  EXPECT_EQ(Pop(stack, sink), 8);
  EXPECT_EQ(TopValue(stack), 0);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(ValueStack, PoppingAnEmptyStackWarnsAndGivesZero) {
  RecordingSink sink;
  ValueStack stack;
  Push(stack, 3, sink);
  EXPECT_EQ(Pop(stack, sink), 3);
  EXPECT_EQ(stack.top, nullptr);
  EXPECT_EQ(Pop(stack, sink), 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, u"memory allocate error!");
  EXPECT_EQ(sink.messages[0].caption, Text(u""));
  EXPECT_EQ(sink.messages[0].owner, MessageOwner::MainWindow);
}

TEST(ValueStack, PushesAfterPopsReuseTheNodesPopped) {
  RecordingSink sink;
  ValueStack stack;
  for (int i = 0; i < 1000; ++i) {
    Push(stack, i, sink);
  }
  const std::size_t blocks = stack.blocks.size();
  for (int round = 0; round < 100; ++round) {
    for (int i = 0; i < 1000; ++i) {
      Pop(stack, sink);
    }
    for (int i = 0; i < 1000; ++i) {
      Push(stack, -i, sink);
    }
  }
  EXPECT_EQ(stack.blocks.size(), blocks);
  EXPECT_EQ(TopValue(stack), -999);
  for (int i = 999; i >= 0; --i) {
    ASSERT_EQ(Pop(stack, sink), -i);  // no node was handed out twice
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST(ValueStack, ClearForgetsThePoppedNodesWithTheBlocks) {
  RecordingSink sink;
  ValueStack stack;
  for (int i = 0; i < 100; ++i) {
    Push(stack, i, sink);
  }
  for (int i = 0; i < 50; ++i) {
    Pop(stack, sink);
  }
  Clear(stack);
  EXPECT_EQ(stack.top, nullptr);
  EXPECT_TRUE(Push(stack, 4, sink));
  EXPECT_EQ(stack.blocks.size(), 1u);  // a fresh block, not a node of a released one
  EXPECT_TRUE(Push(stack, 5, sink));
  EXPECT_EQ(Pop(stack, sink), 5);
  EXPECT_EQ(Pop(stack, sink), 4);
  EXPECT_EQ(stack.top, nullptr);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(ValueStack, ReleasesAMillionNodesWithoutDeepRecursion) {
  RecordingSink sink;
  auto stack = std::make_unique<ValueStack>();
  for (int i = 0; i < 1000000; ++i) {
    Push(*stack, i, sink);
  }
  stack.reset();
  SUCCEED();
}

}  // namespace
}  // namespace tapecount
