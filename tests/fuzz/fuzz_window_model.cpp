// Anything done to the main window, allocations failing anywhere: after each step the panes,
// hidden lines and the tape agree with the entries applied, and what is shown is what is held.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/check.h"
#include "support/failing_allocations.h"
#include "support/fake_window.h"

namespace {

using namespace tapecount;
using testing::FakeWindow;
using testing::TapeJournalOf;

struct Input {
  const uint8_t* data;
  size_t size, at = 0;
  unsigned Byte() { return at < size ? data[at++] : 0; }
  int Number(int below) { return static_cast<int>((Byte() << 8 | Byte()) % below); }
};

// The lines of the tape as the entries were applied: what the panes must hold.
struct Expected {
  std::vector<Text> entryLines{kInputHeader}, totalLines{kTotalHeader};
};

std::vector<Text> PaneLines(const Pane& pane) {
  std::vector<Text> lines;
  for (std::size_t i = 0; i < pane.LineCount(); ++i) {
    lines.emplace_back(pane.Line(i));
  }
  return lines;
}

void CheckAgreement(const FakeWindow& w, const Expected& expected) {
  const testing::AllocationsAllowed allowed;
  const Pane& in = w.GetTape().InputPane();
  const Pane& total = w.GetTape().TotalPane();
  CHECK(in.DisplayedCount() == total.DisplayedCount());
  CHECK(in.HiddenCount() == total.HiddenCount());
  CHECK(PaneLines(in) == expected.entryLines);
  CHECK(PaneLines(total) == expected.totalLines);
  CHECK(w.display.inputPane == in.Displayed().View());
  CHECK(w.display.totalPane == total.Displayed().View());
  // The total shown is the last line's, after an undo too, which takes it off the stacks.
  const bool empty = expected.entryLines.size() == 1;
  CHECK(w.display.totalText == (empty ? Text(u"0") : expected.totalLines.back()));
  // One row a line: no line holds a line break.
  const Text history = w.GetTape().ComposeHistoryText(u"\t");
  CHECK(static_cast<std::size_t>(std::count(history.begin(), history.end(), u'\n')) ==
        in.LineCount());
}

void Step(FakeWindow& w, Input& input) {
  static const int kEntryKeys[] = {kVkReturn,   kVkAdd,      kVkOemPlus,  kVkSubtract,
                                   kVkOemMinus, kVkMultiply, kVkOem1,     kVkDivide,
                                   kVkOem2,     kVkDecimal,  kVkOemPeriod};
  static const int kShortcuts[] = {kVkBack, kVkDelete, kVkPrior,  kVkNext, kVkUp,
                                   kVkDown, kVkLeft,   kVkRight,  kVkF1,   kVkF2,
                                   kVkF3,   kVkF4,     kVkReturn, 'A'};
  const unsigned kind = input.Byte() % 14;
  if (kind < 3) {  // a digit, as the edit control takes it
    const testing::AllocationsAllowed allowed;
    w.display.entry += static_cast<char16_t>(u'0' + input.Byte() % 10);
  } else if (kind < 5) {
    w.Key(kEntryKeys[input.Byte() % std::size(kEntryKeys)]);
  } else if (kind < 7) {  // from the entry box or from the main window
    const int vk = kShortcuts[input.Byte() % std::size(kShortcuts)];
    if (kind == 5) {
      w.Key(vk);
    } else {
      w.model.ShortcutKey(vk);
    }
  } else if (kind == 7) {
    w.display.clipboardBusy = input.Byte() % 2 != 0;
    w.model.TransferHistory();
  } else if (kind == 8) {
    w.Resize(200 + input.Number(400), input.Number(1200));
  } else if (kind == 9) {  // a move: the check reports some room below, perhaps none
    w.screenRowLimit = input.Number(60) - 10;
    w.Move();
  } else if (kind == 10) {
    w.model.MouseButton(input.Byte() % 2 != 0);
  } else if (kind == 11) {
    const unsigned x = input.Byte() << 8 | input.Byte(), y = input.Byte() << 8 | input.Byte();
    w.model.PointerMoved({x, y, 108, 100, {100, 50, 375, 347}});
  } else if (kind == 12) {  // a fade's step or end, of the current session or an older one
    const Fade fade = input.Byte() % 2 != 0 ? Fade::In : Fade::Out;
    const unsigned session = w.display.fadeSession - input.Byte() % 2;
    const unsigned step = input.Byte() % 50;
    if (input.Byte() % 4 == 0) {
      w.model.FadeEnded(fade, session);
    } else {
      w.model.FadeStep(fade, session, static_cast<int>(step));
    }
  } else {  // a screen-row result, perhaps of a check long gone
    w.model.ScreenRowLimitComputed(input.Number(80) - 20, input.Byte());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, size};
  const unsigned first = input.Byte();
  const Release& release = first % 2 != 0 ? kRelease127 : kRelease134;
  const StoredModes stored{
      {(first & 2) != 0, (first & 4) != 0, (first & 8) != 0, (first & 16) != 0}, false};
  FakeWindow w(release, stored);
  Expected expected;
  CheckAgreement(w, expected);
  while (input.at < input.size) {
    const std::size_t lines = w.GetTape().InputPane().LineCount();
    // Now and then the next step runs out of memory at one of its allocations.
    const unsigned failing = input.Byte() % 8 == 0 ? 1 + input.Byte() % 16 : 0;
    testing::FailAllocations(failing);
    Step(w, input);
    testing::FailAllocations(0);
    const testing::AllocationsAllowed allowed;
    const std::size_t now = w.GetTape().InputPane().LineCount();
    if (now == lines + 1) {  // an entry applied: its lines are the displays' texts
      expected.entryLines.push_back(w.display.lastEntry);
      expected.totalLines.push_back(w.display.totalText);
    } else if (now + 1 == lines && now > 1) {  // undone
      expected.entryLines.pop_back();
      expected.totalLines.pop_back();
    } else if (now == 1 && lines > 1) {  // cleared, or the last entry undone
      expected = {};
    }
    CHECK(now == expected.entryLines.size());
    CheckAgreement(w, expected);
  }
  // The journal's records give the same lines again.
  const testing::AllocationsAllowed allowed;
  FakeWindow replayed(release);
  CHECK(replayed.model.RestoreTape(TapeJournalOf(w.model)));
  CHECK(PaneLines(replayed.GetTape().InputPane()) == expected.entryLines);
  CHECK(PaneLines(replayed.GetTape().TotalPane()) == expected.totalLines);
  return 0;
}
