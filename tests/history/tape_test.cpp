// The paper tape on its own: lines scrolled into the hidden lines and back, undo's share,
// the composed history.
#include "history/tape.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/amount.h"

namespace tapecount {
namespace {

// Entries from..to appended (totals ten times the entry), never scrolling.
void Append(Tape& tape, int from, int to) {
  for (int i = from; i <= to; ++i) {
    tape.AppendLines(IntToText(i), IntToText(10 * i), false);
  }
}

TEST(Tape, FitScrollsOldestLinesOutAndBringsTheNewestHiddenBack) {
  Tape tape;
  Append(tape, 1, 6);
  const std::pair<int, const char16_t*> fits[] = {
      {4, u"3\r\n4\r\n5\r\n6\r\n"},
      {5, u"2\r\n3\r\n4\r\n5\r\n6\r\n"},  // the most recently hidden comes back first
      {100, u"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n"},  // no more than there are
      {-1, u""},  // a negative capacity empties the pane, hiding no empty lines
  };
  for (auto [capacity, shown] : fits) {
    tape.SetRowCapacity(capacity);
    tape.Fit();
    EXPECT_EQ(tape.InputPane().DisplayedText(), shown);
    EXPECT_EQ(tape.DisplayedRowCount(), std::min(capacity, 7));
    EXPECT_EQ(tape.TotalPane().HiddenCount(), tape.InputPane().HiddenCount());
  }
  tape.SetRowCapacity(3);
  tape.AppendLines(u"7", u"70", true);  // full: both panes scroll first
  EXPECT_EQ(tape.DisplayedRowCount(), 3);
  EXPECT_EQ(tape.TotalPane().DisplayedText(), u"70\r\n");
  EXPECT_EQ(tape.InputPane().HiddenText(), u"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
}

TEST(Tape, TakeBackStopsAtTheHeaderAndAtALoneLine) {
  Tape tape;
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::AtHeader);
  Append(tape, 1, 2);
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::Removed);
  EXPECT_EQ(tape.InputPane().DisplayedText() + tape.TotalPane().DisplayedText(),
            u"入力履歴\r\n1\r\n合計履歴\r\n10\r\n");
  EXPECT_EQ(tape.DisplayedRowCount(), 2);
  Append(tape, 2, 7);
  tape.SetRowCapacity(1);  // only 7 in view: no earlier line to become the last
  tape.Fit();
  EXPECT_EQ(tape.TakeBackLastLine(), UndoOutcome::Underflow);
  EXPECT_EQ(tape.InputPane().DisplayedText(), u"7\r\n");
  EXPECT_EQ(tape.InputPane().LineCount(), 8u);
  tape.Reset();  // the headers alone, the hidden lines forgotten
  EXPECT_EQ(tape.InputPane().DisplayedText() + tape.TotalPane().DisplayedText(),
            u"入力履歴\r\n合計履歴\r\n");
  EXPECT_EQ(tape.DisplayedRowCount(), 1);
}

TEST(Tape, ComposesBothPanesSideBySideHiddenRowsFirst) {
  Tape tape;
  Append(tape, 1, 2);
  tape.SetRowCapacity(1);
  tape.Fit();
  ASSERT_EQ(tape.InputPane().HiddenCount(), 2u);
  EXPECT_EQ(tape.ComposeHistoryText(kPrintSeparator),
            u"入力履歴   合計履歴\r\n1   10\r\n2   20\r\n");
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
  EXPECT_EQ(in.DisplayedCount(), 6u);
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(in.Line(i), FormatAmount(i)) << i;
  }
  const Text composed = tape.ComposeHistoryText(u"\t");
  EXPECT_EQ(composed.substr(composed.size() - 17), u"100,000\t200,000\r\n");
}

}  // namespace
}  // namespace tapecount
