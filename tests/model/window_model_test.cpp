// The main window's rules with the fake display: modes, title, menu marks, sizes, the tape
// fitted to the window, screen-row checks, transparency, undo and clear-all, release 1.27.
#include "shell/model/window_model.h"

#include <gtest/gtest.h>

#include "core/amount.h"
#include "shell/resource.h"
#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeDisplay;
using testing::FakeWindow;
using testing::Flags;
using Lines = std::vector<Text>;

Lines Numbers(int from, int to) {
  Lines lines;
  for (int i = from; i <= to; ++i) {
    lines.push_back(IntToText(i));
  }
  return lines;
}

TEST(WindowModel, OpensWithTheStoredModesAndTheRowsItHasRoomFor) {
  FakeWindow w, on(kRelease134, {true, true, true, true, true});
  for (int id :
       {IDM_AUTO_EXPAND, IDM_AUTO_MODE, IDM_TOPMOST, IDM_TRANSPARENCY, IDM_SINGLE_INSTANCE}) {
    EXPECT_TRUE(w.Item(id) == ItemState::Unchecked && on.Item(id) == ItemState::Checked) << id;
  }
  EXPECT_EQ(w.display.title, u"「 + 」: : : ");
  EXPECT_EQ(on.display.title, u"「 + 」: 自動拡張: ｵｰﾄ: 前表示");
  EXPECT_TRUE(on.display.topmostBand && on.display.alpha == 50);
  EXPECT_EQ(on.display.size, kInitialSize);  // the stored size, re-applied
  EXPECT_EQ(on.Item(IDM_SAVE_SETTINGS), ItemState::Grayed);
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [6] 行");
  const int width = 275 - FakeDisplay::kFrameWidth, height = 297 - FakeDisplay::kFrameHeight;
  EXPECT_EQ(w.display.rects[PaneId::Input], (PaneRect{10, 90, 100, height - 115}));
  EXPECT_EQ(w.display.rects[PaneId::Total], (PaneRect{110, 90, width - 115, height - 115}));
  EXPECT_EQ(w.display.statusLayouts, 1);
  EXPECT_EQ(FakeWindow(kRelease127).display.status, u"テプカン: 現在の表示行数 = [7] 行");
}

TEST(WindowModel, ScreenRowLimitAndPrintRectangleArithmetic) {
  EXPECT_EQ(ScreenRowLimit(1056, 100, 19), 41);
  EXPECT_EQ(ScreenRowLimit(1056, 900, 19), 0);  // -15 / 19 truncates toward zero
  EXPECT_EQ(ScreenRowLimit(1056, 950, 19), -3);
  // Margins are cut to whole inches: 999 counts as none, the paper's corner.
  const PrintDevice device{600, 600, 100, 120, 4800, 6600};
  EXPECT_EQ(PrintRectangle(device, {1000, 1000, 1000, 1000}), (Box{500, 480, 4100, 5880}));
  EXPECT_EQ(PrintRectangle(device, {999, 999, 999, 999}), (Box{-100, -120, 4700, 6480}));
  EXPECT_EQ(PrintRectangle({300, 200, 0, 0, 2400, 3000}, {2000, 1000, 3000, 1000}),
            (Box{600, 200, 1500, 2800}));
}

struct ToggleCase {
  int vk, item;
  bool ModeFlags::*flag;
  const char16_t* title;  // with the mode on
};

TEST(WindowModel, FunctionKeysToggleEachModeAndMarkTheSettings) {
  const ToggleCase cases[] = {
      {kVkF1, IDM_AUTO_EXPAND, &ModeFlags::autoExpand, u"「 + 」: 自動拡張: : "},
      {kVkF2, IDM_AUTO_MODE, &ModeFlags::autoMode, u"「 + 」: : ｵｰﾄ: "},
      {kVkF3, IDM_TOPMOST, &ModeFlags::topmost, u"「 + 」: : : 前表示"},
      {kVkF4, IDM_TRANSPARENCY, &ModeFlags::transparent, u"「 + 」: : : "}};
  for (const ToggleCase& c : cases) {
    FakeWindow w;
    EXPECT_EQ(w.Key(c.vk), EntryKey::PassOn) << c.vk;  // the edit control gets it too
    EXPECT_TRUE(w.model.Modes().*c.flag && w.Item(c.item) == ItemState::Checked) << c.vk;
    EXPECT_EQ(w.display.title, c.title) << c.vk;
    EXPECT_TRUE(w.model.SettingsDirty() && w.Item(IDM_SAVE_SETTINGS) == ItemState::Unchecked);
    EXPECT_FALSE(w.model.ShortcutKey(c.vk));  // from the main window: off again
    EXPECT_FALSE(w.model.Modes().*c.flag || w.Item(c.item) == ItemState::Checked) << c.vk;
    EXPECT_EQ(w.display.title, u"「 + 」: : : ") << c.vk;
  }
}

