// Random key sequences typed into the real window and replayed through the portable core
// with the fake window; after every step the two must show the same thing. A failing seed
// is shrunk to the shortest sequence that still fails, which the test prints.
#include <windows.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/keys.h"
#include "release_choice.h"
#include "support/fake_window.h"
#include "wide.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

enum class Kind { Digit, Key, Backspace, Delete, Size, ToggleAutoExpand, ToggleAutoMode };

struct Action {
  Kind kind;
  int value;  // the digit, or the virtual key
};

std::string Describe(const std::vector<Action>& actions) {
  std::ostringstream out;
  for (const Action& a : actions) {
    switch (a.kind) {
      case Kind::Digit:
        out << a.value;
        break;
      case Kind::Key:
        out << " [key " << a.value << "] ";
        break;
      case Kind::Backspace:
        out << " [Backspace] ";
        break;
      case Kind::Delete:
        out << " [Delete] ";
        break;
      case Kind::Size:
        out << " [size key " << a.value << "] ";
        break;
      case Kind::ToggleAutoExpand:
        out << " [F1] ";
        break;
      case Kind::ToggleAutoMode:
        out << " [F2] ";
        break;
    }
  }
  return out.str();
}

std::vector<Action> RandomActions(unsigned seed, int steps) {
  std::mt19937 random(seed);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  static const int kOperatorKeys[] = {kVkReturn,   kVkAdd,      kVkOemPlus,  kVkSubtract,
                                      kVkOemMinus, kVkMultiply, kVkOem1,     kVkDivide,
                                      kVkOem2,     kVkDecimal,  kVkOemPeriod};
  static const int kSizeKeys[] = {kVkPrior, kVkNext, kVkUp, kVkDown, kVkLeft, kVkRight};
  std::vector<Action> actions;
  while (static_cast<int>(actions.size()) < steps) {
    const int roll = pick(100);
    if (roll < 45) {
      for (int i = 0, n = 1 + pick(3); i < n; ++i) {
        actions.push_back({Kind::Digit, pick(10)});
      }
    } else if (roll < 75) {
      actions.push_back({Kind::Key, kOperatorKeys[pick(11)]});
    } else if (roll < 84) {
      actions.push_back({Kind::Backspace, 0});
    } else if (roll < 86) {
      actions.push_back({Kind::Delete, 0});
    } else if (roll < 95) {
      actions.push_back({Kind::Size, kSizeKeys[pick(6)]});
    } else if (roll < 98) {
      actions.push_back({Kind::ToggleAutoExpand, 0});
    } else {
      actions.push_back({Kind::ToggleAutoMode, 0});
    }
  }
  return actions;
}

// The portable core with the fake window, plus what the shell adds around it: the
// shortcut keys, the mode toggles and the title.
class Model {
 public:
  Model(int maxHeight, int maxWidth, int screenRowLimit)
      : fake_(kRelease), maxWidth_(maxWidth), limit_(screenRowLimit) {
    fake_.maxHeight = maxHeight;
    // The real window's checks so far have reported; so have the fake's.
    fake_.modes.screenRowLimit = limit_;
    checksSeen_ = fake_.screenRowChecks;
  }

  void Apply(const Action& a) {
    switch (a.kind) {
      case Kind::Digit:
        fake_.entry += static_cast<char16_t>(u'0' + a.value);
        break;
      case Kind::Key:
        fake_.calculator.HandleEntryKey(a.value);
        break;
      case Kind::Backspace:
        if (kRelease.keepsEntryHistory) {
          fake_.calculator.UndoLastEntry();
        }
        if (!fake_.entry.empty()) {
          fake_.entry.pop_back();  // the edit control's own deletion
        }
        break;
      case Kind::Delete:
        fake_.calculator.ClearAll();
        break;
      case Kind::Size:
        Resize(a.value);
        break;
      case Kind::ToggleAutoExpand:
        if (fake_.tape.DisplayedRowCount() < limit_ || !fake_.modes.autoMode) {
          fake_.modes.autoExpand ? (void)(fake_.modes.autoExpand = false) : AutoExpandOn();
        }
        break;
      case Kind::ToggleAutoMode:
        fake_.modes.autoMode = !fake_.modes.autoMode;
        break;
    }
    // The screen-row checks the step started report on the window thread after it.
    if (fake_.screenRowChecks != checksSeen_) {
      checksSeen_ = fake_.screenRowChecks;
      fake_.modes.screenRowLimit = limit_;
      if (fake_.modes.autoMode) {
        limit_ > fake_.tape.DisplayedRowCount() ? AutoExpandOn()
                                                : (void)(fake_.modes.autoExpand = false);
      }
    }
  }

  std::wstring Title() const {
    return Wide(fake_.modeText) + L": " + (fake_.modes.autoExpand ? L"自動拡張" : L"") + L": " +
           (fake_.modes.autoMode ? L"ｵｰﾄ" : L"") + L": ";
  }
  const FakeWindow& Fake() const { return fake_; }
  int Width() const { return fake_.width; }

 private:
  void AutoExpandOn() {
    if (fake_.modes.autoMode && fake_.tape.DisplayedRowCount() >= limit_) {
      return;
    }
    fake_.modes.autoExpand = true;
  }

