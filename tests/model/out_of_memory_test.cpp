// Each operation with memory running out at its 1st, 2nd, ... allocation: the window as before,
// or as after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>

#include "shell/model/utf8.h"
#include "support/failing_allocations.h"
#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FailAllocations;
using testing::FakeWindow;
using testing::TapeJournalOf;

// Everything the user can see or the program keeps (the tape's records, as its journal), as
// one readable text.
std::string Snap(const FakeWindow& w) {
  const testing::AllocationsAllowed allowed;
  const testing::FakeDisplay& d = w.display;
  const Tape& tape = w.GetTape();
  std::ostringstream out;
  for (const Text& text : {d.entry, d.lastEntry, d.totalText, d.inputPane, d.totalPane, d.title,
                           d.status, d.clipboard, w.store.file, tape.ComposeHistoryText(u"|")}) {
    out << '[' << EncodeUtf8(text) << "] ";
  }
  out << WriteJournal(TapeJournalOf(w.model));
  for (const auto& [item, state] : d.items) {
    out << static_cast<int>(state);
  }
  out << ' ' << d.size.width << 'x' << d.size.height << " alpha " << d.alpha << " band "
      << d.topmostBand << " modes " << testing::Flags(w.model.ModesToSave()) << " dirty "
      << w.model.SettingsDirty() << " rows " << tape.DisplayedRowCount() << '/'
      << tape.RowCapacity() << " hidden " << tape.InputPane().HiddenCount() << " messages "
      << d.messages.size();
  return out.str();
}

using Action = std::function<void(FakeWindow&)>;

struct Operation {
  std::string name;
  Action setUp, run;
  const Release* release = &kRelease134;
  StoredModes modes = {};
};

// A tape whose headers have scrolled out.
const std::string kTape = "100\n25-*3\n7\n8\n9\n10\n";

// `keys` typed after the tape: the last of them is the operation.
Operation Typed(const std::string& keys, const Release& release = kRelease134,
                StoredModes modes = {}) {
  const std::string first = kTape + keys.substr(0, keys.size() - 1),
                    last = keys.substr(keys.size() - 1);
  return {keys, [=](FakeWindow& w) { w.Type(first); }, [=](FakeWindow& w) { w.Type(last); },
          &release, modes};
}

// The same, and still the same after an undo: the stacks agree too.
void ExpectSame(FakeWindow& w, FakeWindow& expected) {
  EXPECT_EQ(Snap(w), Snap(expected));
  for (FakeWindow* window : {&w, &expected}) {
    window->display.entry.clear();
    window->Type("B");
  }
  EXPECT_EQ(Snap(w), Snap(expected)) << "after an undo";
}

// `said`: what the user is told when memory ran out ("memory allocate error!" may stand in).
void ExpectWholeOrUndone(const Operation& op, const Message* said = &kMemoryErrorMessage) {
  for (std::size_t nth = 1;; ++nth) {
    SCOPED_TRACE(::testing::Message() << op.name << ", allocation " << nth << " failing");
    FakeWindow before(*op.release, op.modes), after(*op.release, op.modes),
        w(*op.release, op.modes);
    for (FakeWindow* window : {&before, &after, &w}) {
      op.setUp(*window);
    }
    op.run(after);
    FailAllocations(nth, SIZE_MAX);  // memory, once out, stays out
    op.run(w);
    const bool failed = testing::AllocationFailed();
    FailAllocations(0);
    if (!failed) {
      ExpectSame(w, after);
      return;
    }
    if (Snap(w) == Snap(after)) {
      continue;  // an allocation it could do without, such as letting go of memory
    }
    if (said != nullptr) {
      ASSERT_EQ(w.display.messages.size(), before.display.messages.size() + 1);
      EXPECT_THAT(w.display.messages.back(), ::testing::AnyOf(*said, kMemoryErrorMessage));
      w.display.messages.pop_back();
    }
    ExpectSame(w, before);
  }
}

TEST(OutOfMemory, EveryOperationRunsWholeOrNotAtAll) {
  const Action tape = [](FakeWindow& w) { w.Type(kTape); };
  const auto key = [](int vk) { return [=](FakeWindow& w) { w.Key(vk); }; };
  // The last key typed is the operation; the last keys overfill the panes (16 lines).
  for (const char* keys : {"1234.5\n", "123456789012345678.25\n", "5+", "5-", "5*", "5/", "-5\n",
                           "12.", "-", "*", "B", "12D", "1\n2\n3\n4\n5\n6\n7\n8\n"}) {
    ExpectWholeOrUndone(Typed(keys));
  }
  const Operation operations[] = {
      Typed("11\n", kRelease134, {{true}}),  // auto-expand: the window grows
      Typed("11\n", kRelease127),
      Typed("D", kRelease127),
      {"the first entry", [](FakeWindow& w) { w.Type("5"); }, key(kVkReturn)},
      {"a range error", tape,
       [](FakeWindow& w) {
         w.display.entry = u"-300";  // pasted: 259 would turn negative
         w.Key(kVkReturn);
       }},
      {"a resize that hides lines", tape, [](FakeWindow& w) { w.Resize(275, 240); }},
      {"a resize that restores lines", tape, [](FakeWindow& w) { w.Resize(300, 500); }},
      {"a transfer", tape, [](FakeWindow& w) { w.model.TransferHistory(); }},
      {"the entry that needs the stacks' second block",
       [](FakeWindow& w) {
         w.EnterNumbers(1, 63);
         w.Type("1");
       },
       key(kVkReturn)},
  };
  for (const Operation& op : operations) {
    ExpectWholeOrUndone(op);
  }
  for (int vk : {kVkNext, kVkF1, kVkF2, kVkF3, kVkF4}) {  // Page Down, the modes
    ExpectWholeOrUndone({"key " + std::to_string(vk), tape, key(vk)});
  }
}

// A window with no memory for its first stack blocks is not made.
TEST(OutOfMemory, AWindowWithoutMemoryIsNotMade) {
  testing::FakeDisplay display;
  WindowModel model(display, kRelease134);
  FailAllocations(1);
  EXPECT_FALSE(model.Created());
  FailAllocations(0);
  EXPECT_TRUE(model.Created());
}

// A save that runs out of memory is a save that failed: it says so, and changes nothing.
TEST(OutOfMemory, ASaveWithoutMemorySaysItDidNotSave) {
  const auto unsaved = [](FakeWindow& w) { w.Key(kVkF1); };
  const Text text = SettingsNotSavedText(FakeWindow().store.Location());
  const Message notSaved = SettingsNotSavedMessage(text);
  ExpectWholeOrUndone({"a save", unsaved, [](FakeWindow& w) { w.model.SaveSettings(w.store); }},
                      &notSaved);
  ExpectWholeOrUndone(
      {"the guard", unsaved, [](FakeWindow& w) { w.model.ToggleSingleInstance(w.store); }},
      &notSaved);
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

// A replayed tape comes back whole, or the window starts empty and says memory ran out.
TEST(OutOfMemory, ATapeReplayedWithoutMemoryLeavesTheWindowEmpty) {
  FakeWindow typed;
  typed.EnterNumbers(1, 64);  // past the first room made for the stacks, records and panes
  typed.Type(kTape + "123456789012345678\n-");
  const Journal journal = TapeJournalOf(typed.model);
  ExpectWholeOrUndone({"a replay", [](FakeWindow&) {},
                       [&](FakeWindow& w) {
                         if (!w.model.RestoreTape(journal)) {
                           EXPECT_TRUE(testing::AllocationFailed());  // only for want of memory
                         }
                       }});
}

}  // namespace
}  // namespace tapecount
