#include "core/calculator.h"

#include "core/amount.h"
#include "core/keys.h"

namespace tapecount {

Text ModeText(char16_t pendingOperator) {
  return Text(u"「 ") + pendingOperator + u" 」";
}

Calculator::Calculator(CalcView& view, Tape& tape, const Release& release)
    : view_(view), tape_(tape), release_(release) {}

void Calculator::Start() {
  ResetStacks();
}

// A zero on each stack; the release without entry history keeps the running total alone.
// Nodes below are dropped: once the panes are back at their headers, undo never reaches
// them again.
void Calculator::ResetStacks() {
  Clear(state_.entryStack);
  Clear(state_.totalStack);
  Push(state_.totalStack, 0, view_);
  if (release_.keepsEntryHistory) {
    Push(state_.entryStack, 0, view_);
  }
}

Calculator::KeyGroup Calculator::GroupOf(int vk) {
  switch (vk) {
    case kVkReturn:
    case kVkAdd:
    case kVkOemPlus:
      return KeyGroup::Plus;
    case kVkSubtract:
    case kVkOemMinus:
      return KeyGroup::Minus;
    case kVkMultiply:
    case kVkOem1:
      return KeyGroup::Multiply;
    case kVkDivide:
    case kVkOem2:
      return KeyGroup::Divide;
    case kVkDecimal:
    case kVkOemPeriod:
      return KeyGroup::Decimal;
    default:
      return KeyGroup::None;
  }
}

KeyResult Calculator::HandleEntryKey(int vk) {
  const KeyGroup key = GroupOf(vk);
  if (key == KeyGroup::None) {
    return KeyResult::NotMine;
  }
  const Text entry = view_.EntryText();
  if (key == KeyGroup::Decimal) {
    if (entry.find(u'.') != Text::npos) {
      return KeyResult::Refused;
    }
    view_.SetEntryText(entry + u".");
    view_.FocusEntryAtEnd();
    return KeyResult::Done;
  }
  if (entry.empty()) {
    ChooseOperator(key);
    return KeyResult::Done;
  }
  return ApplyEntry(entry, key);
}

void Calculator::ResetForNextEntry() {
  view_.SetEntryText(u"");
  SetPendingOperator(u'+');
  state_.negativeEntry = false;
}

void Calculator::SetPendingOperator(char16_t op) {
  state_.pendingOperator = op;
  view_.SetModeText(ModeText(op));
}

// An operator key on an empty entry box.
void Calculator::ChooseOperator(KeyGroup key) {
  switch (key) {
    case KeyGroup::Minus:
      // After '*' or '/', the '-' makes the next factor or divisor negative instead.
      if (state_.pendingOperator != u'*' && state_.pendingOperator != u'/') {
        SetPendingOperator(u'-');
      }
      state_.negativeEntry = true;
      view_.SetEntryText(u"-");
      view_.FocusEntryAtEnd();
      break;
    case KeyGroup::Multiply:
      SetPendingOperator(u'*');
      break;
    case KeyGroup::Divide:
      SetPendingOperator(u'/');
      break;
    default:
      SetPendingOperator(u'+');
      break;
  }
}

// The minus, multiply and divide keys do their own operation; the plus keys (Enter among
// them) do the pending one.
Calculator::Operation Calculator::OperationFor(KeyGroup key) const {
  switch (key) {
    case KeyGroup::Minus:
      return Operation::Subtract;
    case KeyGroup::Multiply:
      return Operation::Multiply;
    case KeyGroup::Divide:
      return Operation::Divide;
    default:
      switch (state_.pendingOperator) {
        case u'*':
          return Operation::Multiply;
        case u'/':
          return Operation::Divide;
        default:
          return Operation::Add;  // a pending '-' is carried by the entry's own sign
      }
  }
}

KeyResult Calculator::ApplyEntry(const Text& entry, KeyGroup key) {
  const double x = ParseAmount(entry);
  const double old = TopValue(state_.totalStack);
  state_.savedTotal = old;

  const Operation operation = OperationFor(key);
  double total = 0;
  switch (operation) {
    case Operation::Add:
      total = x + old;
      break;
    case Operation::Subtract:
      total = old - x;
      break;
    case Operation::Multiply:
      total = x * old;
      break;
    case Operation::Divide:
      total = old / x;  // division by zero is carried on as an infinity or NaN
      break;
  }
  SetTopValue(state_.totalStack, total);

  // A positive total may only turn negative through an entry the user marked negative
  // with the '-' key; otherwise the result is taken to be out of range.
  const bool rangeChecked = operation == Operation::Add || operation == Operation::Multiply;
  if (rangeChecked && old > 0 && total < 0 && !state_.negativeEntry) {
    view_.ShowMessage(kRangeErrorMessage);
    SetTopValue(state_.totalStack, state_.savedTotal);
    view_.SetLastEntryText(u"");
    view_.FocusEntry();
    return KeyResult::Refused;
  }
  if (!RecordEntry(x, total)) {
    return KeyResult::Refused;
  }

  const Text lastEntry = LastEntryText(operation, FormatAmount(x));
  const Text totalText = FormatAmount(total);
  view_.SetLastEntryText(lastEntry);
  view_.SetTotalText(totalText);
  tape_.AppendHistoryLines(lastEntry, totalText);
  tape_.RefreshRowStatus();
  ResetForNextEntry();
  return KeyResult::Done;
}

// Pushes the entry and the new total, the node below the new top keeping the total before
// the entry. When memory runs out the entry is abandoned whole, so the stacks and the
// panes keep agreeing line for line.
bool Calculator::RecordEntry(double entry, double total) {
  if (!release_.keepsEntryHistory) {
    return true;  // the running total alone, already in place
  }
  if (!Push(state_.entryStack, entry, view_)) {
    SetTopValue(state_.totalStack, state_.savedTotal);
    return false;
  }
  if (!Push(state_.totalStack, total, view_)) {
    Pop(state_.entryStack, view_);
    SetTopValue(state_.totalStack, state_.savedTotal);
    return false;
  }
  state_.totalStack.top->next->value = state_.savedTotal;
  return true;
}

void Calculator::UndoLastEntry() {
  if (!view_.EntryText().empty()) {
    return;  // Backspace edits the entry instead
  }
  switch (tape_.TakeBackLastLine()) {
    case UndoOutcome::AtHeader:
      return;
    case UndoOutcome::Underflow:
      view_.ShowMessage(kStackUnderflowMessage);
      return;
    case UndoOutcome::Removed:
      break;
  }
  // The last-entry display shows the bare amount of the entry now on top, without its sign.
  Pop(state_.entryStack, view_);
  view_.SetLastEntryText(FormatAmount(TopOrZero(state_.entryStack)));
  Pop(state_.totalStack, view_);
  view_.SetTotalText(FormatAmount(TopOrZero(state_.totalStack)));
  tape_.ShrinkByOneRow();
}

void Calculator::ClearAll() {
  // Nothing is cleared that has not reached the clipboard.
  if (!view_.CopyToClipboard(tape_.ComposeHistoryText(release_.clipboardLayout))) {
    view_.ShowMessage(kClearRefusedMessage);
    return;
  }
  view_.SetStatusText(kTransferDoneStatus);
  view_.SetEntryText(u"");
  view_.SetLastEntryText(u"0");
  view_.SetTotalText(u"0");
  tape_.Reset();
  ResetStacks();
  SetPendingOperator(u'+');
  state_.negativeEntry = false;
  tape_.RestoreInitialSize();
  view_.FocusEntry();
}

Text Calculator::LastEntryText(Operation operation, const Text& amount) const {
  switch (operation) {
    case Operation::Multiply:
      return u"*" + amount;
    case Operation::Divide:
      return u"/" + amount;
    case Operation::Subtract:
      // Subtracting an entry typed as negative shows as a plain positive line.
      return state_.negativeEntry ? amount.substr(1) : u"-" + amount;
    case Operation::Add:
    default:
      return amount;
  }
}

}  // namespace tapecount