TEST(WindowModel, SwitchesAndTheGuardNeverMarkTheSettings) {
  FakeWindow w(kRelease134, {true, true, true, true, true});
  w.model.TopmostOff(), w.model.AutoModeOff(), w.model.TransparencyOff();  // as the shell does
  EXPECT_FALSE(w.display.topmostBand || w.model.SettingsDirty());
  EXPECT_EQ(Flags(w.model.ModesToSave()), "10010");
  w.model.ToggleSingleInstance();  // the guard's own mark; the settings are left to the save
  EXPECT_EQ(Flags(w.model.ModesToSave()), "10000");
  EXPECT_EQ(w.Item(IDM_SINGLE_INSTANCE), ItemState::Unchecked);
  EXPECT_EQ(w.Item(IDM_SAVE_SETTINGS), ItemState::Grayed);
  w.Key(kVkF1);
  w.model.SettingsSaved();
  EXPECT_FALSE(w.model.SettingsDirty());
  const int sets = w.display.titleSets;  // the title is set only when it changes
  w.Type("1\n2+");
  EXPECT_EQ(w.display.titleSets, sets);
}

TEST(WindowModel, FullPanesScrollAndResizingRefitsThem) {
  FakeWindow w;
  w.EnterNumbers(1, 6);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
  EXPECT_EQ(w.TotalLines(), (Lines{u"1", u"3", u"6", u"10", u"15", u"21"}));
  const int focused = w.display.focusCount;
  w.Resize(275, 316);
  EXPECT_EQ(w.InputLines().front() + w.TotalLines().front(), u"入力履歴合計履歴");
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [7] 行");
  EXPECT_GT(w.display.focusCount, focused);
  w.Resize(300, 259);
  EXPECT_EQ(w.InputLines(), Numbers(3, 6));
  EXPECT_EQ(w.GetTape().DisplayedRowCount(), 4);
  w.Resize(275, 150);
  EXPECT_EQ(w.display.inputPane, u"");
  w.EnterNumbers(7, 7);  // the newest line still shows
  EXPECT_EQ(w.InputLines(), Numbers(7, 7));
  w.Resize(275, 400);
  EXPECT_EQ(w.InputLines().size(), 8u);
}

TEST(WindowModel, AutoExpandGrowsTheWindowARowUnlessItIsAtItsLargest) {
  FakeWindow grows(kRelease134, {true}), old(kRelease127, {true}), refused(kRelease134, {true});
  grows.EnterNumbers(1, 7);
  EXPECT_EQ(grows.display.size.height, 335);
  EXPECT_EQ(grows.InputLines().front(), u"入力履歴");
  // Outside auto mode auto-expand never switches off.
  EXPECT_TRUE(grows.model.Modes().autoExpand && !grows.model.RefitSuppressed());
  old.EnterNumbers(1, 7);  // 18-pixel rows: the seventh entry grows it
  EXPECT_EQ(old.display.size.height, 315);
  FakeWindow hidden;  // growing shows the new line without bringing a hidden one back
  hidden.EnterNumbers(1, 8);
  hidden.Key(kVkF1);
  hidden.EnterNumbers(9, 9);
  EXPECT_EQ(hidden.InputLines(), Numbers(3, 9));
  refused.display.maxHeight = 297;  // it scrolls instead
  refused.EnterNumbers(1, 6);
  EXPECT_EQ(refused.InputLines(), Numbers(1, 6));
  EXPECT_TRUE(refused.GetTape().DisplayedRowCount() == 6 && !refused.model.RefitSuppressed());
  refused.display.maxHeight = 5000;
  refused.Resize(275, 316);  // the next real size change re-fits
  EXPECT_EQ(refused.InputLines().front(), u"入力履歴");
}