  void Resize(int vk) {
    switch (vk) {
      case kVkPrior:
      case kVkUp:
        fake_.tape.ShrinkByOneRow();
        break;
      case kVkNext:
      case kVkDown:
        fake_.tape.GrowByOneRow();
        break;
      case kVkLeft:
        if (fake_.width >= 284) {
          fake_.ResizeKeepingTopmost(fake_.height, fake_.width - 10);
        }
        break;
      case kVkRight:
        if (fake_.width + 10 <= maxWidth_) {
          fake_.ResizeKeepingTopmost(fake_.height, fake_.width + 10);
        }
        break;
    }
  }

  FakeWindow fake_;
  int maxWidth_;
  int limit_;
  int checksSeen_ = 0;
};

class Differential : public MainWindowTest {
 protected:
  // Replays the actions on a fresh real window and a fresh model; returns "" when they
  // agree after every step, else what differed at the first step that differs.
  std::string Run(const std::vector<Action>& actions) {
    Open();
    MoveTo(40, 20);
    WaitForScreenRowChecks();
    // The largest outer size the window system allows, which the model must share.
    Resize(5000, 5000);
    const int maxHeight = OuterHeight(main_);
    const int maxWidth = OuterWidth(main_);
    Resize(275, 297);
    WaitForScreenRowChecks();
    Model model(maxHeight, maxWidth, shell().modes.screenRowLimit);
    std::string difference;
    MessageBoxWatcher boxes;
    for (std::size_t step = 0; step < actions.size() && difference.empty(); ++step) {
      const Action& a = actions[step];
      if (a.kind == Kind::Size && a.value == kVkRight && OuterWidth(main_) + 10 > maxWidth) {
        continue;  // the window is as wide as it can be
      }
      const std::size_t entryLength = EntryText().size();
      TypeReal(a);
      WaitForScreenRowChecks();
      // Without automatic scrolling the edit control takes digits only while they fit its
      // width, which its font decides: the model takes the digits it took.
      if (a.kind == Kind::Digit && EntryText().size() == entryLength) {
        continue;
      }
      model.Apply(a);
      difference = Compare(model, boxes.Seen().size());
      if (!difference.empty()) {
        difference = "step " + std::to_string(step) + ": " + difference;
      }
    }
    Close();
    return difference;
  }

  void TypeReal(const Action& a) {
    switch (a.kind) {
      case Kind::Digit:
        SendMessageW(shell().entry, WM_CHAR, L'0' + a.value, 1);
        break;
      case Kind::Key:
        PressInEntry(a.value);
        break;
      case Kind::Backspace:
        PressInEntry(VK_BACK);
        SendMessageW(shell().entry, WM_CHAR, VK_BACK, 1);
        break;
      case Kind::Delete:
        PressInEntry(VK_DELETE);
        break;
      case Kind::Size:
        PressInEntry(a.value);
        break;
      case Kind::ToggleAutoExpand:
        PressInEntry(VK_F1);
        break;
      case Kind::ToggleAutoMode:
        PressInEntry(VK_F2);
        break;
    }
  }

  std::string Compare(const Model& model, std::size_t realBoxes) {
    const FakeWindow& f = model.Fake();
    std::string difference;
    const auto check = [&](const char* what, const std::wstring& real, const std::wstring& fake) {
      if (difference.empty() && real != fake) {
        difference = std::string(what) + " differs";
      }
    };
    check("entry text", EntryText(), Wide(f.entry));
    check("last-entry display", TextOf(shell().lastEntry), Wide(f.lastEntry));
    check("total display", TextOf(shell().total), Wide(f.totalText));
    check("input pane", InputPane(), Wide(f.inputPane));
    check("total pane", TotalPane(), Wide(f.totalPane));
    check("title", Title(), model.Title());
    check("height", std::to_wstring(OuterHeight(main_)), std::to_wstring(f.height));
    check("message boxes", std::to_wstring(realBoxes), std::to_wstring(f.messages.size()));
    return difference;
  }

  // Drops chunks of actions, then single ones, while the rest still fails.
  std::vector<Action> Shrink(std::vector<Action> failing) {
    for (std::size_t chunk = failing.size() / 2; chunk >= 1; chunk /= 2) {
      for (std::size_t at = 0; at + chunk <= failing.size();) {
        std::vector<Action> shorter(failing.begin(), failing.begin() + at);
        shorter.insert(shorter.end(), failing.begin() + at + chunk, failing.end());
        if (!Run(shorter).empty()) {
          failing = shorter;
        } else {
          at += chunk;
        }
      }
    }
    return failing;
  }
};

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text != nullptr ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

TEST_F(Differential, RealWindowAndCoreAgreeAfterEveryKey) {
  const unsigned seeds = EnvironmentNumber("TAPECOUNT_DIFF_SEEDS", 6);
  const int steps = static_cast<int>(EnvironmentNumber("TAPECOUNT_DIFF_STEPS", 500));
  const unsigned first = EnvironmentNumber("TAPECOUNT_DIFF_FIRST_SEED", 1);
  for (unsigned seed = first; seed < first + seeds; ++seed) {
    const std::vector<Action> actions = RandomActions(seed, steps);
    const std::string difference = Run(actions);
    if (!difference.empty()) {
      const std::vector<Action> shortest = Shrink(actions);
      ADD_FAILURE() << "seed " << seed << ", " << difference << "\nshortest failing sequence ("
                    << shortest.size() << " actions): " << Describe(shortest)
                    << "\nfails with: " << Run(shortest);
    }
  }
}

}  // namespace
}  // namespace tapecount::testing
