// The calculator: the keys that apply an entry to the running total, and the state they
// keep (the value stacks, the pending operator and the negative-entry flag). It shows the
// entry box and the two displays; what an applied entry adds to the paper tape is left to
// its caller.
#pragma once

#include <optional>
#include <vector>

#include "core/display.h"
#include "core/release.h"
#include "core/text.h"
#include "core/value_stack.h"

namespace tapecount {

enum class Operation { Add, Subtract, Multiply, Divide };

// Each operation's sign, as the title and the journal show it: '+', '-', '*' or '/'.
char16_t SignOf(Operation operation);
// The operation a sign stands for; nothing for any other character.
std::optional<Operation> OperationOf(char16_t sign);

// What each applied entry was: enough to apply it again exactly.
struct EntryRecord {
  Operation operation;
  bool negativeEntry;  // started with '-' on an empty box
  double value;
};

struct CalcState {
  // Above a 0: with entry history, every applied entry and the total after each; without, the
  // running total alone. The total stack's top is the current total.
  ValueStack entryStack;
  ValueStack totalStack;
  std::vector<EntryRecord> records;  // every applied entry not taken back, in order
  char16_t pendingOperator = u'+';
  bool negativeEntry = false;  // '-' started the entry on an empty box
};

enum class KeyResult {
  Refused,  // one of the calculator's keys, consumed without effect
  Done,     // one of the calculator's keys, acted on
  NotMine,  // for the shortcut keys
};

// The texts an applied entry puts in the last-entry and total displays: the lines it adds to
// the two history panes.
struct AppliedEntry {
  Text entryLine;
  Text totalLine;
};

// An entry made ready to apply: every text it shows computed and room for it on the stacks
// made, nothing changed yet. So when memory runs out, it runs out before anything changes.
struct PreparedEntry {
  EntryRecord record;
  double total;
  AppliedEntry lines;
};

struct KeyOutcome {
  KeyResult result;
  // An entry the key applies: the caller makes room for its lines, then records and shows it.
  std::optional<PreparedEntry> entry;
};

// Undo's texts for the displays, made ready before anything is taken back.
struct TakeBackTexts {
  Text lastEntry;
  Text total;
};

// Writes the title's mode text for a pending operator into `out` ('+' gives "「 + 」"); `out`
// keeps its room, so no allocation once it has some.
void AppendModeText(Text& out, char16_t pendingOperator);

class Calculator {
 public:
  Calculator(Display& display, const Release& release);
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // Window creation: a 0 on each stack the release keeps, so none is ever empty in use. Throws
  // std::bad_alloc when there is no memory for them.
  void Start();
  // Every key-down of the entry box. Nothing is applied here: an operator key with an entry
  // gives the entry made ready, or refuses it saying why. Throws std::bad_alloc, having
  // changed nothing, when memory runs out.
  KeyOutcome HandleEntryKey(int vk);
  // The same for an entry applied before, given as its record (a replay): nothing, and
  // nothing said, when the range check refuses it.
  std::optional<PreparedEntry> Prepare(const EntryRecord& record);
  // Applies a prepared entry: onto the stacks (Record), and into the displays (Show), which a
  // replay does for its last entry alone. Neither can fail.
  void Record(const PreparedEntry& entry) noexcept;
  void Show(const AppliedEntry& lines) noexcept;
  void ResetForNextEntry() noexcept;
  // Undo's share, once the tape has given back its last line: the last entry leaves both
  // stacks, and the displays show the entry and total now on top.
  TakeBackTexts PrepareTakeBack() const;
  void TakeBackLastEntry(const TakeBackTexts& texts) noexcept;
  // Clear-all's share: empty entry box, both displays "0", the stacks back to their zeros.
  // Needs no memory: the stacks keep a block for their zeros.
  void Reset() noexcept;
  // The pending operator a replayed tape ends with; the negative-entry flag stays clear, as
  // after any applied entry.
  void SetPending(char16_t pendingOperator) noexcept { state_.pendingOperator = pendingOperator; }

  const CalcState& State() const { return state_; }
  double Total() const { return TopValue(state_.totalStack); }

 private:
  enum class KeyGroup { None, Plus, Minus, Multiply, Divide, Decimal };

  static KeyGroup GroupOf(int vk);
  void ChooseOperator(KeyGroup key);
  Operation OperationFor(KeyGroup key) const;
  void ResetStacks() noexcept;

  Display& display_;
  const Release& release_;
  CalcState state_;
};

}  // namespace tapecount