struct SizeKeyCase {
  bool old;  // release 1.27
  int vk;
  WindowSize before, after;
};

TEST(WindowModel, SizeKeysStepWithinTheirBoundsKeepingTheBand) {
  const SizeKeyCase cases[] = {
      {0, kVkNext, {275, 297}, {275, 316}},  {0, kVkDown, {275, 297}, {275, 316}},
      {0, kVkPrior, {275, 297}, {275, 278}}, {0, kVkUp, {275, 229}, {275, 210}},
      {0, kVkPrior, {275, 228}, {275, 228}}, {0, kVkUp, {275, 228}, {275, 228}},
      {0, kVkLeft, {284, 297}, {274, 297}},  {0, kVkLeft, {283, 297}, {283, 297}},
      {0, kVkRight, {275, 297}, {285, 297}}, {1, kVkNext, {275, 297}, {275, 315}},
      {1, kVkUp, {275, 226}, {275, 208}},    {1, kVkPrior, {275, 225}, {275, 225}},
      {1, kVkLeft, {284, 297}, {274, 297}},  {1, kVkRight, {275, 297}, {285, 297}},
      {1, kVkDown, {275, 297}, {275, 315}},
  };
  for (const SizeKeyCase& c : cases) {
    FakeWindow w(c.old ? kRelease127 : kRelease134, {false, false, true});
    w.Resize(c.before.width, c.before.height);
    EXPECT_TRUE(w.model.ShortcutKey(c.vk));
    EXPECT_EQ(w.display.size, c.after) << c.vk << " from " << c.before.height;
    EXPECT_TRUE(w.display.topmostBand && w.model.Modes().topmost);
  }
}

TEST(WindowModel, OtherShortcutKeysAndMouseButtons) {
  FakeWindow w;
  int focused = w.display.focusCount;
  EXPECT_TRUE(w.model.ShortcutKey(kVkReturn));  // from the main window: to the entry box
  EXPECT_EQ(w.model.MouseButton(true), 1);      // a click focuses the entry box too
  EXPECT_EQ(w.model.MouseButton(false), 1);
  EXPECT_EQ(w.display.focusCount, focused + 3);
  EXPECT_FALSE(w.model.ShortcutKey('A') || w.display.closed);
  EXPECT_EQ(w.Key(kVkControl), EntryKey::Handled);  // quits, even as a combination's start
  EXPECT_TRUE(w.display.closed);
  EXPECT_TRUE(w.model.ShortcutKey(kVkBack) && w.model.ShortcutKey(kVkDelete));

  FakeWindow old(kRelease127);  // no undo: Backspace is the edit control's alone
  old.Type("5\n3\n");
  EXPECT_EQ(old.Key(kVkBack), EntryKey::PassOn);
  EXPECT_EQ(old.InputLines().size(), 3u);
  // The left button: a row shorter; the right one: a row taller; the focus stays.
  EXPECT_TRUE(old.model.MouseButton(true) == 0 && old.display.size.height == 279);
  EXPECT_TRUE(old.model.MouseButton(false) == 1 && old.display.size.height == 297);
  old.Resize(275, 225);
  focused = old.display.focusCount;
  EXPECT_TRUE(old.model.MouseButton(true) == 0 && old.display.size.height == 225);
  EXPECT_EQ(old.display.focusCount, focused);
}

TEST(WindowModel, AutoModeGrowsUpToTheScreenRowLimitThenScrolls) {
  FakeWindow w;
  w.Resize(275, 171 + 9 * 19);  // capacity 9
  w.EnterNumbers(1, 8);
  w.screenRowLimit = 10;
  w.Key(kVkF2);
  EXPECT_FALSE(w.model.Modes().autoExpand);  // auto-expand follows at the next check
  w.Move();                                  // a move: its check finds room below
  EXPECT_EQ(w.display.title, u"「 + 」: 自動拡張: ｵｰﾄ: ");
  w.EnterNumbers(9, 9);  // the displayed rows reach the limit: the last growth
  EXPECT_EQ(w.GetTape().RowCapacity(), 10);
  EXPECT_FALSE(w.model.Modes().autoExpand);
  w.EnterNumbers(10, 10);  // no more growth
  EXPECT_EQ(w.InputLines(), Numbers(1, 10));
}

