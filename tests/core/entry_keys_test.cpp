// The calculator driven as the user types: digits into the entry box, operator keys.
#include <gtest/gtest.h>

#include <cmath>

#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeWindow;
using Lines = std::vector<Text>;

TEST(EntryKeys, WorkedExampleAppliedOneAfterAnother) {
  FakeWindow w;
  w.Type("100\n25-");
  EXPECT_EQ(w.calculator.Total(), 75);
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"100", u"-25"}));
  EXPECT_EQ(w.TotalLines(), (Lines{u"合計履歴", u"100", u"75"}));
  EXPECT_EQ(w.lastEntry, u"-25");
  EXPECT_EQ(w.totalText, u"75");

  w.Type("*3\n");
  EXPECT_EQ(w.calculator.Total(), 225);
  EXPECT_EQ(w.InputLines().back(), u"*3");

  w.Type("-");
  EXPECT_EQ(w.entry, u"-");
  EXPECT_EQ(w.modeText, u"「 - 」");
  w.Type("5\n");
  EXPECT_EQ(w.calculator.Total(), 220);
  EXPECT_EQ(w.InputLines().back(), u"-5");

  w.Type("/-");
  EXPECT_EQ(w.modeText, u"「 / 」");  // the operator stays '/'
  w.Type("4\n");
  EXPECT_EQ(w.calculator.Total(), -55);
  EXPECT_EQ(w.InputLines().back(), u"/-4");
  EXPECT_EQ(w.totalText, u"-55");
}

TEST(EntryKeys, EachAppliedEntryResetsForTheNext) {
  FakeWindow w;
  w.Type("*");
  EXPECT_EQ(w.modeText, u"「 * 」");
  w.Type("2\n");
  EXPECT_EQ(w.entry, u"");
  EXPECT_EQ(w.modeText, u"「 + 」");
  EXPECT_EQ(w.calculator.State().pendingOperator, u'+');
  EXPECT_FALSE(w.calculator.State().negativeEntry);
  EXPECT_EQ(w.status, u"テプカン: 現在の表示行数 = [6] 行");
}

TEST(EntryKeys, DecimalPointOnceOnly) {
  FakeWindow w;
  w.Type(".");
  EXPECT_EQ(w.entry, u".");
  w.Type("5.");
  EXPECT_EQ(w.entry, u".5");
  EXPECT_EQ(w.calculator.HandleEntryKey(kVkOemPeriod), KeyResult::Refused);
  w.Type("\n");
  EXPECT_EQ(w.lastEntry, u"0.5");
  EXPECT_EQ(w.calculator.Total(), 0.5);
}

TEST(EntryKeys, MinusOnALoneMinusSubtractsZeroWithAnEmptyLine) {
  FakeWindow w;
  w.Type("5\n--");
  EXPECT_EQ(w.calculator.Total(), 5);
  EXPECT_EQ(w.lastEntry, u"");
  EXPECT_EQ(w.InputLines().back(), u"");
  EXPECT_EQ(w.TotalLines().back(), u"5");
}

TEST(EntryKeys, SubtractingANegativeEntryShowsAPositiveLine) {
  FakeWindow w;
  w.Type("10\n-3-");
  EXPECT_EQ(w.calculator.Total(), 13);
  EXPECT_EQ(w.lastEntry, u"3");
}

TEST(EntryKeys, TheKeysOwnOperationWinsOverThePendingOne) {
  FakeWindow w;
  w.Type("10\n*2*");  // pending '*' and the multiply key: multiply once
  EXPECT_EQ(w.calculator.Total(), 20);
  w.Type("*4-");  // pending '*', minus key: subtract
  EXPECT_EQ(w.calculator.Total(), 16);
  EXPECT_EQ(w.lastEntry, u"-4");
  w.Type("/2+");  // pending '/', plus key: the pending division
  EXPECT_EQ(w.calculator.Total(), 8);
  EXPECT_EQ(w.lastEntry, u"/2");
  w.Type("3/");
  EXPECT_EQ(w.calculator.Total(), 8.0 / 3);
  EXPECT_EQ(w.totalText, u"2.67");
}

