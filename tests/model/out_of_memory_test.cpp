// Every operation the user can do, run again and again with the 1st, 2nd, 3rd... allocation
// failing until it completes: after each failure the window is exactly as before it, with
// "memory allocate error!" said, or exactly as after it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "core/amount.h"
#include "support/failing_allocations.h"
#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::AllocationsAllowed;
using ::testing::AnyOf;
using ::testing::Eq;
using testing::FailAllocations;
using testing::FakeWindow;

std::vector<double> Values(const ValueStack& stack) {
  std::vector<double> values;
  for (const ValueNode* node = stack.top; node != nullptr; node = node->next) {
    values.push_back(node->value);
  }
  return values;
}

// Everything the user can see or the program keeps.
struct State {
  std::vector<Text> texts;
  std::vector<double> entries, totals;
  std::vector<int> numbers;
  std::map<MenuItem, ItemState> items;

  bool operator==(const State& o) const {
    return texts == o.texts && entries == o.entries && totals == o.totals && numbers == o.numbers &&
           items == o.items;
  }
};

State Snap(const FakeWindow& w) {
  const AllocationsAllowed allowed;
  const testing::FakeDisplay& d = w.display;
  const CalcState& c = w.State();
  const ModeFlags& m = w.model.Modes();
  const Tape& tape = w.GetTape();
  return {{d.entry, d.lastEntry, d.totalText, d.inputPane, d.totalPane, d.title, d.status,
           d.clipboard, w.store.file, tape.ComposeHistoryText(u"|"), FormatAmount(w.Total())},
          Values(c.entryStack),
          Values(c.totalStack),
          {d.size.width, d.size.height, d.alpha, d.topmostBand, m.autoExpand, m.autoMode, m.topmost,
           m.transparent, w.model.SettingsDirty(), w.model.SingleInstance(), c.pendingOperator,
           c.negativeEntry, tape.DisplayedRowCount(), tape.RowCapacity(),
           static_cast<int>(tape.InputPane().HiddenCount()),
           static_cast<int>(tape.TotalPane().HiddenCount()), static_cast<int>(c.records.size()),
           static_cast<int>(d.messages.size())},
          d.items};
}

std::string Describe(const State& s) {
  std::ostringstream out;
  for (const Text& text : s.texts) {
    out << '[' << std::string(text.begin(), text.end()) << "] ";
  }
  for (int n : s.numbers) {
    out << n << ' ';
  }
  return out.str();
}

struct Operation {
  const char* name;
  std::function<void(FakeWindow&)> setUp;
  std::function<void(FakeWindow&)> run;
  const Release* release = &kRelease134;
  StoredModes modes = {};
};

// `said`: what the user is told when the operation ran out of memory; "memory allocate
// error!" stands in for it when there is no memory for that either.
void ExpectWholeOrUndone(const Operation& op, const Message& said) {
  for (std::size_t nth = 1;; ++nth) {
    SCOPED_TRACE(::testing::Message() << op.name << ", allocation " << nth << " failing");
    FakeWindow before(*op.release, op.modes), after(*op.release, op.modes),
        w(*op.release, op.modes);
    for (FakeWindow* window : {&before, &after, &w}) {
      op.setUp(*window);
    }
    op.run(after);
    FailAllocations(nth);
    op.run(w);
    const bool failed = testing::AllocationFailed();
    FailAllocations(0);
    const State got = Snap(w);
    if (!failed) {
      EXPECT_EQ(got, Snap(after)) << Describe(got) << "\n" << Describe(Snap(after));
      return;
    }
    if (got == Snap(after)) {
      continue;  // an allocation it could do without, such as letting go of memory
    }
    ASSERT_EQ(w.display.messages.size(), before.display.messages.size() + 1);
    EXPECT_THAT(w.display.messages.back(), AnyOf(Eq(said), Eq(kMemoryErrorMessage)));
    w.display.messages.pop_back();
    EXPECT_EQ(Snap(w), Snap(before)) << Describe(Snap(w)) << "\n" << Describe(Snap(before));
  }
}