TEST(WindowModel, AutoExpandHeldBackWithNoRoomLeftStillMarksTheSettings) {
  FakeWindow w(kRelease134, {false, true});
  w.screenRowLimit = 1;  // the displayed row count (1) is not below the limit
  w.Move();
  w.Key(kVkF1);
  EXPECT_FALSE(w.model.Modes().autoExpand);
  EXPECT_TRUE(w.model.SettingsDirty());
  w.model.AutoExpandOn();  // held back too
  EXPECT_FALSE(w.model.Modes().autoExpand);
  w.screenRowLimit = 2;  // room again: the toggle works
  w.Move();
  EXPECT_TRUE(w.model.Modes().autoExpand);
  w.Key(kVkF1);
  EXPECT_FALSE(w.model.Modes().autoExpand);
  w.screenRowLimit = 3;  // below the rows to come: the panes scroll, auto-expand stays on
  w.Move();
  ASSERT_TRUE(w.model.Modes().autoExpand);
  w.EnterNumbers(1, 6);
  EXPECT_TRUE(w.display.size.height == 297 && w.model.Modes().autoExpand);
}

TEST(WindowModel, OneScreenRowCheckRunsAtATimeAndTheLastReadsTheLatestPosition) {
  FakeWindow w(kRelease134, {false, true});
  for (int move = 0; move < 5; ++move) {  // a drag
    w.model.Moved();
  }
  ASSERT_EQ(w.display.pendingChecks.size(), 1u);
  const unsigned first = w.display.pendingChecks[0];
  w.display.pendingChecks.clear();
  w.model.ScreenRowLimitComputed(-3, first);  // reports: one more check for the moves since
  EXPECT_EQ(w.model.ScreenRowLimit(), -3);
  ASSERT_EQ(w.display.pendingChecks.size(), 1u);
  EXPECT_FALSE(w.model.ScreenRowChecksSettled());
  w.model.ScreenRowLimitComputed(20, w.display.pendingChecks[0]);
  EXPECT_TRUE(w.model.ScreenRowChecksSettled());
  EXPECT_EQ(w.model.ScreenRowLimit(), 20);
  EXPECT_TRUE(w.model.Modes().autoExpand);   // 20 is above the displayed row count
  w.model.ScreenRowLimitComputed(1, first);  // a result older than the one applied: dropped
  EXPECT_EQ(w.model.ScreenRowLimit(), 20);
}

TEST(WindowModel, TransparencyFadesWithThePointer) {
  FakeWindow w;
  // Transparency off: nothing.
  EXPECT_TRUE(w.model.PointerMoved(true) && w.display.fades.empty() && !w.display.captured);
  w.Key(kVkF4);
  w.model.PointerMoved(true);  // comes in: captured, fades in
  EXPECT_TRUE(w.display.captured && w.model.PointerInside());
  w.model.PointerMoved(true);  // no second fade-in
  EXPECT_EQ(w.display.fades, std::vector<Fade>{Fade::In});
  w.model.FadeStep(120);
  EXPECT_EQ(w.display.alpha, 120);
  w.model.PointerMoved(false);  // leaves: released, fades out
  EXPECT_FALSE(w.display.captured || w.model.PointerInside());
  EXPECT_EQ(w.display.fades, (std::vector<Fade>{Fade::In, Fade::Out}));
  w.model.PointerMoved(false);  // from outside straight out again: in, then out
  EXPECT_EQ(w.display.fades.size(), 4u);
  w.model.PointerMoved(true);
  const int stops = w.display.fadeStops;
  w.Key(kVkF4);  // off in the middle of a fade
  EXPECT_EQ(w.display.fadeStops, stops + 1);
  EXPECT_FALSE(w.display.captured || w.model.PointerInside());
  w.model.FadeStep(200);  // a step still on its way is dropped
  EXPECT_EQ(w.display.alpha, 255);

  FakeWindow old(kRelease127);  // a fixed level, no pointer tracking
  old.Key(kVkF4);
  EXPECT_EQ(old.display.alpha, 127);
  EXPECT_FALSE(old.model.PointerMoved(true));
  old.Key(kVkF4);
  EXPECT_TRUE(old.display.alpha == 255 && old.display.fadeStops == 0);
}

