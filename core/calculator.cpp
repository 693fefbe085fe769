#include "core/calculator.h"

#include "core/amount.h"
#include "core/keys.h"

namespace tapecount {

Text ModeText(char16_t pendingOperator) {
  return Text(u"「 ") + pendingOperator + u" 」";
}

Calculator::Calculator(Display& display, const Release& release)
    : display_(display), release_(release) {}

void Calculator::Start() {
  ResetStacks();
}

// A zero on each stack; the release without entry history keeps the running total alone.
// Nodes below are dropped: once the panes are back at their headers, undo never reaches
// them again.
void Calculator::ResetStacks() {
  Clear(state_.entryStack);
  Clear(state_.totalStack);
  Push(state_.totalStack, 0, display_);
  if (release_.keepsEntryHistory) {
    Push(state_.entryStack, 0, display_);
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

KeyOutcome Calculator::HandleEntryKey(int vk) {
  const KeyGroup key = GroupOf(vk);
  if (key == KeyGroup::None) {
    return {KeyResult::NotMine, std::nullopt};
  }
  const Text entry = display_.EntryText();
  if (key == KeyGroup::Decimal) {
    if (entry.find(u'.') != Text::npos) {
      return {KeyResult::Refused, std::nullopt};
    }
    display_.SetEntryText(entry + u".");
    display_.FocusEntryAtEnd();
    return {KeyResult::Done, std::nullopt};
  }
  if (entry.empty()) {
    ChooseOperator(key);
    return {KeyResult::Done, std::nullopt};
  }
  return ApplyEntry(entry, key);
}

void Calculator::ResetForNextEntry() {
  display_.SetEntryText(u"");
  state_.pendingOperator = u'+';
  state_.negativeEntry = false;
}

// An operator key on an empty entry box.
void Calculator::ChooseOperator(KeyGroup key) {
  switch (key) {
    case KeyGroup::Minus:
      // After '*' or '/', the '-' makes the next factor or divisor negative instead.
      if (state_.pendingOperator != u'*' && state_.pendingOperator != u'/') {
        state_.pendingOperator = u'-';
      }
      state_.negativeEntry = true;
      display_.SetEntryText(u"-");
      display_.FocusEntryAtEnd();
      break;
    case KeyGroup::Multiply:
      state_.pendingOperator = u'*';
      break;
    case KeyGroup::Divide:
      state_.pendingOperator = u'/';
      break;
    default:
      state_.pendingOperator = u'+';
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

KeyOutcome Calculator::ApplyEntry(const Text& entry, KeyGroup key) {
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
    display_.ShowMessage(kRangeErrorMessage);
    SetTopValue(state_.totalStack, state_.savedTotal);
    display_.SetLastEntryText(u"");
    display_.FocusEntry();
    return {KeyResult::Refused, std::nullopt};
  }
  if (!RecordEntry(x, total)) {
    return {KeyResult::Refused, std::nullopt};
  }

  AppliedEntry applied{LastEntryText(operation, FormatAmount(x)), FormatAmount(total)};
  display_.SetLastEntryText(applied.entryLine);
  display_.SetTotalText(applied.totalLine);
  return {KeyResult::Done, std::move(applied)};
}

// Pushes the entry and the new total, the node below the new top keeping the total before
// the entry. When memory runs out the entry is abandoned whole, so the stacks and the
// panes keep agreeing line for line.
bool Calculator::RecordEntry(double entry, double total) {
  if (!release_.keepsEntryHistory) {
    return true;  // the running total alone, already in place
  }
  if (!Push(state_.entryStack, entry, display_)) {
    SetTopValue(state_.totalStack, state_.savedTotal);
    return false;
  }
  if (!Push(state_.totalStack, total, display_)) {
    Pop(state_.entryStack, display_);
    SetTopValue(state_.totalStack, state_.savedTotal);
    return false;
  }
  state_.totalStack.top->next->value = state_.savedTotal;
  return true;
}

void Calculator::TakeBackLastEntry() {
  // The last-entry display shows the bare amount of the entry now on top, without its sign.
  Pop(state_.entryStack, display_);
  display_.SetLastEntryText(FormatAmount(TopOrZero(state_.entryStack)));
  Pop(state_.totalStack, display_);
  display_.SetTotalText(FormatAmount(TopOrZero(state_.totalStack)));
}

void Calculator::Reset() {
  display_.SetEntryText(u"");
  display_.SetLastEntryText(u"0");
  display_.SetTotalText(u"0");
  ResetStacks();
  state_.pendingOperator = u'+';
  state_.negativeEntry = false;
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
