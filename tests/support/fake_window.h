// The main window without a window system: a recording display wired to a window model.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "core/keys.h"
#include "shell/model/settings_file.h"
#include "shell/model/window_model.h"
#include "support/failing_allocations.h"

namespace tapecount {

inline void PrintTo(const Message& message, std::ostream* out) {
  *out << '"' << std::string(message.text.begin(), message.text.end()) << '"';
}

namespace testing {

// The key-down for `c`: '\n' Enter, "+-*/." the keypad's, "=_:?," the main keyboard's, 'B'
// Backspace, 'D' Delete; 0 for a character typed as such.
inline int TypedKey(char32_t c) {
  static const std::u32string kKeys = U"\n+-*/.=_:?,BD";
  static const int kVirtualKeys[] = {kVkReturn,    kVkAdd,     kVkSubtract, kVkMultiply, kVkDivide,
                                     kVkDecimal,   kVkOemPlus, kVkOemMinus, kVkOem1,     kVkOem2,
                                     kVkOemPeriod, kVkBack,    kVkDelete};
  const std::size_t key = kKeys.find(c);
  return key == std::u32string::npos ? 0 : kVirtualKeys[key];
}

class FakeDisplay : public Display {
 public:
  // Frame and caption: the outer size less these is the client size.
  static constexpr int kFrameWidth = 16, kFrameHeight = 59;

  Text EntryText() const override { return entry; }
  void SetEntryText(const Text& text) override { Record(entry, text); }
  void FocusEntry() override { ++focusCount; }
  void FocusEntryAtEnd() override { ++focusCount; }
  void SetLastEntryText(const Text& text) override { Record(lastEntry, text); }
  void SetTotalText(const Text& text) override { Record(totalText, text); }
  void SetPaneText(PaneId pane, TextTail text) override {
    Record(pane == PaneId::Input ? inputPane : totalPane, text.View());
  }
  void MovePane(PaneId pane, const PaneRect& rect) override {
    const AllocationsAllowed allowed;
    rects[pane] = rect;
  }
  void SetTitle(const Text& text) override {
    Record(title, text);
    ++textSets;
  }
  void SetStatusText(const Text& text) override {
    Record(status, text);
    ++textSets;
  }
  void LayoutStatusBar(int, int) override { ++statusLayouts; }
  void SetItemState(MenuItem item, ItemState state) override {
    const AllocationsAllowed allowed;
    items[item] = state;
  }
  WindowSize OuterSize() const override { return size; }
  void PlaceWindow(WindowSize wanted, bool inTopmostBand) override {
    topmostBand = inTopmostBand;
    wanted.height = std::min(wanted.height, maxHeight);
    if (!(wanted == size)) {
      Resize(wanted);
    }
  }
  void SetAlpha(int value) override { alpha = value; }
  void CapturePointer() override { captured = true; }
  void ReleasePointer() override { captured = false; }
  bool StartFade(const FadePlan& plan) override {
    const AllocationsAllowed allowed;
    fades.push_back(plan);
    return !threadsFail;
  }
  void StopFades(unsigned liveSession) override { fadeSession = liveSession; }
  void StartScreenRowCheck(unsigned generation) override {
    const AllocationsAllowed allowed;
    pendingChecks.push_back(generation);
  }
  void Close() override { closed = true; }
  // Kept with copies of its texts, which the model's may not outlive.
  void ShowMessage(const Message& message) override {
    const AllocationsAllowed allowed;
    const Text& text = shownTexts.emplace_back(message.text);
    std::optional<TextView> caption;
    if (message.caption) {
      caption = shownTexts.emplace_back(*message.caption);
    }
    messages.push_back({message.owner, text, caption, message.icon});
  }
  bool CopyToClipboard(const Text& text) override {
    if (!clipboardBusy) {
      Record(clipboard, text);
    }
    return !clipboardBusy;
  }

  // The window system's size notification: the new outer size, then the size handling.
  void Resize(WindowSize outer) {
    size = outer;
    model->Sized(outer.width - kFrameWidth, outer.height - kFrameHeight);
  }