TEST(WindowModel, UndoShrinksTheWindowRowByRowThenUnderflowsOnce) {
  FakeWindow w;
  w.EnterNumbers(1, 10);
  for (int height : {278, 259, 240, 221, 221}) {
    w.Type("B");
    EXPECT_EQ(w.display.size.height, height);
  }
  EXPECT_EQ(w.InputLines(), Numbers(5, 5));
  w.Type("B");  // only entry 5 in view
  EXPECT_EQ(w.display.messages, std::vector<Message>{kStackUnderflowMessage});
  EXPECT_EQ(w.display.totalText, u"15");
  w.Resize(275, 297);  // hidden lines come back; undo goes on
  EXPECT_EQ(w.InputLines(), (Lines{u"入力履歴", u"1", u"2", u"3", u"4", u"5"}));
  w.Type("B");
  EXPECT_EQ(w.InputLines().back(), u"4");
}

TEST(WindowModel, ClearAllRestoresTheInitialSizeAndForgetsHiddenLines) {
  FakeWindow w(kRelease134, {false, false, true});
  w.EnterNumbers(1, 8);
  w.Resize(300, 250);
  w.Type("D");
  EXPECT_TRUE(w.display.size == kInitialSize && w.display.topmostBand);
  // The resize's size handling wrote the row text over the transfer message.
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [6] 行");

  FakeWindow same;  // at the initial size no size handling follows: the message stays
  same.EnterNumbers(1, 7);
  const int focused = same.display.focusCount;
  same.Type("D");
  EXPECT_EQ(same.display.status, kTransferDoneStatus);
  EXPECT_EQ(same.display.inputPane + same.display.totalPane, u"入力履歴\r\n合計履歴\r\n");
  EXPECT_GT(same.display.focusCount, focused);
}

TEST(WindowModel, TransferAndClearAllNeedTheClipboard) {
  FakeWindow w;
  w.Type("5\n3\n");
  w.display.clipboardBusy = true;
  w.model.TransferHistory();
  EXPECT_EQ(w.display.status, kTransferFailedStatus);
  w.Type("DB");  // clear-all refused: undo still reaches the entries
  EXPECT_EQ(w.display.messages, std::vector<Message>{kClearRefusedMessage});
  EXPECT_EQ(w.display.totalText, u"5");
  w.display.clipboardBusy = false;
  w.Resize(275, 171 + 19);  // one row: the headers hidden, the history whole all the same
  w.model.TransferHistory();
  EXPECT_EQ(w.display.status, kTransferDoneStatus);
  EXPECT_EQ(w.display.clipboard, u"入力履歴\t合計履歴\r\n5\t5\r\n");
  EXPECT_EQ(w.model.PrintedHistory(), u"入力履歴   合計履歴\r\n5   5\r\n");
}

TEST(WindowModel, KeepsEveryLineOfAHundredThousandEntries) {
  FakeWindow w;
  const int n = 100000;
  for (int i = 1; i <= n; ++i) {
    w.display.entry = IntToText(i);
    w.model.EntryBoxKey(kVkReturn);
  }
  const Pane& in = w.GetTape().InputPane();
  ASSERT_EQ(in.LineCount(), static_cast<std::size_t>(n) + 1);
  EXPECT_TRUE(in.DisplayedCount() == 6 &&
              in.HiddenCount() == w.GetTape().TotalPane().HiddenCount());
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(in.Line(i), FormatAmount(i)) << i;
  }
  const Text composed = w.model.PrintedHistory();
  EXPECT_EQ(composed.substr(composed.size() - 25), u"100,000   5,000,050,000\r\n");
}

}  // namespace
}  // namespace tapecount
