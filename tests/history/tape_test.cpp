// The paper tape on its own: lines scrolled into the hidden lines and back, undo's share,
// the composed history.
#include "history/tape.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/amount.h"

namespace tapecount {
namespace {

using Lines = std::vector<Text>;

Lines Displayed(const Pane& pane) {
  Lines lines;
  for (std::size_t i = pane.HiddenCount(); i < pane.LineCount(); ++i) {
    lines.emplace_back(pane.Line(i));
  }
  return lines;
}

// A tape with entries 1..n appended (totals 10 times the entry), never scrolling.
void Append(Tape& tape, int from, int to) {
  for (int i = from; i <= to; ++i) {
    tape.AppendLines(IntToText(i), IntToText(10 * i), false);
  }
}

TEST(Tape, FitScrollsOldestLinesOutAndBringsTheNewestHiddenBack) {
  Tape tape;
  Append(tape, 1, 6);
  tape.SetRowCapacity(4);
  tape.Fit();
  EXPECT_EQ(tape.DisplayedRowCount(), 4);
  EXPECT_EQ(Displayed(tape.InputPane()), (Lines{u"3", u"4", u"5", u"6"}));
  EXPECT_EQ(tape.InputPane().HiddenText(), u"入力履歴\r\n1\r\n2\r\n");
  EXPECT_EQ(tape.TotalPane().HiddenText(), u"合計履歴\r\n10\r\n20\r\n");

  tape.SetRowCapacity(5);  // the most recently hidden comes back first
  tape.Fit();
  EXPECT_EQ(Displayed(tape.InputPane()), (Lines{u"2", u"3", u"4", u"5", u"6"}));
  EXPECT_EQ(tape.DisplayedRowCount(), 5);

  tape.SetRowCapacity(100);  // no more than there are
  tape.Fit();
  EXPECT_EQ(tape.DisplayedRowCount(), 7);
  EXPECT_EQ(tape.InputPane().HiddenCount(), 0u);
  EXPECT_EQ(tape.TotalPane().HiddenCount(), 0u);

  tape.SetRowCapacity(-1);  // a negative capacity empties both panes, adding no empty lines
  tape.Fit();
  EXPECT_EQ(tape.InputPane().DisplayedText(), u"");
  EXPECT_EQ(tape.TotalPane().DisplayedText(), u"");
  EXPECT_EQ(tape.InputPane().HiddenCount(), 7u);
  EXPECT_EQ(tape.TotalPane().HiddenCount(), 7u);
  EXPECT_EQ(tape.DisplayedRowCount(), -1);
}

TEST(Tape, AppendingWhenFullScrollsBothPanesFirst) {
  Tape tape;
  tape.SetRowCapacity(3);
  Append(tape, 1, 2);
  EXPECT_EQ(tape.DisplayedRowCount(), 3);
  tape.AppendLines(u"3", u"30", true);
  EXPECT_EQ(tape.DisplayedRowCount(), 3);
  EXPECT_EQ(Displayed(tape.InputPane()), (Lines{u"1", u"2", u"3"}));
  EXPECT_EQ(Displayed(tape.TotalPane()), (Lines{u"10", u"20", u"30"}));
  EXPECT_EQ(tape.TotalPane().HiddenText(), u"合計履歴\r\n");
}

TEST(Tape, TakeBackStopsAtTheHeaderAndAtALoneLine) {
  Tape tape;
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::AtHeader);
  Append(tape, 1, 2);
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::Removed);
  EXPECT_EQ(Displayed(tape.InputPane()), (Lines{u"入力履歴", u"1"}));
  EXPECT_EQ(Displayed(tape.TotalPane()), (Lines{u"合計履歴", u"10"}));
  EXPECT_EQ(tape.DisplayedRowCount(), 2);

  Append(tape, 2, 7);
  tape.SetRowCapacity(1);  // only 7 in view: no earlier line to become the last
  tape.Fit();
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::Underflow);
  EXPECT_EQ(Displayed(tape.InputPane()), (Lines{u"7"}));
  EXPECT_EQ(tape.InputPane().LineCount(), 8u);
}

TEST(Tape, ResetForgetsHiddenLines) {
  Tape tape;
  Append(tape, 1, 7);
  tape.SetRowCapacity(3);
  tape.Fit();
  tape.Reset();
  EXPECT_EQ(tape.InputPane().DisplayedText(), u"入力履歴\r\n");
  EXPECT_EQ(tape.TotalPane().DisplayedText(), u"合計履歴\r\n");
  EXPECT_EQ(tape.InputPane().HiddenCount(), 0u);
  EXPECT_EQ(tape.DisplayedRowCount(), 1);
  EXPECT_EQ(tape.ComposeHistoryText(u"\t"), u"入力履歴\t合計履歴\r\n");
}

TEST(Tape, ComposesBothPanesSideBySideHiddenRowsFirst) {
  Tape tape;
  EXPECT_EQ(tape.ComposeHistoryText(u"\t"), u"入力履歴\t合計履歴\r\n");
  tape.AppendLines(u"100", u"100", false);
  tape.AppendLines(u"-25", u"75", false);
  EXPECT_EQ(tape.ComposeHistoryText(u"\t"), u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n");
  EXPECT_EQ(tape.ComposeHistoryText(kPrintSeparator),
            u"入力履歴   合計履歴\r\n100   100\r\n-25   75\r\n");
  tape.SetRowCapacity(1);
  tape.Fit();
  ASSERT_EQ(tape.InputPane().HiddenCount(), 2u);
  EXPECT_EQ(tape.ComposeHistoryText(u"\t"), u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n");
}

TEST(Tape, KeepsEveryLineOfAHundredThousandEntries) {
  Tape tape;
  tape.SetRowCapacity(6);
  const int n = 100000;
  for (int i = 1; i <= n; ++i) {
    tape.AppendLines(FormatAmount(i), FormatAmount(i * 2.0), tape.DisplayedRowCount() >= 6);
  }
  const Pane& in = tape.InputPane();
  ASSERT_EQ(in.LineCount(), static_cast<std::size_t>(n) + 1);
  EXPECT_EQ(in.HiddenCount(), tape.TotalPane().HiddenCount());
  EXPECT_EQ(in.DisplayedCount(), 6u);
  EXPECT_EQ(in.Line(0), u"入力履歴");
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(in.Line(i), FormatAmount(i)) << i;
  }
  const Text composed = tape.ComposeHistoryText(u"\t");
  EXPECT_EQ(composed.substr(composed.size() - 17), u"100,000\t200,000\r\n");
}

}  // namespace
}  // namespace tapecount
