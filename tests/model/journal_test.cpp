// The session journal as bytes: what is written reads back exactly, and anything that is not
// a whole journal of this format reads as nothing. This source is UTF-8, so its narrow
// literals are UTF-8 files.
#include "shell/model/journal.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/same_journal.h"

namespace tapecount {
namespace {

using testing::SameJournal;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const std::string kSample =
    "\xEF\xBB\xBFテプカン: Windows の終了時に残したテープ (tapecount-tape 1)\r\n"
    "入力履歴\t合計履歴\r\n"
    "1,234.5\t1,234.5\t\t+ 1234.5\r\n"
    "-5   1,229.5\t\t+n -5\r\n"
    "0.1\t\t\t* 0.1\r\n"
    "\t\t\tpending /\r\n"
    "\t\t\tend\r\n";
const Journal kSampleJournal{{{u'+', false, 1234.5, u"1,234.5\t1,234.5"},
                              {u'+', true, -5, u"-5   1,229.5"},
                              {u'*', false, 0.1, u"0.1\t"}},
                             u'/'};

TEST(Journal, WritesTheFormatAndReadsBackEveryValueExactly) {
  EXPECT_EQ(WriteJournal(kSampleJournal), kSample);
  const Journal journals[] = {
      {{}, u'+'},
      {{}, u'-'},
      kSampleJournal,
      {{{u'+', false, 0.1, u"0.1\t0.1"},
        {u'-', true, -1e300, u"-1e300   ∞"},
        {u'*', false, 5e-324, u""},
        {u'/', false, -0.0, u"\t"},
        {u'+', false, std::numeric_limits<double>::max(), u"x\t\ty"},
        {u'-', false, -std::numeric_limits<double>::max(), Text(u"\U0002000B\t\0\t", 5)},
        {u'+', false, kInf, u"inf"},
        {u'-', true, -kInf, u"-inf"},
        {u'*', false, kNaN, u"nan"},
        {u'/', false, -kNaN, u"+ 1"}},
       u'*'},
  };
  for (const Journal& journal : journals) {
    const std::string bytes = WriteJournal(journal);
    const std::optional<Journal> read = ReadJournal(bytes);
    ASSERT_TRUE(read) << bytes;
    EXPECT_TRUE(SameJournal(*read, journal)) << bytes;
  }
  // 0.1 is written as "0.1", and 1e300 as "1e+300": the shortest form that reads back.
  const std::string values = WriteJournal(journals[3]);
  for (const char* value : {"+ 0.1\r", "-n -1e+300\r", "* 5e-324\r", "/ -0\r", "+ inf\r",
                            "-n -inf\r", "* nan\r", "/ -nan\r"}) {
    EXPECT_NE(values.find(value), std::string::npos) << value;
  }
}

// The sample with `from` (which it holds once) replaced.
std::string Damaged(std::string_view from, std::string_view to) {
  std::string bytes = kSample;
  const std::size_t at = bytes.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  EXPECT_EQ(bytes.find(from, at + 1), std::string::npos) << from;
  return bytes.replace(at, from.size(), to);
}

TEST(Journal, AnythingButAWholeJournalReadsAsNothing) {
  const std::string damaged[] = {
      "",
      kSample.substr(3),                             // no byte-order mark
      Damaged("\xEF\xBB\xBF", "\xFF\xFE"),           // another one
      Damaged("1,234.5\t1,234.5", "1,234.5\t\xE9"),  // Latin-1, not UTF-8
      Damaged("0.1\t\t", "\xC0\xB0\t\t"),            // an overlong '0'
      Damaged("0.1\t\t", "\xED\xA0\x80\t\t"),        // a surrogate
      Damaged("(tapecount-tape 1)", "(tapecount-tape 2)"),
      Damaged(" (tapecount-tape 1)", ""),
      Damaged("入力履歴\t合計履歴", "入力履歴   合計履歴"),
      Damaged("\t\t+ 1234.5", ""),  // a row without the machine part
      Damaged("\t\t+ 1234.5", "\t+ 1234.5"),
      Damaged("+ 1234.5", "% 1234.5"),
      Damaged("+n -5", "+N -5"),
      Damaged("+n -5", "+nn -5"),
      Damaged("+ 1234.5", "+1234.5"),
      Damaged("+ 1234.5", "+  1234.5"),
      Damaged("+ 1234.5", "+ 1234.5 "),
      Damaged("+ 1234.5", "+ +1234.5"),
      Damaged("+ 1234.5", "+ 1,234.5"),
      Damaged("+ 1234.5", "+ 0x1p3"),
      Damaged("+ 1234.5", "+ 1e400"),  // out of range
      Damaged("+ 1234.5", "+ "),
      Damaged("+ 1234.5", "+ １"),
      Damaged("-5   1,229.5", "-5\n1,229.5"),  // a lone LF, or CR, in a row
      Damaged("-5   1,229.5", "-5\r1,229.5"),
      Damaged("\r\n\t\t\tpending", "\n\t\t\tpending"),
      Damaged("pending /", "pending %"),
      Damaged("pending /", "pending"),
      Damaged("pending /", "pending //"),
      Damaged("\t\t\tpending /\r\n", ""),
      Damaged("\t\t\tpending /\r\n", "\t\t\tpending /\r\n\t\t\tpending /\r\n"),
      Damaged("\t\t\tend\r\n", ""),
      Damaged("\t\t\tend\r\n", "\t\t\tend \r\n"),
      Damaged("\t\t\tend\r\n", "\t\t\tpending +\r\n\t\t\tend\r\n"),
      kSample + "\r\n\r\n",  // more than one empty line after the end
      kSample + " ",
      kSample + "\t\t\tend\r\n",
      kSample + "\n",
  };
  for (const std::string& bytes : damaged) {
    EXPECT_FALSE(ReadJournal(bytes)) << bytes;
  }
}

TEST(Journal, EveryTruncationReadsAsNothingButTheLastLineBreak) {
  // The terminator is whole without its line break; an editor may also add an empty line.
  for (const std::string& whole : {kSample.substr(0, kSample.size() - 2), kSample + "\r\n"}) {
    const std::optional<Journal> read = ReadJournal(whole);
    ASSERT_TRUE(read);
    EXPECT_TRUE(SameJournal(*read, kSampleJournal));
  }
  for (std::size_t size = 0; size < kSample.size() - 2; ++size) {
    EXPECT_FALSE(ReadJournal(kSample.substr(0, size))) << size;
  }
  EXPECT_FALSE(ReadJournal(kSample.substr(0, kSample.size() - 1)));  // "end\r"
}

}  // namespace
}  // namespace tapecount
