// The calculator: the keys that apply an entry to the running total, and the state they
// keep (the value stacks, the pending operator and the negative-entry flag).
#pragma once

#include "core/calc_view.h"
#include "core/release.h"
#include "core/value_stack.h"
#include "history/tape.h"

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

// The title's mode text for a pending operator: '+' gives "「 + 」".
Text ModeText(char16_t pendingOperator);

class Calculator {
 public:
  Calculator(CalcView& view, Tape& tape, const Release& release);
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // Window creation: 0 on both stacks, so neither is ever empty in normal use.
  void Start();
  // Every key-down of the entry box.
  KeyResult HandleEntryKey(int vk);
  void ResetForNextEntry();
  // Backspace on an empty entry box: the last entry leaves both stacks and both panes.
  void UndoLastEntry();
  // Delete: the history goes to the clipboard, then everything starts afresh.
  void ClearAll();

  const CalcState& State() const { return state_; }
  double Total() const { return TopValue(state_.totalStack); }

 private:
  enum class KeyGroup { None, Plus, Minus, Multiply, Divide, Decimal };
  enum class Operation { Add, Subtract, Multiply, Divide };

  static KeyGroup GroupOf(int vk);
  void SetPendingOperator(char16_t op);
  void ChooseOperator(KeyGroup key);
  KeyResult ApplyEntry(const Text& entry, KeyGroup key);
  Operation OperationFor(KeyGroup key) const;
  bool RecordEntry(double entry, double total);
  Text LastEntryText(Operation operation, const Text& amount) const;
  void ResetStacks();

  CalcView& view_;
  Tape& tape_;
  const Release& release_;
  CalcState state_;
};

}  // namespace tapecount