TEST(EntryKeys, EveryKeyOfAGroupActsAlike) {
  FakeWindow w;
  w.entry = u"10";
  w.calculator.HandleEntryKey(kVkOemPlus);
  w.entry = u"3";
  w.calculator.HandleEntryKey(kVkOemMinus);
  w.entry = u"2";
  w.calculator.HandleEntryKey(kVkOem1);
  w.entry = u"7";
  w.calculator.HandleEntryKey(kVkOem2);
  EXPECT_EQ(w.calculator.Total(), 2);
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"10", u"-3", u"*2", u"/7"}));
  EXPECT_EQ(w.calculator.HandleEntryKey(kVkF1), KeyResult::NotMine);
  EXPECT_EQ(w.calculator.HandleEntryKey(kVkBack), KeyResult::NotMine);
}

TEST(EntryKeys, RangeErrorRefusesAPastedNegativeEntry) {
  FakeWindow w;
  w.Type("5\n");
  w.entry = u"-8";  // pasted: the '-' key was not used
  EXPECT_EQ(w.calculator.HandleEntryKey(kVkReturn), KeyResult::Refused);
  ASSERT_EQ(w.messages.size(), 1u);
  EXPECT_EQ(w.messages[0], kRangeErrorMessage);
  EXPECT_EQ(w.messages[0].caption, Text(u"テープカン Error"));
  EXPECT_EQ(w.calculator.Total(), 5);
  EXPECT_EQ(w.lastEntry, u"");
  EXPECT_EQ(w.entry, u"-8");
  EXPECT_EQ(w.InputLines().size(), 2u);

  // The same entry started with the '-' key is accepted.
  w.entry.clear();
  w.Type("-8\n");
  EXPECT_EQ(w.calculator.Total(), -3);
  EXPECT_EQ(w.messages.size(), 1u);
}

TEST(EntryKeys, RangeErrorLeavesOperatorAndStacksAsTheyWere) {
  FakeWindow w;
  w.Type("5\n*");
  w.entry = u"-2";
  w.calculator.HandleEntryKey(kVkReturn);
  EXPECT_EQ(w.calculator.State().pendingOperator, u'*');
  EXPECT_EQ(w.calculator.Total(), 5);
  // Two nodes on each stack: the bottom 0 and the one entry.
  EXPECT_EQ(w.calculator.State().totalStack.top->next->next, nullptr);
  EXPECT_EQ(w.calculator.State().entryStack.top->next->next, nullptr);
}

TEST(EntryKeys, SubtractionAndDivisionAreNotRangeChecked) {
  FakeWindow w;
  w.Type("5\n8-");
  EXPECT_EQ(w.calculator.Total(), -3);
  EXPECT_TRUE(w.messages.empty());
}

TEST(EntryKeys, DivisionByZeroCarriesOnNonFinite) {
  FakeWindow w;
  w.Type("5\n0/");
  EXPECT_EQ(w.totalText, u"inf");
  w.Type("7\n3*");
  EXPECT_TRUE(std::isinf(w.calculator.Total()));
  w.Type("0/");
  EXPECT_EQ(w.totalText, u"inf");
  EXPECT_TRUE(w.messages.empty());

  FakeWindow z;
  z.Type("0/");  // 0 divided by 0
  EXPECT_TRUE(std::isnan(z.calculator.Total()));
  EXPECT_EQ(z.totalText, u"nan");
}

TEST(EntryKeys, StacksKeepEveryEntryAndTheTotalBeforeIt) {
  FakeWindow w;
  w.Type("100\n25-");
  const CalcState& s = w.calculator.State();
  EXPECT_EQ(s.entryStack.top->value, 25);
  EXPECT_EQ(s.entryStack.top->next->value, 100);
  EXPECT_EQ(s.totalStack.top->value, 75);
  EXPECT_EQ(s.totalStack.top->next->value, 100);
  EXPECT_EQ(s.totalStack.top->next->next->value, 0);
}

TEST(EntryKeys, ReleaseWithoutHistoryKeepsOnlyTheRunningTotal) {
  FakeWindow w(kRelease127);
  w.Type("100\n25-*3\n");
  EXPECT_EQ(w.calculator.Total(), 225);
  EXPECT_EQ(w.calculator.State().totalStack.top->next, nullptr);
  EXPECT_EQ(w.calculator.State().entryStack.top, nullptr);
}

}  // namespace
}  // namespace tapecount
