#include "core/amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tapecount {
namespace {

struct FormatCase {
  double value;
  const char16_t* shown;
};

TEST(FormatAmount, TrimsRoundsAndGroups) {
  // 999.999: the rounding carries into the integer part before grouping; -0.004: the '-'
  // of the rendered -0.00 survives the trim.
  const FormatCase cases[] = {{0, u"0"},
                              {5, u"5"},
                              {5.5, u"5.5"},
                              {5.05, u"5.05"},
                              {10, u"10"},
                              {0.5, u"0.5"},
                              {0.1, u"0.1"},
                              {0.01, u"0.01"},
                              {100.1, u"100.1"},
                              {123, u"123"},
                              {1234, u"1,234"},
                              {1234.5, u"1,234.5"},
                              {-1234.56, u"-1,234.56"},
                              {1000000, u"1,000,000"},
                              {1234567.5, u"1,234,567.5"},
                              {-123456, u"-123,456"},
                              {999.999, u"1,000"},
                              {1234.567, u"1,234.57"},
                              {0.004, u"0"},
                              {-0.5, u"-0.5"},
                              {-0.004, u"-0"}};

  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatAmount(c.value), c.shown) << "value " << c.value;
  }
}

TEST(FormatAmount, RendersValuesBeyondAHundredCharactersWhole) {
  const Text huge = FormatAmount(1e96);
  EXPECT_EQ(huge.substr(0, 4), u"1,00");
  EXPECT_EQ(huge.size(), 97u + 32u);  // 97 digits and their 32 commas
  const Text largest = FormatAmount(-std::numeric_limits<double>::max());
  EXPECT_EQ(largest.substr(0, 6), u"-179,7");
  EXPECT_EQ(largest.size(), 1u + 309u + 102u);
}

TEST(FormatAmount, ShowsNonFiniteValuesAsWords) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatAmount(inf), u"inf");
  EXPECT_EQ(FormatAmount(-inf), u"-inf");
  EXPECT_EQ(FormatAmount(std::nan("")), u"nan");
  EXPECT_EQ(FormatAmount(-std::nan("")), u"nan");
}

struct ParseCase {
  const char16_t* text;
  double value;
};

TEST(ParseAmount, FollowsTheCLocaleConversion) {
  const ParseCase cases[] = {
      {u"", 0},        {u"-", 0},         {u"+", 0},
      {u"007", 7},     {u"5.", 5},        {u".5", 0.5},
      {u"-5", -5},     {u"+5", 5},        {u"1234.567", 1234.567},
      {u"  \t12", 12}, {u"12abc", 12},    {u"abc", 0},
      {u".", 0},       {u"1.2.3", 1.2},   {u"1e3", 1000},
      {u"1E+2x", 100}, {u"2e", 2},        {u"2e-", 2},
      {u"3,000", 3},                                        // a comma is not a decimal point in "C"
      {u"1e-400", 0},  {u"0x10", 0},      {u"\u30001", 0},  // only ASCII white space is skipped
      {u"\r\v7", 7},   {u"1000e-400", 0}, {u"0.0001e-330", 0},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(ParseAmount(c.text), c.value) << "text of " << Text(c.text).size() << " units";
  }
  EXPECT_EQ(ParseAmount(u"1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount(u"0.0001e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount(u"1e99999999999999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAmount(u"-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::signbit(ParseAmount(u"-0")));
}

TEST(ParseAmount, ReformatsTypedEntries) {
  EXPECT_EQ(FormatAmount(ParseAmount(u"007")), u"7");
  EXPECT_EQ(FormatAmount(ParseAmount(u"5.")), u"5");
  EXPECT_EQ(FormatAmount(ParseAmount(u"1234.567")), u"1,234.57");
}

TEST(ParseAmount, ReadsLongDigitRunsExactly) {
  Text digits(2000, u'9');
  EXPECT_EQ(ParseAmount(digits), std::numeric_limits<double>::infinity());
  Text fraction = u"0." + Text(500, u'0') + u"1";
  EXPECT_EQ(ParseAmount(fraction), 0);
  EXPECT_EQ(ParseAmount(u"0.1000000000000000000000000000000001"), 0.1);
}

}  // namespace
}  // namespace tapecount
