// The journal reads back exactly; anything but a whole journal reads as nothing. (UTF-8 source.)
#include "shell/model/journal.h"
#include "shell/model/utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace tapecount {
namespace {

using Limits = std::numeric_limits<double>;

// The pending operator, then each entry as text with its value bit for bit (a NaN as its sign
// and "nan", its payload aside): a failure shows which entry differs.
std::vector<std::string> Fields(const Journal& journal) {
  std::vector<std::string> fields{EncodeUtf8(Text(1, journal.pendingOperator))};
  for (const JournalEntry& entry : journal.entries) {
    std::uint64_t bits;
    std::memcpy(&bits, &entry.value, sizeof bits);
    const std::string value = std::isnan(entry.value) ? (std::signbit(entry.value) ? "-nan" : "nan")
                                                      : std::to_string(bits);
    fields.push_back(EncodeUtf8(Text(1, entry.operation)) + (entry.negativeEntry ? "n " : " ") +
                     value + " " + EncodeUtf8(entry.row));
  }
  return fields;
}

const std::string kSample =
    "\xEF\xBB\xBFテプカン: Windows の終了時に残したテープ (tapecount-tape 1)\r\n"
    "入力履歴\t合計履歴\r\n"
    "1,234.5\t1,234.5\t\t+ 1234.5\r\n"
    "-5   1,229.5\t\t+n -5\r\n"
    "0.1\t\t\t* 0.1\r\n"
    "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80"
    "\xF4\x8F\xBF\xBF\t\t/ 1e+300\r\n"
    "\t\t\tpending -\r\n"
    "\t\t\tend\r\n";
// The first and last code points of each UTF-8 length, and the nearest to the surrogates.
const Text kEdges = u"\x7F\x80\x7FF\x800\xE000\xFFFF\U00010000\U0001F600\U0010FFFF";
const Journal kSampleJournal{{{u'+', false, 1234.5, u"1,234.5\t1,234.5"},
                              {u'+', true, -5, u"-5   1,229.5"},
                              {u'*', false, 0.1, u"0.1\t"},
                              {u'/', false, 1e300, kEdges}},
                             u'-'};

TEST(Journal, WritesTheFormatAndReadsBackEveryValueExactly) {
  EXPECT_EQ(WriteJournal(kSampleJournal), kSample);
  const Journal journals[] = {
      {{}, u'+'},
      kSampleJournal,
      {{{u'-', true, -0.0, u""},
        {u'*', false, 5e-324, u"\t"},
        {u'+', false, Limits::max(), u"x\t\ty"},
        {u'-', false, -Limits::max(), Text(u"\0\t", 2)},
        {u'+', false, Limits::infinity(), u"+ 1"},
        {u'-', true, -Limits::infinity(), u"\t\t+ 1"},
        {u'*', false, Limits::quiet_NaN(), u"nan"},
        {u'/', false, -Limits::quiet_NaN(), u"-nan"}},
       u'*'},
  };
  for (const Journal& journal : journals) {
    const std::string bytes = WriteJournal(journal);
    const std::optional<Journal> read = ReadJournal(bytes);
    ASSERT_TRUE(read) << bytes;
    EXPECT_EQ(Fields(*read), Fields(journal));
  }
  // A surrogate without its pair is written as U+FFFD.
  const Text lone(u"x\xDC00\xD800\xD800\xDC00\xD800\xE000\xD800", 8);
  const std::string bytes = WriteJournal({{{u'+', false, 1, lone}}, u'+'});
  EXPECT_EQ(ReadJournal(bytes).value().entries.at(0).row,
            u"x\xFFFD\xFFFD\U00010000\xFFFD\xE000\xFFFD");
  EXPECT_EQ(EncodeUtf8(TextView(u"\xD800\xDC00", 1)), "\xEF\xBF\xBD");  // its pair not read
  EXPECT_EQ(EncodeUtf8(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");             // a pair at the end
}

// The sample with the first `from` replaced.
std::string Damaged(std::string_view from, std::string_view to) {
  std::string bytes = kSample;
  return bytes.replace(bytes.find(from), from.size(), to);
}

TEST(Journal, AnythingButAWholeJournalReadsAsNothing) {
  const std::string damaged[] = {
      "",
      kSample.substr(3),                           // no byte-order mark
      Damaged("1,234.5\t1,", "1,234.5\t\xE9"),     // Latin-1, not UTF-8
      Damaged("0.1\t\t", "\xC0\xB0\t\t"),          // an overlong '0'
      Damaged("0.1\t\t", "\xED\xA0\x80\t\t"),      // a surrogate
      Damaged("0.1\t\t", "\x81\x80\x80\x80\t\t"),  // no lead byte
      Damaged("tape 1)", "tape 2)"),
      Damaged("入力履歴\t", "入力履歴   "),
      Damaged("\t\t+ 1234.5", ""),  // a row without the machine part
      Damaged("+ 1234.5", "% 1234.5"),
      Damaged("+n -5", "+N -5"),
      Damaged("+ 1234.5", "+1234.5"),
      Damaged("+ 1234.5", "+ 0x1p3"),
      Damaged("+ 1234.5", "+ 1e400"),  // out of range
      Damaged("+ 1234.5", "+ １"),
      Damaged("-5   1", "-5\r1"),  // a lone CR in a row
      Damaged("pending -", "pending %"),
      Damaged("pending -", "pending --"),
      Damaged("\t\t\tpending -\r\n", ""),
      Damaged("\t\t\tend", "\t\t\tpending -\r\n\t\t\tend"),
      Damaged("\t\t\tend", "\t\t\tend "),
      kSample + "\r\n\r\n",  // more than one empty line after the end
      kSample + "\n",
      kSample + "\t\t\tend\r\n",
  };
  for (const std::string& bytes : damaged) {
    EXPECT_FALSE(ReadJournal(bytes)) << bytes;
  }
  // Its first line is enough to tell a tape dropped on the program from another file.
  EXPECT_TRUE(BeginsAsJournal(kSample.substr(0, kSample.find("\r\n") + 2)));
  for (const std::string& head : {kSample.substr(0, kSample.find("\r\n")), kSample.substr(3),
                                  Damaged("tape 1)", "tape 2)")}) {
    EXPECT_FALSE(BeginsAsJournal(head)) << head;
  }
}

TEST(Journal, EveryTruncationReadsAsNothingButTheLastLineBreak) {
  // The terminator is whole without its line break; an editor may also add an empty line.
  EXPECT_TRUE(ReadJournal(kSample + "\r\n"));
  for (std::size_t size = 0; size < kSample.size(); ++size) {
    EXPECT_EQ(ReadJournal(kSample.substr(0, size)).has_value(), size == kSample.size() - 2);
  }
}

TEST(Journal, FileNameOfATimeAndAProcess) {
  EXPECT_EQ(JournalFileName({2025, 1, 31, 9, 3, 5, 4242}), u"tape-20250131-090305-4242.txt");
  EXPECT_EQ(JournalFileName({2099, 12, 10, 23, 59, 59, 4294967295}),
            u"tape-20991210-235959-4294967295.txt");
}

}  // namespace
}  // namespace tapecount
