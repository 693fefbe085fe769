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
  using namespace tapecount;
  const uint8_t* end = data + size;
  const auto next = [&] { return data < end ? *data++ : uint8_t{0}; };
  const Release& release = next() % 2 ? kRelease134 : kRelease127;
  testing::FakeWindow w(release);
  const Pane& in = w.GetTape().InputPane();
  const Pane& tot = w.GetTape().TotalPane();
  // Every line that should be on the tape, hidden or displayed, as the two panes show them.
  std::vector<Text> entries{u"入力履歴"}, totals{u"合計履歴"};

  while (data < end) {
    const std::size_t before = in.LineCount();
    switch (next() % 8) {
      default: {  // 0 to 2: type some digits, then a key
        for (uint8_t digits = next() % 6; digits > 0; --digits) {
          w.display.entry += static_cast<char16_t>(u'0' + next() % 10);
        }
        w.Type(std::string(1, "+-*/.\n"[next() % 6]));
        if (in.LineCount() == before + 1) {
          entries.push_back(w.display.lastEntry);
          totals.push_back(w.display.totalText);
        }
        break;
      }
      case 3:  // the window to any height, 0 to 1,023 pixels
        w.Resize(275, (next() << 2 | next() % 4) % 1024);
        break;
      case 4:  // undo, in the release that has it
        if (release.keepsEntryHistory) {
          w.display.entry.clear();
          w.Type("B");
          if (in.LineCount() + 1 == before) {
            entries.pop_back();
            totals.pop_back();
          }
        }
        break;
      case 5:  // clear-all, sometimes with the clipboard busy
        w.display.clipboardBusy = next() % 4 == 0;
        w.Type("D");
        if (!w.display.clipboardBusy) {
          entries.assign({u"入力履歴"});
          totals.assign({u"合計履歴"});
        }
        break;
      case 6:  // a mode toggled, and the room below the window for the next check
        w.Key(kVkF1 + next() % 2);
        w.screenRowLimit = static_cast<int>(next() % 40) - 8;
        break;
      case 7:  // a window that refuses to grow
        w.display.maxHeight = 171 + (next() % 30) * 19;
        break;
    }

    CHECK(in.HiddenCount() == tot.HiddenCount() && in.DisplayedCount() == tot.DisplayedCount());
    CHECK(in.LineCount() == entries.size() && tot.LineCount() == totals.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      CHECK(in.Line(i) == entries[i] && tot.Line(i) == totals[i]);
    }
    CHECK(w.display.inputPane == in.DisplayedText() && w.display.totalPane == tot.DisplayedText());
    const Text composed = w.GetTape().ComposeHistoryText(u"\t");
    CHECK(static_cast<std::size_t>(std::count(composed.begin(), composed.end(), u'\n')) ==
          entries.size());
  }
  return 0;
}
