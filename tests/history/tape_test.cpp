// The paper tape fitted to the window: scrolling, growing, re-fitting and composing.
#include "history/tape.h"

#include "core/amount.h"

#include <gtest/gtest.h>

#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeWindow;
using Lines = std::vector<Text>;

Lines Numbers(int from, int to) {
  Lines lines;
  for (int i = from; i <= to; ++i) {
    lines.push_back(IntToText(i));
  }
  return lines;
}

TEST(Tape, FreshWindowLaysOutWithoutRefitting) {
  FakeWindow w;
  EXPECT_EQ(w.tape.RowCapacity(), 6);
  EXPECT_EQ(w.tape.DisplayedRowCount(), 1);
  EXPECT_EQ(w.status, u"テプカン: 現在の表示行数 = [6] 行");
  EXPECT_EQ(w.inputPane, u"入力履歴\r\n");
  EXPECT_EQ(w.totalRect.width, 275 - FakeWindow::kFrameWidth - 115);
  EXPECT_EQ(w.screenRowChecks, 1);
  EXPECT_EQ(w.statusLayouts, 1);
}

TEST(Tape, SixthEntryScrollsTheHeadersOut) {
  FakeWindow w;
  w.EnterNumbers(1, 5);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
  EXPECT_EQ(w.InputLines().size(), 6u);
  w.EnterNumbers(6, 6);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
  EXPECT_EQ(w.TotalLines(), (Lines{u"1", u"3", u"6", u"10", u"15", u"21"}));
  EXPECT_EQ(w.tape.InputPane().HiddenText(), u"入力履歴\r\n");
  EXPECT_EQ(w.tape.TotalPane().HiddenText(), u"合計履歴\r\n");
  EXPECT_EQ(w.tape.DisplayedRowCount(), 6);
  EXPECT_TRUE(w.resizes.empty());
}

TEST(Tape, AutoExpandGrowsTheWindowInsteadOfScrolling) {
  FakeWindow w;
  w.modes.autoExpand = true;
  w.EnterNumbers(1, 6);
  EXPECT_EQ(w.height, 316);
  EXPECT_EQ(w.tape.RowCapacity(), 7);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
  EXPECT_EQ(w.InputLines().size(), 7u);
  EXPECT_EQ(w.tape.InputPane().HiddenCount(), 0u);
  EXPECT_FALSE(w.tape.RefitSuppressed());
}

TEST(Tape, TallerWindowBringsHiddenLinesBackShorterHidesMore) {
  FakeWindow taller;
  taller.EnterNumbers(1, 6);
  taller.SetOuterSize(275, 297 + 19);
  EXPECT_EQ(taller.InputLines().front(), u"入力履歴");
  EXPECT_EQ(taller.TotalLines().front(), u"合計履歴");
  EXPECT_EQ(taller.tape.DisplayedRowCount(), 7);

  FakeWindow shorter;
  shorter.EnterNumbers(1, 6);
  shorter.SetOuterSize(275, 297 - 38);
  EXPECT_EQ(shorter.tape.RowCapacity(), 4);
  EXPECT_EQ(shorter.tape.DisplayedRowCount(), 4);
  EXPECT_EQ(shorter.InputLines(), Numbers(3, 6));
  EXPECT_EQ(shorter.tape.InputPane().HiddenText(), u"入力履歴\r\n1\r\n2\r\n");
  EXPECT_EQ(shorter.tape.TotalPane().HiddenText(), u"合計履歴\r\n1\r\n3\r\n");

  // Hidden lines come back newest first, and no more than there are.
  shorter.SetOuterSize(275, 2000);
  EXPECT_EQ(shorter.InputLines().size(), 7u);
  EXPECT_EQ(shorter.tape.DisplayedRowCount(), 7);
  EXPECT_EQ(shorter.tape.InputPane().HiddenCount(), 0u);
}

TEST(Tape, NegativeCapacityEmptiesThePanesButShowsTheNewestLine) {
  FakeWindow w;
  w.EnterNumbers(1, 3);
  w.SetOuterSize(275, 152);
  EXPECT_EQ(w.tape.RowCapacity(), -1);
  EXPECT_EQ(w.inputPane, u"");
  EXPECT_EQ(w.totalPane, u"");
  EXPECT_EQ(w.tape.InputPane().HiddenText(), u"入力履歴\r\n1\r\n2\r\n3\r\n");
  w.EnterNumbers(4, 5);
  EXPECT_EQ(w.InputLines(), Numbers(5, 5));
  EXPECT_EQ(w.tape.InputPane().HiddenCount(), 5u);  // no empty lines were hidden
  EXPECT_EQ(w.tape.TotalPane().HiddenCount(), 5u);
  w.SetOuterSize(275, 297);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
  EXPECT_EQ(w.InputLines().back(), u"5");
}

