// The session journal: the tape written to a file of the program's own when Windows ends the
// session while it runs, and replayed when it is started again with that file. The file also
// serves a person: UTF-8 text with a byte-order mark and CR LF lines that opens in Notepad
// with the tape's two columns as the clipboard holds them, the exact values beside them.
//
//   テプカン: Windows の終了時に残したテープ (tapecount-tape 1)
//   入力履歴<TAB>合計履歴
//   100<TAB>100<TAB><TAB>+ 100        each entry: its row, two TABs, then the operation, 'n'
//   -5<TAB>95<TAB><TAB>+n -5          for a negative entry, a space and the value (shortest
//   <TAB><TAB><TAB>pending *          form that reads back exactly); the pending operator;
//   <TAB><TAB><TAB>end                the terminator, which a truncated file lacks
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "shell/model/utf8.h"

namespace tapecount {

// What the first line ends with; another format, or none, is not the program's journal.
inline constexpr char16_t kJournalMark[] = u"(tapecount-tape 1)";
// A larger file is not the program's journal.
inline constexpr std::size_t kLargestJournal = std::size_t{256} << 20;

// When, and by which running copy, a journal is named: the local time and the process's id.
struct JournalStamp {
  int year, month, day, hour, minute, second;
  unsigned long process;
};
// "tape-20250131-093005-4242.txt": each running copy's own, in the order of their times.
Text JournalFileName(const JournalStamp& stamp);

struct JournalEntry {
  char16_t operation;  // '+', '-', '*' or '/': the operation applied (not the key)
  bool negativeEntry;  // the entry was started with the '-' key on an empty box
  double value;        // the entry's exact value
  Text row;            // the row as the clipboard holds it: entry line, separator, total line
};

struct Journal {
  std::vector<JournalEntry> entries;  // in order, oldest first
  char16_t pendingOperator = u'+';    // '+', '-', '*' or '/'
};

// A journal's bytes as they are written, piece by piece to `out`: it takes no memory of its
// own, so a tape can still be kept when memory has run out. A row holds no line break; a
// surrogate without its pair is written as U+FFFD. Every value, infinities and NaN included,
// reads back bit for bit (NaN as NaN).
class JournalWriter {
 public:
  // The byte-order mark and the two first lines.
  explicit JournalWriter(ByteSink& out);
  // One entry, its row given in pieces (entry line, separator, total line).
  void Entry(char16_t operation, bool negativeEntry, double value,
             std::initializer_list<TextView> row);
  // The pending operator and the terminator.
  void End(char16_t pendingOperator);

 private:
  ByteSink& out_;
};

// The file's bytes, as JournalWriter writes them.
std::string WriteJournal(const Journal& journal);

// The journal a file holds; nothing when the bytes are not a whole journal of this format
// (missing, damaged, truncated, foreign): then the program starts empty and leaves the file
// alone. The last line break, and one empty line after the terminator, may be missing or
// added (editors do both); anything else after it is not the program's.
std::optional<Journal> ReadJournal(std::string_view bytes);

// Whether a file's first bytes (a few hundred are enough) begin as a journal's: the mark and
// the first line. Only a whole file read by ReadJournal is a journal.
bool BeginsAsJournal(std::string_view head);

// How the program is started with a kept tape: again after the session's end, with the
// journal's file and the folder it ran in (where its settings file is; Windows adds the
// program's own name); or with the file alone, as Explorer starts a program with a file
// dropped on it.
struct RestartRequest {
  Text journal;
  Text folder;  // empty: the current folder
  // The file alone: a kept tape only if it reads as one, and then the program runs in its
  // own folder, where a double-click in Explorer runs it; any other file (or none by that
  // name) gives an ordinary start.
  bool dropped = false;
};
inline constexpr char16_t kRestoreSwitch[] = u"/restore";

// `/restore "<journal>" "<folder>"`.
Text RestartCommandLine(const RestartRequest& request);
// The same in at most `longest` units, as Windows keeps it: without the folder when the whole is
// longer (the tape comes back, with the settings of the folder Windows starts the program in);
// nothing when even that is too long.
std::optional<Text> RestartCommandLine(const RestartRequest& request, std::size_t longest);
// The request a command line (after the program's name) makes: `/restore` (any case) with
// the journal's file and, optionally, the folder; or one file alone (dropped). Each quoted or
// not. Nothing for any other command line, the empty one among them: an ordinary start.
std::optional<RestartRequest> ParseRestartCommandLine(TextView commandLine);

}  // namespace tapecount