TEST(OutOfMemory, EveryOperationRunsWholeOrNotAtAll) {
  // The tape's headers scrolled out, and then `typed` waiting in the entry box.
  const auto after = [](const char* typed) {
    return [=](FakeWindow& w) { w.Type(std::string("100\n25-*3\n7\n8\n9\n10\n") + typed); };
  };
  const auto key = [](int vk) { return [=](FakeWindow& w) { w.Key(vk); }; };
  const auto shortcut = [](int vk) { return [=](FakeWindow& w) { w.model.ShortcutKey(vk); }; };
  const StoredModes autoExpand{{true}};
  const Operation operations[] = {
      {"Enter", after("1234.5"), key(kVkReturn)},
      {"Enter with a long amount", after("123456789012345678.25"), key(kVkReturn)},
      {"the first entry", [](FakeWindow& w) { w.Type("5"); }, key(kVkReturn)},
      {"plus", after("5"), key(kVkAdd)},
      {"minus", after("5"), key(kVkSubtract)},
      {"times", after("5"), key(kVkMultiply)},
      {"divide", after("5"), key(kVkDivide)},
      {"a negative entry", after("-5"), key(kVkReturn)},
      {"the point", after("12"), key(kVkDecimal)},
      {"minus on an empty box", after(""), key(kVkSubtract)},
      {"times on an empty box", after(""), key(kVkMultiply)},
      {"a range error", after(""),
       [](FakeWindow& w) {
         w.display.entry = u"-300";  // pasted: 259 would turn negative
         w.Key(kVkReturn);
       }},
      {"an entry that grows the window", after("11"), key(kVkReturn), &kRelease134, autoExpand},
      {"an entry in release 1.27", after("11"), key(kVkReturn), &kRelease127},
      {"undo", after(""), key(kVkBack)},
      {"clear-all", after("12"), key(kVkDelete)},
      {"clear-all in release 1.27", after(""), key(kVkDelete), &kRelease127},
      {"a resize that hides lines", after(""), [](FakeWindow& w) { w.Resize(275, 240); }},
      {"a resize that restores lines", after(""), [](FakeWindow& w) { w.Resize(300, 500); }},
      {"Page Down", after(""), shortcut(kVkNext)},
      {"F1", after(""), key(kVkF1)},
      {"F2", after(""), shortcut(kVkF2)},
      {"F3", after(""), key(kVkF3)},
      {"F4", after(""), shortcut(kVkF4)},
      {"a transfer", after(""), [](FakeWindow& w) { w.model.TransferHistory(); }},
  };
  for (const Operation& op : operations) {
    ExpectWholeOrUndone(op, kMemoryErrorMessage);
  }
}

// A save that runs out of memory is a save that failed: it says so, and changes nothing.
TEST(OutOfMemory, ASaveWithoutMemorySaysItDidNotSave) {
  const auto unsaved = [](FakeWindow& w) { w.Key(kVkF1); };
  const Text text = SettingsNotSavedText(FakeWindow().store.Location());
  const Message notSaved = SettingsNotSavedMessage(text);
  ExpectWholeOrUndone({"a save", unsaved, [](FakeWindow& w) { w.model.SaveSettings(w.store); }},
                      notSaved);
  ExpectWholeOrUndone(
      {"the guard", unsaved, [](FakeWindow& w) { w.model.ToggleSingleInstance(w.store); }},
      notSaved);
}

TEST(OutOfMemory, ASettingsFileThatCannotBeReadForMemoryReadsAsAllOff) {
  const std::string bytes = "[セッテイング]\r\nautoexpand=1\r\n透明化=1\r\n";
  const auto latin1 = [](std::string_view b) {
    return std::optional<Text>(Text(b.begin(), b.end()));
  };
  const Decoders decoders{latin1, latin1};
  for (std::size_t nth = 1;; ++nth) {
    FailAllocations(nth);
    const std::string modes = testing::Flags(ReadStoredModes(bytes, decoders));
    const bool failed = testing::AllocationFailed();
    FailAllocations(0);
    if (!failed) {
      EXPECT_EQ(modes, "10001");
      break;
    }
    EXPECT_EQ(modes, "00000") << nth;
  }
}

// A tape replayed at start-up comes back whole, or the window starts empty (and the file is
// left for another try).
TEST(OutOfMemory, ATapeReplayedWithoutMemoryLeavesTheWindowEmpty) {
  FakeWindow typed;
  typed.Type("100\n25-*3\n7\n8\n9\n10\n123456789012345678\n-");
  const Journal journal = typed.model.TapeJournal();
  const State empty = Snap(FakeWindow());
  for (std::size_t nth = 1;; ++nth) {
    SCOPED_TRACE(nth);
    FakeWindow w;
    FailAllocations(nth);
    const bool restored = w.model.RestoreTape(journal);
    const bool failed = testing::AllocationFailed();
    FailAllocations(0);
    if (!failed) {
      EXPECT_TRUE(restored);
      EXPECT_EQ(w.display.totalPane, typed.display.totalPane);
      break;
    }
    if (!restored) {
      EXPECT_EQ(Snap(w), empty) << Describe(Snap(w));
    }
  }
}

}  // namespace
}  // namespace tapecount
