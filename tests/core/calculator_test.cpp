// The calculator driven as the user types: digits into the entry box, operator keys.
#include <gtest/gtest.h>

#include <tuple>

#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeWindow;
using Lines = std::vector<Text>;

// Typed after a total of 10: the total and the entry's line. An operator key's own operation
// wins over a pending one; Enter or '+' on an empty box makes '+' pending again.
TEST(EntryKeys, OperatorsSignsAndThePendingOperator) {
  const std::tuple<const char*, double, const char16_t*> cases[] = {
      {"2*", 20, u"*2"},     {"2/", 5, u"/2"},        {"1234.567\n", 1244.567, u"1,234.57"},
      {"2-", 8, u"-2"},      {"2+", 12, u"2"},        {"*2\n", 20, u"*2"},
      {"*2*", 20, u"*2"},    {"*4-", 6, u"-4"},       {"/2+", 5, u"/2"},
      {"*/4\n", 2.5, u"/4"}, {"*\n3\n", 13, u"3"},    {"/+3\n", 13, u"3"},
      {"-3-", 13, u"3"},     {"--", 10, u""},         {"*-2\n", -20, u"*-2"},
      {"-2\n", 8, u"-2"},    {".5\n", 10.5, u"0.5"},  {"007\n", 17, u"7"},
      {"2=", 12, u"2"},      {"2_", 8, u"-2"},        {"2:", 20, u"*2"},
      {"2?", 5, u"/2"},      {"2,5\n", 12.5, u"2.5"}, {"/-4\n", -2.5, u"/-4"},
  };
  for (const auto& [keys, total, line] : cases) {
    FakeWindow w;
    w.Type("10\n");
    w.Type(keys);
    EXPECT_DOUBLE_EQ(w.Total(), total) << keys;
    EXPECT_EQ(w.display.lastEntry, line) << keys;
    EXPECT_EQ(w.display.entry, u"") << keys;
    EXPECT_EQ(w.display.title, u"「 + 」: : : ") << keys;
    w.Type("1\n");  // no sign is left over: the next entry adds
    EXPECT_DOUBLE_EQ(w.Total(), total + 1) << keys;
  }
}

TEST(EntryKeys, PointAndMinusAreInsertedWithTheCaretAtTheEnd) {
  FakeWindow w;
  const int focused = w.display.focusCount;
  EXPECT_EQ(w.Key(kVkDecimal), EntryKey::Handled);
  w.Type("5");
  EXPECT_EQ(w.Key(kVkDecimal), EntryKey::Refused);  // one point only
  EXPECT_EQ(w.display.entry, u".5");
  EXPECT_EQ(w.display.focusCount, focused + 1);
  w.Type("-*/-");  // minus on an empty box: a "-" with the caret after it
  EXPECT_EQ(w.display.entry, u"-");
  EXPECT_EQ(w.display.title, u"「 / 」: : : ");
  EXPECT_EQ(w.display.focusCount, focused + 2);
  EXPECT_TRUE(w.State().negativeEntry);
  w.display.entry.clear();
  w.Type("+-");
  EXPECT_EQ(w.display.title, u"「 - 」: : : ");
  EXPECT_EQ(w.InputLines().size(), 2u);
}