TEST(Tape, MinimisingChangesNothingRestoringRefits) {
  FakeWindow w;
  w.EnterNumbers(1, 6);
  const int checks = w.screenRowChecks;
  w.height = 40;  // what the window system reports while minimised
  EXPECT_EQ(w.tape.HandleSize(kSizeMinimized, 0, 0), 0);
  EXPECT_EQ(w.tape.StoredHeight(), 297);
  EXPECT_EQ(w.tape.RowCapacity(), 6);
  EXPECT_EQ(w.screenRowChecks, checks);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
  w.SetOuterSize(275, 316);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
}

TEST(Tape, AutoModeStopsGrowingAtTheScreenRowLimit) {
  FakeWindow w;
  w.SetOuterSize(275, 171 + 9 * 19);  // capacity 9
  w.EnterNumbers(1, 8);
  ASSERT_EQ(w.tape.DisplayedRowCount(), 9);
  w.modes = {true, true, 10};
  w.EnterNumbers(9, 9);
  EXPECT_EQ(w.tape.RowCapacity(), 10);
  EXPECT_EQ(w.autoExpandOffCount, 1);
  EXPECT_FALSE(w.modes.autoExpand);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
  w.EnterNumbers(10, 10);
  EXPECT_EQ(w.tape.RowCapacity(), 10);
  EXPECT_EQ(w.InputLines(), Numbers(1, 10));
}

TEST(Tape, AutoModeBelowTheLimitScrollsWithoutSwitching) {
  FakeWindow w;
  w.modes = {true, true, 3};
  w.EnterNumbers(1, 6);
  EXPECT_EQ(w.height, 297);
  EXPECT_EQ(w.autoExpandOffCount, 0);
  EXPECT_TRUE(w.modes.autoExpand);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
}

TEST(Tape, RefusedGrowthScrollsSoTheNewLineShows) {
  FakeWindow w;
  w.modes.autoExpand = true;
  w.maxHeight = 297;
  w.EnterNumbers(1, 6);
  EXPECT_EQ(w.height, 297);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
  EXPECT_EQ(w.tape.DisplayedRowCount(), 6);
  EXPECT_FALSE(w.tape.RefitSuppressed());
  // The next real size change re-fits.
  w.maxHeight = 5000;
  w.SetOuterSize(275, 316);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
}

TEST(Tape, KeepsEveryLineOfAHundredThousandEntries) {
  FakeWindow w;
  const int n = 100000;
  for (int i = 1; i <= n; ++i) {
    w.entry = IntToText(i);
    w.calculator.HandleEntryKey(kVkReturn);
  }
  const Pane& in = w.tape.InputPane();
  const Pane& tot = w.tape.TotalPane();
  ASSERT_EQ(in.LineCount(), static_cast<std::size_t>(n) + 1);
  EXPECT_EQ(in.HiddenCount(), tot.HiddenCount());
  EXPECT_EQ(in.DisplayedCount(), 6u);
  EXPECT_EQ(in.Line(0), u"入力履歴");
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(in.Line(i), FormatAmount(i)) << i;
  }
  EXPECT_EQ(tot.Line(n), u"5,000,050,000");
}

TEST(Tape, ComposesBothPanesSideBySideHiddenRowsFirst) {
  FakeWindow w;
  EXPECT_EQ(w.tape.ComposeHistoryText(HistoryLayout::Clipboard), u"入力履歴\t合計履歴\r\n");
  w.Type("100\n25-");
  EXPECT_EQ(w.tape.ComposeHistoryText(HistoryLayout::Clipboard),
            u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n");
  EXPECT_EQ(w.tape.ComposeHistoryText(HistoryLayout::Print),
            u"入力履歴   合計履歴\r\n100   100\r\n-25   75\r\n");
  w.EnterNumbers(1, 5);
  ASSERT_EQ(w.tape.InputPane().HiddenCount(), 2u);
  EXPECT_EQ(w.tape.ComposeHistoryText(HistoryLayout::Clipboard),
            u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n1\t76\r\n2\t78\r\n3\t81\r\n"
            u"4\t85\r\n5\t90\r\n");
}

TEST(Tape, TakeBackStopsAtTheHeaderAndAtALoneLine) {
  FakeWindow w;
  EXPECT_EQ(w.tape.TakeBackLastLine(), UndoOutcome::AtHeader);
  w.EnterNumbers(1, 2);
  EXPECT_EQ(w.tape.TakeBackLastLine(), UndoOutcome::Removed);
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"1"}));
  EXPECT_EQ(w.TotalLines(), (Lines{u"合計履歴", u"1"}));
  EXPECT_EQ(w.tape.DisplayedRowCount(), 2);

  w.EnterNumbers(2, 7);           // headers and 1 hidden, 2..7 shown
  w.SetOuterSize(275, 171 + 19);  // one row: only 7 in view
  EXPECT_EQ(w.tape.TakeBackLastLine(), UndoOutcome::Underflow);
  EXPECT_EQ(w.InputLines(), Numbers(7, 7));
}

}  // namespace
}  // namespace tapecount
