// Random keys into the real window and into the model with the fake: the same after each.
#include <windows.h>

#include <cstdlib>
#include <random>
#include <string>

#include "core/keys.h"
#include "support/fake_window.h"
#include "wide.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

// Digits and keys half and half: operator keys, Backspace, Delete, size keys, F1, F2.
constexpr int kKeys[] = {kVkReturn, kVkAdd,    kVkOemPlus, kVkSubtract, kVkOemMinus,  kVkMultiply,
                         kVkOem1,   kVkDivide, kVkOem2,    kVkDecimal,  kVkOemPeriod, kVkBack,
                         kVkBack,   kVkBack,   kVkDelete,  kVkPrior,    kVkNext,      kVkUp,
                         kVkDown,   kVkLeft,   kVkRight,   kVkF1,       kVkF2};

class Differential : public ReleaseTest {
 protected:
  // A fresh real window and the model take the seed's actions, compared after each until they
  // differ.
  void Run(unsigned seed, int steps) {
    Open();
    MoveTo(40, 20);
    Resize(5000, 5000);  // the largest outer size the window system allows, for the fake too
    const int maxHeight = Height(), maxWidth = Width();
    Resize(275, 297);
    WaitForScreenRowChecks();
    FakeWindow fake(release());
    fake.display.maxHeight = maxHeight;
    fake.screenRowLimit = model().ScreenRowLimit();
    const FakeDisplay& f = fake.display;
    DialogWatcher boxes;
    std::mt19937 random(seed);
    for (int step = 0; step < steps && !HasFailure(); ++step) {
      const int a =
          random() % 2 ? static_cast<int>('0' + random() % 10) : kKeys[random() % std::size(kKeys)];
      if (a == kVkRight && Width() + 10 > maxWidth) {
        continue;  // the window is as wide as it can be
      }
      const std::size_t entryLength = EntryText().size();
      if (a >= '0' && a <= '9') {  // a digit typed as its character, a key pressed as its key
        SendMessageW(windows().entry, WM_CHAR, static_cast<WPARAM>(a), 1);
        // Without automatic scrolling the edit control takes digits only while they fit its
        // width, which its font decides: the fake takes the digits it took.
        if (EntryText().size() > entryLength) {
          fake.display.entry += static_cast<char16_t>(a);
        }
      } else {
        PressInEntry(a);
        fake.Key(a);
      }
      if (a == kVkBack) {
        SendMessageW(windows().entry, WM_CHAR, VK_BACK, 1);  // the edit control's own deletion
        if (!fake.display.entry.empty()) {
          fake.display.entry.pop_back();
        }
      }
      WaitForScreenRowChecks();
      const std::string at = "seed " + std::to_string(seed) + ", step " + std::to_string(step) +
                             " (TAPECOUNT_DIFF_FIRST_SEED=" + std::to_string(seed) +
                             " TAPECOUNT_DIFF_SEEDS=1 runs it alone)";
      EXPECT_EQ(EntryText(), Wide(f.entry)) << "entry text, " << at;
      EXPECT_EQ(ReadWindowText(windows().lastEntry), Wide(f.lastEntry)) << "last entry, " << at;
      EXPECT_EQ(ReadWindowText(windows().total), Wide(f.totalText)) << "total, " << at;
      EXPECT_EQ(InputPane(), Wide(f.inputPane)) << "input pane, " << at;
      EXPECT_EQ(ReadWindowText(windows().totalPane), Wide(f.totalPane)) << "total pane, " << at;
      EXPECT_EQ(Title(), Wide(f.title)) << "title, " << at;
      EXPECT_EQ(Height(), f.size.height) << "height, " << at;
      EXPECT_EQ(boxes.Seen().size(), f.messages.size()) << "message boxes, " << at;
    }
    Close();
  }
};
TAPECOUNT_BOTH_RELEASES(Differential);

TEST_P(Differential, RealWindowAndModelAgreeAfterEveryKey) {
  const auto number = [](const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
  };
  const unsigned seeds = number("TAPECOUNT_DIFF_SEEDS", 6),
                 first = number("TAPECOUNT_DIFF_FIRST_SEED", 1);
  for (unsigned seed = first; seed < first + seeds; ++seed) {
    Run(seed, static_cast<int>(number("TAPECOUNT_DIFF_STEPS", 500)));
  }
}

}  // namespace
}  // namespace tapecount::testing
