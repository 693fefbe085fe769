// The calculator: the keys that apply an entry to the running total, and the state they
// keep (the value stacks, the pending operator and the negative-entry flag). It shows the
// entry box and the two displays; what an applied entry adds to the paper tape is left to
// its caller.
#pragma once

#include <optional>

#include "core/display.h"
#include "core/release.h"
#include "core/text.h"
#include "core/value_stack.h"

namespace tapecount {

struct CalcState {
  ValueStack entryStack;  // every applied entry, in order
  ValueStack totalStack;  // the total after every entry; the top is the current total
  char16_t pendingOperator = u'+';
  bool negativeEntry = false;  // '-' started the entry on an empty box
  double savedTotal = 0;       // the total before the entry now being applied
};

enum class KeyResult {
  Refused,  // one of the calculator's keys, consumed without effect
  Done,     // one of the calculator's keys, acted on
  NotMine,  // for the shortcut keys
};

// The texts an applied entry has just put in the last-entry and total displays: the lines
// it adds to the two history panes.
struct AppliedEntry {
  Text entryLine;
  Text totalLine;
};

struct KeyOutcome {
  KeyResult result;
  std::optional<AppliedEntry> applied;
};

// The title's mode text for a pending operator: '+' gives "「 + 」".
Text ModeText(char16_t pendingOperator);

class Calculator {
 public:
  Calculator(Display& display, const Release& release);
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // Window creation: 0 on both stacks, so neither is ever empty in normal use.
  void Start();
  // Every key-down of the entry box. After an applied entry the caller puts its lines on
  // the tape, then calls ResetForNextEntry.
  KeyOutcome HandleEntryKey(int vk);
  void ResetForNextEntry();
  // Undo's share, once the tape has given back its last line: the last entry leaves both
  // stacks, and the displays show the entry and total now on top.
  void TakeBackLastEntry();
  // Clear-all's share: empty entry box, both displays "0", the stacks back to their zeros.
  void Reset();

  const CalcState& State() const { return state_; }
  double Total() const { return TopValue(state_.totalStack); }

 private:
  enum class KeyGroup { None, Plus, Minus, Multiply, Divide, Decimal };
  enum class Operation { Add, Subtract, Multiply, Divide };

  static KeyGroup GroupOf(int vk);
  void ChooseOperator(KeyGroup key);
  KeyOutcome ApplyEntry(const Text& entry, KeyGroup key);
  Operation OperationFor(KeyGroup key) const;
  bool RecordEntry(double entry, double total);
  Text LastEntryText(Operation operation, const Text& amount) const;
  void ResetStacks();

  Display& display_;
  const Release& release_;
  CalcState state_;
};

}  // namespace tapecount
