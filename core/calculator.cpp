#include "core/calculator.h"

#include <new>

#include "core/amount.h"
#include "core/keys.h"

namespace tapecount {

namespace {

// The signs, in the order of Operation.
constexpr TextView kOperationSigns = u"+-*/";

double Compute(Operation operation, double entry, double old) {
  switch (operation) {
    case Operation::Subtract:
      return old - entry;
    case Operation::Multiply:
      return entry * old;
    case Operation::Divide:
      return old / entry;  // division by zero is carried on as an infinity or NaN
    case Operation::Add:
    default:
      return entry + old;
  }
}

// A positive total may only turn negative through an entry the user marked negative with the
// '-' key; otherwise the result is taken to be out of range. Only addition and
// multiplication are checked.
bool OutOfRange(const EntryRecord& record, double old, double total) {
  const bool checked =
      record.operation == Operation::Add || record.operation == Operation::Multiply;
  return checked && old > 0 && total < 0 && !record.negativeEntry;
}

// What the last-entry display and the input pane show for an entry.
Text LastEntryText(const EntryRecord& record, const Text& amount) {
  switch (record.operation) {
    case Operation::Multiply:
      return u"*" + amount;
    case Operation::Divide:
      return u"/" + amount;
    case Operation::Subtract:
      // Subtracting an entry typed as negative shows as a plain positive line.
      return record.negativeEntry ? amount.substr(1) : u"-" + amount;
    case Operation::Add:
    default:
      return amount;
  }
}

}  // namespace

char16_t SignOf(Operation operation) {
  return kOperationSigns[static_cast<std::size_t>(operation)];
}

std::optional<Operation> OperationOf(char16_t sign) {
  const std::size_t at = kOperationSigns.find(sign);
  if (at == TextView::npos) {
    return std::nullopt;
  }
  return static_cast<Operation>(at);
}

void AppendModeText(Text& out, char16_t pendingOperator) {
  out += u"「 ";
  out += pendingOperator;
  out += u" 」";
}

Calculator::Calculator(Display& display, const Release& release)
    : display_(display), release_(release) {}

void Calculator::Start() {
  if (!Reserve(state_.entryStack) || !Reserve(state_.totalStack)) {
    throw std::bad_alloc();
  }
  ResetStacks();
}

// A zero on each stack; the release without entry history keeps the running total alone.
// Nodes below are dropped: once the panes are back at their headers, undo never reaches
// them again.
void Calculator::ResetStacks() noexcept {
  Clear(state_.entryStack);
  Clear(state_.totalStack);
  Push(state_.totalStack, 0, display_);
  if (release_.keepsEntryHistory) {
    Push(state_.entryStack, 0, display_);
  }
  state_.records.clear();
  state_.records.shrink_to_fit();  // a day's records, let go of; kept if that needs memory
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
  const EntryRecord record{OperationFor(key), state_.negativeEntry, ParseAmount(entry)};
  std::optional<PreparedEntry> prepared = Prepare(record);
  if (!prepared) {
    display_.ShowMessage(kRangeErrorMessage);
    display_.SetLastEntryText(u"");
    display_.FocusEntry();
    return {KeyResult::Refused, std::nullopt};
  }
  return {KeyResult::Done, std::move(prepared)};
}

std::optional<PreparedEntry> Calculator::Prepare(const EntryRecord& record) {
  const double old = TopValue(state_.totalStack);
  const double total = Compute(record.operation, record.value, old);
  if (OutOfRange(record, old, total)) {
    return std::nullopt;
  }
  PreparedEntry prepared{
      record, total, {LastEntryText(record, FormatAmount(record.value)), FormatAmount(total)}};
  // Room for the entry, made before anything changes.
  if (release_.keepsEntryHistory && (!Reserve(state_.entryStack) || !Reserve(state_.totalStack))) {
    throw std::bad_alloc();
  }
  if (state_.records.size() == state_.records.capacity()) {
    state_.records.reserve(state_.records.size() * 2 + 16);
  }
  return prepared;
}

void Calculator::ResetForNextEntry() noexcept {
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
Operation Calculator::OperationFor(KeyGroup key) const {
  switch (key) {
    case KeyGroup::Minus:
      return Operation::Subtract;
    case KeyGroup::Multiply:
      return Operation::Multiply;
    case KeyGroup::Divide:
      return Operation::Divide;
    default: {
      // A pending '-' is carried by the entry's own sign.
      const Operation pending = OperationOf(state_.pendingOperator).value_or(Operation::Add);
      return pending == Operation::Subtract ? Operation::Add : pending;
    }
  }
}

// The entry and the new total go on the stacks (room was made); the release without entry
// history keeps the running total alone.
void Calculator::Record(const PreparedEntry& entry) noexcept {
  if (release_.keepsEntryHistory) {
    Push(state_.entryStack, entry.record.value, display_);
    Push(state_.totalStack, entry.total, display_);
  } else {
    SetTopValue(state_.totalStack, entry.total);
  }
  state_.records.push_back(entry.record);  // room was made
}

void Calculator::Show(const AppliedEntry& lines) noexcept {
  display_.SetLastEntryText(lines.entryLine);
  display_.SetTotalText(lines.totalLine);
}

// The last-entry display shows the bare amount of the entry now on top, without its sign.
TakeBackTexts Calculator::PrepareTakeBack() const {
  return {FormatAmount(BelowTop(state_.entryStack)), FormatAmount(BelowTop(state_.totalStack))};
}

void Calculator::TakeBackLastEntry(const TakeBackTexts& texts) noexcept {
  Pop(state_.entryStack, display_);
  display_.SetLastEntryText(texts.lastEntry);
  Pop(state_.totalStack, display_);
  display_.SetTotalText(texts.total);
  if (!state_.records.empty()) {
    state_.records.pop_back();
  }
}

void Calculator::Reset() noexcept {
  display_.SetEntryText(u"");
  display_.SetLastEntryText(u"0");
  display_.SetTotalText(u"0");
  ResetStacks();
  state_.pendingOperator = u'+';
  state_.negativeEntry = false;
}

}  // namespace tapecount
