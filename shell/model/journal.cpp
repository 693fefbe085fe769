#include "shell/model/journal.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "core/calculator.h"
#include "history/tape.h"
#include "shell/model/utf8.h"

namespace tapecount {

namespace {

constexpr char16_t kLineBreak[] = u"\r\n";
constexpr char16_t kPendingLine[] = u"\t\t\tpending ";
constexpr char16_t kEndLine[] = u"\t\t\tend";

bool EndsWith(TextView text, TextView end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

constexpr char16_t kFirstLineStart[] = u"テプカン: Windows の終了時に残したテープ ";

Text HeaderRow() {
  return Text(kInputHeader) + u"\t" + kTotalHeader;
}

// The whole text must be the value: no sign other than a leading '-', no spaces.
std::optional<double> ParseValue(TextView text) {
  std::string narrow;
  for (char16_t c : text) {
    if (c >= 0x80) {
      return std::nullopt;
    }
    narrow += static_cast<char>(c);
  }
  double value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto [stop, error] = std::from_chars(narrow.data(), end, value);
  if (error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// "row<TAB><TAB>+n 1.5": the row is all before the last TAB pair, as the machine part holds
// no TAB.
std::optional<JournalEntry> ParseEntry(TextView line) {
  const std::size_t split = line.rfind(u"\t\t");
  if (split == TextView::npos) {
    return std::nullopt;
  }
  TextView machine = line.substr(split + 2);
  if (machine.empty() || !OperationOf(machine[0])) {
    return std::nullopt;
  }
  const bool negative = machine.size() > 1 && machine[1] == u'n';
  machine.remove_prefix(negative ? 2 : 1);
  if (machine.empty() || machine[0] != u' ') {
    return std::nullopt;
  }
  const std::optional<double> value = ParseValue(machine.substr(1));
  if (!value) {
    return std::nullopt;
  }
  return JournalEntry{line[split + 2], negative, *value, Text(line.substr(0, split))};
}

}  // namespace

JournalWriter::JournalWriter(ByteSink& out) : out_(out) {
  out_.Write(kUtf8ByteOrderMark);
  for (TextView piece :
       {TextView(kFirstLineStart), TextView(kJournalMark), TextView(kLineBreak),
        TextView(kInputHeader), TextView(u"\t"), TextView(kTotalHeader), TextView(kLineBreak)}) {
    EncodeUtf8(piece, out_);
  }
}

void JournalWriter::Entry(char16_t operation, bool negativeEntry, double value,
                          std::initializer_list<TextView> row) {
  for (TextView piece : row) {
    EncodeUtf8(piece, out_);
  }
  const char16_t machine[] = {u'\t', u'\t', operation};
  EncodeUtf8(TextView(machine, 3), out_);
  out_.Write(negativeEntry ? "n " : " ");
  // The shortest form that reads back as the same double: at most 24 characters.
  char digits[32];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), value);
  out_.Write(std::string_view(digits, error == std::errc() ? end - digits : 0));
  EncodeUtf8(kLineBreak, out_);
}

void JournalWriter::End(char16_t pendingOperator) {
  for (TextView piece : {TextView(kPendingLine), TextView(&pendingOperator, 1),
                         TextView(kLineBreak), TextView(kEndLine), TextView(kLineBreak)}) {
    EncodeUtf8(piece, out_);
  }
}

std::string WriteJournal(const Journal& journal) {
  StringSink out;
  JournalWriter writer(out);
  for (const JournalEntry& entry : journal.entries) {
    writer.Entry(entry.operation, entry.negativeEntry, entry.value, {entry.row});
  }
  writer.End(journal.pendingOperator);
  return std::move(out.Bytes());
}

bool BeginsAsJournal(std::string_view head) {
  const std::size_t end = head.find("\r\n");
  const std::size_t mark = kUtf8ByteOrderMark.size();
  if (head.substr(0, mark) != kUtf8ByteOrderMark || end == std::string_view::npos) {
    return false;
  }
  const std::optional<Text> line = DecodeUtf8(head.substr(mark, end - mark));
  return line && EndsWith(*line, kJournalMark);
}

std::optional<Journal> ReadJournal(std::string_view bytes) {
  if (bytes.substr(0, kUtf8ByteOrderMark.size()) != kUtf8ByteOrderMark) {
    return std::nullopt;
  }
  const std::optional<Text> text = DecodeUtf8(bytes.substr(kUtf8ByteOrderMark.size()));
  if (!text) {
    return std::nullopt;
  }
  // The lines between CR LF pairs; a lone CR or LF is no line break of the program's.
  std::vector<TextView> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(text->find(kLineBreak, start), text->size());
    lines.emplace_back(TextView(*text).substr(start, end - start));
    if (lines.back().find_first_of(u"\r\n") != TextView::npos) {
      return std::nullopt;
    }
    if (end == text->size()) {
      break;
    }
    start = end + 2;
  }
  // The terminator may stand last, or be followed by a line break and one empty line.
  for (int blank = 0; blank < 2 && lines.size() > 1 && lines.back().empty(); ++blank) {
    lines.pop_back();
  }
  const std::size_t count = lines.size();
  if (count < 4 || !EndsWith(lines[0], kJournalMark) || lines[1] != HeaderRow() ||
      lines[count - 1] != kEndLine) {
    return std::nullopt;
  }
  const TextView pending = lines[count - 2];
  if (pending.size() != TextView(kPendingLine).size() + 1 ||
      pending.substr(0, pending.size() - 1) != kPendingLine || !OperationOf(pending.back())) {
    return std::nullopt;
  }
  Journal journal;
  journal.pendingOperator = pending.back();
  for (std::size_t i = 2; i < count - 2; ++i) {
    std::optional<JournalEntry> entry = ParseEntry(lines[i]);
    if (!entry) {
      return std::nullopt;
    }
    journal.entries.emplace_back(std::move(*entry));
  }
  return journal;
}

Text JournalFileName(const JournalStamp& stamp) {
  const auto twoDigits = [](Text& text, int n) {
    text += static_cast<char16_t>(u'0' + n / 10 % 10);
    text += static_cast<char16_t>(u'0' + n % 10);
  };
  Text name = u"tape-";
  AppendInt(name, stamp.year);
  twoDigits(name, stamp.month);
  twoDigits(name, stamp.day);
  name += u'-';
  twoDigits(name, stamp.hour);
  twoDigits(name, stamp.minute);
  twoDigits(name, stamp.second);
  name += u'-';
  AppendInt(name, stamp.process);
  name += u".txt";
  return name;
}

Text RestartCommandLine(const RestartRequest& request) {
  // A Windows path holds no quotes, so quoting is enough.
  Text line = kRestoreSwitch;
  for (const Text* argument : {&request.journal, &request.folder}) {
    line += u" \"";
    line += *argument;
    line += u"\"";
  }
  return line;
}

std::optional<Text> RestartCommandLine(const RestartRequest& request, std::size_t longest) {
  for (const Text& folder : {request.folder, Text()}) {
    Text line = RestartCommandLine({request.journal, folder});
    if (line.size() <= longest) {
      return line;
    }
  }
  return std::nullopt;
}

std::optional<RestartRequest> ParseRestartCommandLine(TextView commandLine) {
  // At most three arguments are the program's; a fourth makes the line another's.
  Text arguments[4];
  std::size_t count = 0;
  for (std::size_t i = 0; i < commandLine.size() && count < std::size(arguments);) {
    if (IsAsciiSpace(commandLine[i])) {
      ++i;
      continue;
    }
    Text& argument = arguments[count++];
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !IsAsciiSpace(commandLine[i])); ++i) {
      if (commandLine[i] == u'"') {
        quoted = !quoted;
      } else {
        argument.push_back(commandLine[i]);
      }
    }
  }
  const auto isSwitch = [](const Text& argument) {
    return SameIgnoringAsciiCase(argument, kRestoreSwitch);
  };
  if (count == 1 && !isSwitch(arguments[0]) && !arguments[0].empty()) {
    return RestartRequest{arguments[0], Text(), true};
  }
  if (count < 2 || count > 3 || !isSwitch(arguments[0]) || arguments[1].empty()) {
    return std::nullopt;
  }
  return RestartRequest{arguments[1], arguments[2]};
}

}  // namespace tapecount
