// The window model and its tape under any sequence of entries, resizes to any height
// (capacities of 0 and less among them), undos, clear-alls, mode toggles and screen-row
// limits. After every step:
// - both panes hold the same number of displayed lines and of hidden lines;
// - hidden lines then displayed lines are every line appended and not taken back, in order;
// - the composed history has one row per line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/fake_window.h"

#define CHECK(ok) ((ok) ? void() : std::abort())

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tapecount::Text;
  const uint8_t* end = data + size;
  const auto next = [&] { return data < end ? *data++ : uint8_t{0}; };
  const tapecount::Release& release = next() % 2 ? tapecount::kRelease134 : tapecount::kRelease127;
  tapecount::testing::FakeWindow w(release);
  // Every line that should be on the tape, hidden or displayed, as the two panes show them.
  std::vector<Text> entries{u"入力履歴"};
  std::vector<Text> totals{u"合計履歴"};

  static const char kKeys[] = "+-*/.\n";
  while (data < end) {
    const uint8_t op = next();
    switch (op % 8) {
      case 0:
      case 1:
      case 2: {  // type some digits, then a key
        const uint8_t digits = next() % 6;
        for (uint8_t i = 0; i < digits; ++i) {
          w.display.entry += static_cast<char16_t>(u'0' + next() % 10);
        }
        const std::size_t before = w.GetTape().InputPane().LineCount();
        w.Type(std::string(1, kKeys[next() % 6]));
        if (w.GetTape().InputPane().LineCount() == before + 1) {
          entries.push_back(w.display.lastEntry);
          totals.push_back(w.display.totalText);
        }
        break;
      }
      case 3: {  // the window to any height, 0 to 1,023 pixels
        const int height = (next() << 2 | next() % 4) % 1024;
        w.Resize(275, height);
        break;
      }
      case 4: {  // undo, in the release that has it
        if (!release.keepsEntryHistory) {
          break;
        }
        w.display.entry.clear();
        const std::size_t before = w.GetTape().InputPane().LineCount();
        w.Type("B");
        if (w.GetTape().InputPane().LineCount() + 1 == before) {
          entries.pop_back();
          totals.pop_back();
        }
        break;
      }
      case 5:  // clear-all, sometimes with the clipboard busy
        w.display.clipboardBusy = next() % 4 == 0;
        w.Type("D");
        if (!w.display.clipboardBusy) {
          entries.assign({u"入力履歴"});
          totals.assign({u"合計履歴"});
        }
        break;
      case 6:  // a mode toggled, and the room below the window for the next check
        w.Key(tapecount::kVkF1 + next() % 2);
        w.screenRowLimit = static_cast<int>(next() % 40) - 8;
        break;
      case 7:  // a window that refuses to grow
        w.display.maxHeight = 171 + (next() % 30) * 19;
        break;
    }

    const tapecount::Pane& in = w.GetTape().InputPane();
    const tapecount::Pane& tot = w.GetTape().TotalPane();
    CHECK(in.HiddenCount() == tot.HiddenCount());
    CHECK(in.DisplayedCount() == tot.DisplayedCount());
    CHECK(in.LineCount() == entries.size() && tot.LineCount() == totals.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      CHECK(in.Line(i) == entries[i] && tot.Line(i) == totals[i]);
    }
    CHECK(w.display.inputPane == in.DisplayedText());
    CHECK(w.display.totalPane == tot.DisplayedText());
    const Text composed = w.GetTape().ComposeHistoryText(u"\t");
    CHECK(static_cast<std::size_t>(std::count(composed.begin(), composed.end(), u'\n')) ==
          entries.size());
  }
  return 0;
}