// A positive total turns negative only through an entry typed with '-' (+ and * are checked).
// Keys typed, text pasted, the key; if refused, the total an undo then shows, else null.
TEST(EntryKeys, RangeErrorRefusesAPositiveTotalTurningNegative) {
  const std::tuple<const char*, const char16_t*, int, const char16_t*> cases[] = {
      {"5\n", u"-8", kVkReturn, u"0"},    {"5\n", u"-8", kVkMultiply, u"0"},
      {"5\n*", u"-2", kVkReturn, u"0"},   {"5\n-3\n", u"-8", kVkReturn, u"5"},
      {"5\n", u"-5", kVkReturn, nullptr}, {"5\n", u"-4.5", kVkReturn, nullptr},
      {"", u"-5", kVkReturn, nullptr},    {"5\n", u"-8", kVkSubtract, nullptr},
      {"5\n", u"-8", kVkDivide, nullptr}, {"5\n-", u"-8", kVkReturn, nullptr},
      {".5\n", u"-1", kVkReturn, u"0"},
  };
  for (const auto& [typed, pasted, key, totalAfterUndo] : cases) {
    SCOPED_TRACE(typed);
    FakeWindow w;
    w.Type(typed);
    w.display.entry = pasted;
    const auto kept = [&w] {
      return std::make_tuple(w.Total(), w.display.entry, w.InputLines(), w.display.title);
    };
    const auto before = kept();
    const int focused = w.display.focusCount;
    const bool refused = totalAfterUndo != nullptr;
    EXPECT_EQ(w.Key(key) == EntryKey::Refused, refused);
    if (refused) {
      EXPECT_EQ(w.display.messages, std::vector<Message>{kRangeErrorMessage});
      EXPECT_EQ(kept(), before);
      EXPECT_EQ(w.display.lastEntry, u"");
      EXPECT_GT(w.display.focusCount, focused);  // back to the entry box
      w.display.entry.clear();
      w.Type("B");
      EXPECT_EQ(w.display.totalText, totalAfterUndo);
    }
  }
}

TEST(EntryKeys, DivisionByZeroCarriesOnNonFinite) {
  FakeWindow w, z;
  w.Type("5\n0/7\n3*");
  EXPECT_EQ(w.TotalLines(), (Lines{u"合計履歴", u"5", u"inf", u"inf", u"inf"}));
  z.Type("0/");  // 0 divided by 0
  EXPECT_EQ(z.display.totalText, u"nan");
  EXPECT_TRUE(w.display.messages.empty());
  EXPECT_TRUE(z.display.messages.empty());
}

TEST(Undo, TakesEntriesBackDownToTheHeaders) {
  FakeWindow w;
  w.Type("B10\n*4\n*B");
  EXPECT_EQ(w.display.lastEntry, u"10");  // the bare amount of the entry now on top
  EXPECT_EQ(w.display.totalText, u"10");
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"10"}));
  EXPECT_EQ(w.TotalLines(), (Lines{u"合計履歴", u"10"}));
  EXPECT_EQ(testing::TapeJournalOf(w.model).entries.size(), 1u);  // nor does the journal keep it
  EXPECT_EQ(w.display.title, u"「 * 」: : : ");                   // undo leaves the operator
  w.Type("BB");  // the second finds the header: nothing, nothing said
  EXPECT_EQ(w.display.lastEntry, u"0");
  EXPECT_EQ(w.display.totalText, u"0");
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴"}));
  EXPECT_TRUE(w.display.messages.empty());
  w.Type("+7\n12B");  // the stacks are whole again; with a typed entry Backspace only edits
  EXPECT_EQ(w.display.totalText, u"7");
  EXPECT_EQ(w.InputLines().back(), u"7");
}

TEST(ClearAll, CopiesTheHistoryThenStartsAfresh) {
  FakeWindow w;
  w.Type("100\n25-*4D");
  EXPECT_EQ(w.display.clipboard, u"入力履歴\t合計履歴\r\n100\t100\r\n-25\t75\r\n");
  EXPECT_EQ(w.display.entry, u"");
  EXPECT_EQ(w.display.lastEntry, u"0");
  EXPECT_EQ(w.display.totalText, u"0");
  EXPECT_EQ(w.display.title, u"「 + 」: : : ");
  w.Type("B-D5-");  // clear-all cleared the negative-entry flag: 5 is subtracted
  EXPECT_EQ(w.display.lastEntry, u"-5");
  FakeWindow old(kRelease127);  // the running total alone; spaces between the columns
  old.Type("100\n25-*3\n");
  old.Type("D3\n");  // the running total back to 0
  EXPECT_EQ(old.display.clipboard, u"入力履歴   合計履歴\r\n100   100\r\n-25   75\r\n*3   225\r\n");
  EXPECT_EQ(old.display.totalText, u"3");
}

}  // namespace
}  // namespace tapecount
