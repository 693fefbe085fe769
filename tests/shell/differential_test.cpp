// Random keys into the real window and into the model with the fake: the same after each.
#include <windows.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/keys.h"
#include "support/fake_window.h"
#include "wide.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

// Digits and keys half and half: operator keys, Backspace, Delete, size keys, F1, F2.
std::vector<int> RandomActions(unsigned seed, int steps) {
  static const int kKeys[] = {kVkReturn,    kVkAdd,  kVkOemPlus, kVkSubtract, kVkOemMinus,
                              kVkMultiply,  kVkOem1, kVkDivide,  kVkOem2,     kVkDecimal,
                              kVkOemPeriod, kVkBack, kVkBack,    kVkBack,     kVkDelete,
                              kVkPrior,     kVkNext, kVkUp,      kVkDown,     kVkLeft,
                              kVkRight,     kVkF1,   kVkF2};
  std::mt19937 random(seed);
  std::vector<int> actions;
  while (static_cast<int>(actions.size()) < steps) {
    actions.push_back(random() % 2 ? static_cast<int>('0' + random() % 10)
                                   : kKeys[random() % std::size(kKeys)]);
  }
  return actions;
}

class Differential : public ReleaseTest {
 protected:
  // "" when a fresh real window and model agree after every action, else the first difference.
  std::string Run(const std::vector<int>& actions) {
    Open();
    MoveTo(40, 20);
    Resize(5000, 5000);  // the largest outer size the window system allows, for the fake too
    const int maxHeight = Height(), maxWidth = Width();
    Resize(275, 297);
    WaitForScreenRowChecks();
    FakeWindow fake(release());
    fake.display.maxHeight = maxHeight;
    fake.screenRowLimit = model().ScreenRowLimit();
    std::string difference;
    DialogWatcher boxes;
    for (std::size_t step = 0; step < actions.size() && difference.empty(); ++step) {
      const int a = actions[step];
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
      const FakeDisplay& f = fake.display;
      const std::pair<const char*, bool> same[] = {
          {"entry text", EntryText() == Wide(f.entry)},
          {"last-entry display", ReadWindowText(windows().lastEntry) == Wide(f.lastEntry)},
          {"total display", ReadWindowText(windows().total) == Wide(f.totalText)},
          {"input pane", InputPane() == Wide(f.inputPane)},
          {"total pane", ReadWindowText(windows().totalPane) == Wide(f.totalPane)},
          {"title", Title() == Wide(f.title)},
          {"height", Height() == f.size.height},
          {"message boxes", boxes.Seen().size() == f.messages.size()}};
      for (auto [what, agree] : same) {
        if (!agree && difference.empty()) {
          difference = "step " + std::to_string(step) + ": " + what + " differs";
        }
      }
    }
    Close();
    return difference;
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
  const int steps = static_cast<int>(number("TAPECOUNT_DIFF_STEPS", 500));
  for (unsigned seed = first; seed < first + seeds; ++seed) {
    const std::string difference = Run(RandomActions(seed, steps));
    EXPECT_EQ(difference, "") << "seed " << seed << " (TAPECOUNT_DIFF_FIRST_SEED=" << seed
                              << " TAPECOUNT_DIFF_SEEDS=1 runs it alone)";
  }
}

}  // namespace
}  // namespace tapecount::testing
