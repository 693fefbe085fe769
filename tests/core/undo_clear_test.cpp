// Taking the last entry back, and clearing everything after copying it.
#include <gtest/gtest.h>

#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeWindow;
using Lines = std::vector<Text>;

TEST(Undo, FreshWindowHasNothingToTakeBack) {
  FakeWindow w;
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴"}));
  EXPECT_TRUE(w.messages.empty());
  EXPECT_EQ(w.resizes.size(), 0u);
}

TEST(Undo, TakesEntriesBackDownToTheHeaders) {
  FakeWindow w;
  w.Type("5\n3\n");
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.lastEntry, u"5");  // the bare amount of the entry now on top
  EXPECT_EQ(w.totalText, u"5");
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"5"}));
  EXPECT_EQ(w.TotalLines(), (Lines{u"合計履歴", u"5"}));
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.lastEntry, u"0");
  EXPECT_EQ(w.totalText, u"0");
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴"}));
  w.calculator.UndoLastEntry();  // at the header: nothing
  EXPECT_EQ(w.totalText, u"0");
  EXPECT_TRUE(w.messages.empty());
  w.Type("7\n");
  EXPECT_EQ(w.totalText, u"7");  // the stacks are whole again
}

TEST(Undo, ShowsTheBareAmountWithoutItsSign) {
  FakeWindow w;
  w.Type("10\n*4\n");
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.lastEntry, u"10");
  w.Type("6-");
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.lastEntry, u"10");
  EXPECT_EQ(w.totalText, u"10");
}

TEST(Undo, BackspaceWithATypedEntryOnlyEdits) {
  FakeWindow w;
  w.Type("5\n12");
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"5"}));
  EXPECT_EQ(w.entry, u"12");
}

TEST(Undo, LeavesTheOperatorAndNegativeFlag) {
  FakeWindow w;
  w.Type("5\n*");
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.calculator.State().pendingOperator, u'*');
}

TEST(Undo, TenEntriesShrinkTheWindowRowByRowThenUnderflowOnce) {
  FakeWindow w;
  w.EnterNumbers(1, 10);
  ASSERT_EQ(w.InputLines(), (Lines{u"5", u"6", u"7", u"8", u"9", u"10"}));
  for (int height : {278, 259, 240, 221}) {
    w.calculator.UndoLastEntry();
    EXPECT_EQ(w.height, height);
  }
  EXPECT_EQ(w.InputLines(), (Lines{u"5", u"6"}));
  w.calculator.UndoLastEntry();  // 221 < 229: no resize
  EXPECT_EQ(w.height, 221);
  EXPECT_EQ(w.InputLines(), (Lines{u"5"}));
  EXPECT_EQ(w.totalText, u"15");
  w.calculator.UndoLastEntry();  // only entry 5 in view
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0], kStackUnderflowMessage);
  EXPECT_EQ(w.messages[0].caption, std::nullopt);
  EXPECT_EQ(w.messages[0].owner, MessageOwner::None);
  EXPECT_EQ(w.InputLines(), (Lines{u"5"}));
  EXPECT_EQ(w.totalText, u"15");

  w.SetOuterSize(275, 297);  // hidden lines come back; undo goes on
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"1", u"2", u"3", u"4", u"5"}));
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"1", u"2", u"3", u"4"}));
  EXPECT_EQ(w.totalText, u"10");
  EXPECT_EQ(w.lastEntry, u"4");
  EXPECT_EQ(w.messages.size(), 1u);
}

TEST(Undo, WindowOf228OrLessKeepsItsHeight) {
  for (int height : {210, 228}) {
    FakeWindow w;
    w.SetOuterSize(275, height);
    w.Type("1\n");
    w.calculator.UndoLastEntry();
    EXPECT_EQ(w.height, height);
  }
  FakeWindow tall;
  tall.SetOuterSize(275, 229);
  tall.Type("1\n");
  tall.calculator.UndoLastEntry();
  EXPECT_EQ(tall.height, 210);
}

TEST(ClearAll, CopiesTheHistoryThenStartsAfresh) {
  FakeWindow w;
  w.Type("100\n25-*");
  w.entry = u"4";
  w.calculator.ClearAll();
  EXPECT_EQ(w.clipboard, u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n");
  EXPECT_EQ(w.entry, u"");
  EXPECT_EQ(w.lastEntry, u"0");
  EXPECT_EQ(w.totalText, u"0");
  EXPECT_EQ(w.inputPane, u"入力履歴\r\n");
  EXPECT_EQ(w.totalPane, u"合計履歴\r\n");
  EXPECT_EQ(w.modeText, u"「 + 」");
  EXPECT_EQ(w.calculator.State().pendingOperator, u'+');
  EXPECT_EQ(w.calculator.Total(), 0);
  EXPECT_EQ(w.tape.DisplayedRowCount(), 1);
  // In a window of the initial size the transfer message stays.
  EXPECT_EQ(w.status, u"テプカン: 履歴をｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送しました");
  w.calculator.UndoLastEntry();  // the old entries are out of reach
  EXPECT_EQ(w.totalText, u"0");
  EXPECT_TRUE(w.messages.empty());
}

TEST(ClearAll, ForgetsHiddenLinesAndRestoresTheInitialSize) {
  FakeWindow w;
  w.modes.autoExpand = true;
  w.EnterNumbers(1, 8);
  w.modes.autoExpand = false;
  w.SetOuterSize(300, 250);
  ASSERT_GT(w.tape.InputPane().HiddenCount(), 0u);
  w.calculator.ClearAll();
  EXPECT_EQ(w.width, 275);
  EXPECT_EQ(w.height, 297);
  EXPECT_EQ(w.tape.InputPane().HiddenCount(), 0u);
  EXPECT_EQ(w.tape.TotalPane().HiddenCount(), 0u);
  // The resize's size handling wrote the row text over the transfer message.
  EXPECT_EQ(w.status, u"テプカン: 現在の表示行数 = [6] 行");
  EXPECT_EQ(w.tape.ComposeHistoryText(HistoryLayout::Clipboard), u"入力履歴\t合計履歴\r\n");
}

TEST(ClearAll, AfterAMinusOnAnEmptyBoxTheNextEntrySubtracts) {
  FakeWindow w;
  w.Type("10\n-");
  w.calculator.ClearAll();
  EXPECT_FALSE(w.calculator.State().negativeEntry);
  w.Type("5-");
  EXPECT_EQ(w.calculator.Total(), -5);
  EXPECT_EQ(w.lastEntry, u"-5");
  EXPECT_EQ(w.InputLines().back(), u"-5");
}

TEST(ClearAll, KeepsTheTapeWhenTheClipboardCannotBeHad) {
  FakeWindow w;
  w.Type("100\n25-");
  w.clipboardBusy = true;
  w.calculator.ClearAll();
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0], kClearRefusedMessage);
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"100", u"-25"}));
  EXPECT_EQ(w.totalText, u"75");
  EXPECT_EQ(w.calculator.Total(), 75);
  w.calculator.UndoLastEntry();
  EXPECT_EQ(w.totalText, u"100");
}

TEST(ClearAll, ReleaseWithoutHistoryResetsTheRunningTotal) {
  FakeWindow w(kRelease127);
  w.Type("100\n25-");
  w.calculator.ClearAll();
  EXPECT_EQ(w.clipboard, u"入力履歴   合計履歴\r\n100   100\r\n-25   75\r\n");
  EXPECT_EQ(w.calculator.Total(), 0);
  w.Type("3\n");
  EXPECT_EQ(w.totalText, u"3");
}

}  // namespace
}  // namespace tapecount