  WindowModel* model = nullptr;
  Text entry, lastEntry = u"0", totalText = u"0", title, status = kStartupStatus, clipboard;
  Text inputPane, totalPane;
  std::map<PaneId, PaneRect> rects;
  std::map<MenuItem, ItemState> items;
  std::vector<Message> messages;
  std::deque<Text> shownTexts;
  std::vector<FadePlan> fades;
  std::vector<unsigned> pendingChecks;
  WindowSize size{0, 0};
  unsigned fadeSession = 0;
  bool clipboardBusy = false, threadsFail = false, captured = false, topmostBand = false,
       closed = false;
  int maxHeight = 1 << 20, alpha = 255, focusCount = 0, statusLayouts = 0,
      textSets = 0;  // the title and the status bar: each costs a repaint

 private:
  static void Record(Text& to, TextView text) {
    const AllocationsAllowed allowed;
    to.assign(text.data(), text.size());
  }
};

// The settings file in memory, saved as the shell saves it; `fails` makes a save fail.
class FakeStore : public SettingsStore {
 public:
  bool Save(const StoredModes& stored) override {
    if (!fails) {
      file = ComposeSettingsFile(file, ValuesToSave(stored, 16777215, 0, 128));
    }
    return !fails;
  }
  Text Location() const override { return u"C:\\work\\tapecount.ini"; }

  Text file;
  bool fails = false;
};

// A window opened as the program opens it: created, sized 275 by 297, settings applied.
class FakeWindow {
 public:
  explicit FakeWindow(const Release& release = kRelease134, const StoredModes& stored = {})
      : model(display, release) {
    display.model = &model;
    if (!model.Created()) {
      std::abort();  // no memory for the window: nothing to test
    }
    display.Resize(kInitialSize);
    model.ApplySettings(stored);
    Settle();
  }

  // The screen-row checks report, in order, the limit `screenRowLimit`, until none runs.
  void Settle() {
    while (!display.pendingChecks.empty()) {
      const unsigned generation = display.pendingChecks.front();
      display.pendingChecks.erase(display.pendingChecks.begin());
      model.ScreenRowLimitComputed(screenRowLimit, generation);
    }
  }
  // Types as the user would: digits into the edit control, the rest as TypedKey says.
  void Type(const std::string& keys) {
    for (char c : keys) {
      if (c >= '0' && c <= '9') {
        display.entry += static_cast<char16_t>(c);
      } else {
        Key(TypedKey(c));
      }
    }
  }
  EntryKey Key(int vk) {
    const EntryKey result = model.EntryBoxKey(vk);
    Settle();
    return result;
  }
  void EnterNumbers(int from, int to) {
    for (int i = from; i <= to; ++i) {
      Type(std::to_string(i) + "\n");
    }
  }
  void Resize(int width, int height) {
    display.Resize({width, height});
    Settle();
  }
  void Move() {
    model.Moved();
    Settle();
  }

  static std::vector<Text> Lines(const Text& pane) {
    std::vector<Text> lines;
    for (std::size_t start = 0, lf; (lf = pane.find(u'\n', start)) != Text::npos; start = lf + 1) {
      lines.push_back(pane.substr(start, lf - start - 1));
    }
    return lines;
  }
  std::vector<Text> InputLines() const { return Lines(display.inputPane); }
  std::vector<Text> TotalLines() const { return Lines(display.totalPane); }
  double Total() const { return model.GetCalculator().Total(); }
  const CalcState& State() const { return model.GetCalculator().State(); }
  const Tape& GetTape() const { return model.GetTape(); }
  ItemState Item(MenuItem item) const { return display.items.at(item); }

  // What a check reports: a window near the top of a screen 1056 pixels high has room.
  int screenRowLimit = 41;
  FakeDisplay display;
  FakeStore store;
  WindowModel model;
};

// The modes as five 0/1 digits in the settings file's order (single instance fourth).
inline std::string Flags(const StoredModes& s) {
  const ModeFlags& m = s.modes;
  return {"01"[m.autoExpand], "01"[m.autoMode], "01"[m.topmost], "01"[s.singleInstance],
          "01"[m.transparent]};
}

// The tape as the session's end keeps it, read back.
inline Journal TapeJournalOf(const WindowModel& model) {
  StringSink out;
  model.WriteTapeJournal(out);
  return ReadJournal(out.Bytes()).value_or(Journal{});
}

}  // namespace testing
}  // namespace tapecount
