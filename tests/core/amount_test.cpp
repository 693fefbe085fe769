#include "core/amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace tapecount {
namespace {

const double kInf = std::numeric_limits<double>::infinity(), kNan = std::nan("");

TEST(FormatAmount, TrimsRoundsAndGroupsAndShowsLongValuesWhole) {
  // 999.999: the rounding carries into the integer part before grouping; -0.004: the '-'
  // of the rendered -0.00 survives the trim; NaN shows without its sign.
  const std::pair<double, const char16_t*> cases[] = {
      {0, u"0"},       {5.5, u"5.5"},    {100.1, u"100.1"},    {-1234.56, u"-1,234.56"},
      {5, u"5"},       {0.5, u"0.5"},    {1234, u"1,234"},     {1000000, u"1,000,000"},
      {10, u"10"},     {0.1, u"0.1"},    {5.05, u"5.05"},      {1234567.5, u"1,234,567.5"},
      {123, u"123"},   {0.01, u"0.01"},  {1234.5, u"1,234.5"}, {-123456, u"-123,456"},
      {0.004, u"0"},   {-0.5, u"-0.5"},  {-0.004, u"-0"},      {999.999, u"1,000"},
      {kInf, u"inf"},  {-kInf, u"-inf"}, {kNan, u"nan"},       {1234.567, u"1,234.57"},
      {-kNan, u"nan"},
  };
  for (const auto& [value, shown] : cases) {
    EXPECT_EQ(FormatAmount(value), shown) << "value " << value;
  }
  const Text huge = FormatAmount(1e96);
  EXPECT_EQ(huge.substr(0, 4), u"1,00");
  EXPECT_EQ(huge.size(), 97u + 32u);  // 97 digits and their 32 commas
  const Text largest = FormatAmount(-std::numeric_limits<double>::max());
  EXPECT_EQ(largest.substr(0, 6), u"-179,7");
  EXPECT_EQ(largest.size(), 1u + 309u + 102u);
}

// "C" rules: no decimal comma, only ASCII spaces skipped, infinity or 0 out of range.
TEST(ParseAmount, FollowsTheCLocaleConversion) {
  const std::pair<const char16_t*, double> cases[] = {
      {u"", 0},        {u"-", 0},      {u"+", 0},        {u"007", 7},     {u"1234.567", 1234.567},
      {u"5.", 5},      {u".5", 0.5},   {u"-5", -5},      {u"+5", 5},      {u"1000e-400", 0},
      {u"  \t12", 12}, {u"12abc", 12}, {u"abc", 0},      {u".", 0},       {u"0.0001e-330", 0},
      {u"1.2.3", 1.2}, {u"1e3", 1000}, {u"1E+2x", 100},  {u"2e", 2},      {u"0.0001e400", kInf},
      {u"2e-", 2},     {u"3,000", 3},  {u"0x10", 0},     {u"\u30001", 0}, {u"-1e400", -kInf},
      {u"\r\v7", 7},   {u"1e-400", 0}, {u"1e400", kInf},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ParseAmount(text), value) << "text of " << Text(text).size() << " units";
  }
  EXPECT_TRUE(std::signbit(ParseAmount(u"-0")));
  EXPECT_EQ(ParseAmount(Text(2000, u'9')), kInf);
  EXPECT_EQ(ParseAmount(u"0." + Text(500, u'0') + u"1"), 0);
  EXPECT_EQ(ParseAmount(u"0.1000000000000000000000000000000001"), 0.1);
  EXPECT_EQ(ParseAmount(u"1e99999999999999"), kInf);
}

// Only A-Z and a-z fold: not their neighbours, nor the full-width letters.
TEST(Text, SameIgnoringAsciiCase) {
  EXPECT_TRUE(SameIgnoringAsciiCase(u"AZaz09_", u"azAZ09_"));
  EXPECT_FALSE(SameIgnoringAsciiCase(u"@[", u"`{"));
  EXPECT_FALSE(SameIgnoringAsciiCase(u"Ａ", u"ａ"));
  EXPECT_FALSE(SameIgnoringAsciiCase(u"a", u"aa"));
}

}  // namespace
}  // namespace tapecount
