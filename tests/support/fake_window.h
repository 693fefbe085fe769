// A main window without a window system: records what the calculator and the tape show,
// and runs the tape's size handling synchronously on a resize, as the real window does.
#pragma once

#include <string>
#include <vector>

#include "core/calc_view.h"
#include "core/calculator.h"
#include "core/keys.h"
#include "core/release.h"
#include "history/tape.h"
#include "history/tape_host.h"

namespace tapecount::testing {

class FakeWindow : public CalcView, public TapeHost {
 public:
  // Frame and caption taken from the outer size to give the client size.
  static constexpr int kFrameWidth = 16;
  static constexpr int kFrameHeight = 59;

  explicit FakeWindow(const Release& release = kRelease134)
      : tape(*this, release.geometry), calculator(*this, tape, release) {
    calculator.Start();
    modeText = ModeText(u'+');
    SetOuterSize(275, 297);  // the size notification that follows creation
  }

  // --- CalcView
  Text EntryText() const override { return entry; }
  void SetEntryText(const Text& text) override { entry = text; }
  void FocusEntryAtEnd() override { ++focusCount; }
  void FocusEntry() override { ++focusCount; }
  void SetLastEntryText(const Text& text) override { lastEntry = text; }
  void SetTotalText(const Text& text) override { totalText = text; }
  void SetModeText(const Text& text) override { modeText = text; }
  void ShowMessage(const Message& message) override { messages.push_back(message); }
  bool CopyToClipboard(const Text& text) override {
    if (clipboardBusy) {
      return false;
    }
    clipboard = text;
    return true;
  }

  // --- TapeHost
  void ShowPaneText(PaneId pane, const Text& text) override {
    (pane == PaneId::Input ? inputPane : totalPane) = text;
  }
  void MovePane(PaneId pane, const PaneRect& rect) override {
    (pane == PaneId::Input ? inputRect : totalRect) = rect;
  }
  void LayoutStatusBar(int, int, int) override { ++statusLayouts; }
  void SetStatusText(const Text& text) override { status = text; }
  WindowSize OuterWindowSize() const override { return {width, height}; }
  void ResizeKeepingTopmost(int newHeight, int newWidth) override {
    resizes.push_back(newHeight);
    if (newHeight > maxHeight) {
      newHeight = maxHeight;
    }
    if (newHeight != height || newWidth != width) {
      SetOuterSize(newWidth, newHeight);
    }
  }
  GrowthModes Modes() const override { return modes; }
  void AutoExpandOff() override {
    modes.autoExpand = false;
    ++autoExpandOffCount;
  }
  void StartScreenRowCheck() override { ++screenRowChecks; }

  // --- driving it
  // The window system's size notification: the new outer size, then WM_SIZE.
  void SetOuterSize(int newWidth, int newHeight, int sizeType = 0) {
    width = newWidth;
    height = newHeight;
    tape.HandleSize(sizeType, width - kFrameWidth, height - kFrameHeight);
  }

  // Types as the user would: digits reach the edit control, the others are key-downs.
  // '\n' is Enter, '+' '-' '*' '/' '.' the keypad keys.
  void Type(const std::string& keys) {
    for (char c : keys) {
      if (c >= '0' && c <= '9') {
        entry += static_cast<char16_t>(c);
        continue;
      }
      calculator.HandleEntryKey(KeyFor(c));
    }
  }
  static int KeyFor(char c) {
    switch (c) {
      case '\n':
        return kVkReturn;
      case '+':
        return kVkAdd;
      case '-':
        return kVkSubtract;
      case '*':
        return kVkMultiply;
      case '/':
        return kVkDivide;
      case '.':
        return kVkDecimal;
      default:
        return 0;
    }
  }

  // Applies the entries from, from + 1, ... to, each with Enter.
  void EnterNumbers(int from, int to) {
    for (int i = from; i <= to; ++i) {
      Type(std::to_string(i) + "\n");
    }
  }

  // The pane texts as lists of lines, for readable expectations.
  static std::vector<Text> Lines(const Text& paneText) {
    std::vector<Text> lines;
    std::size_t start = 0;
    for (std::size_t lf = paneText.find(u'\n'); lf != Text::npos;
         lf = paneText.find(u'\n', start)) {
      lines.push_back(paneText.substr(start, lf - start - 1));
      start = lf + 1;
    }
    return lines;
  }
  std::vector<Text> InputLines() const { return Lines(inputPane); }
  std::vector<Text> TotalLines() const { return Lines(totalPane); }

  // Public on purpose: tests read and set them directly.
  Text entry;
  Text lastEntry = u"0";
  Text totalText = u"0";
  Text modeText;
  Text inputPane = u"入力履歴\r\n";
  Text totalPane = u"合計履歴\r\n";
  Text status;
  Text clipboard;
  bool clipboardBusy = false;
  PaneRect inputRect{}, totalRect{};
  std::vector<Message> messages;
  std::vector<int> resizes;
  GrowthModes modes;
  int width = 0;
  int height = 0;
  int maxHeight = 1 << 20;
  int focusCount = 0;
  int statusLayouts = 0;
  int screenRowChecks = 0;
  int autoExpandOffCount = 0;

  Tape tape;
  Calculator calculator;
};

}  // namespace tapecount::testing
