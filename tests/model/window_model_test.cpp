// The main window's rules with the fake display, in both releases.
#include "shell/model/window_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "shell/model/settings_file.h"
#include "support/fake_window.h"

namespace tapecount {
namespace {

using testing::FakeWindow;
using testing::Flags;
using testing::TapeJournalOf;
using Lines = std::vector<Text>;

Lines Numbers(int from, int to) {
  Lines lines;
  for (int i = from; i <= to; ++i) {
    lines.push_back(IntToText(i));
  }
  return lines;
}

const StoredModes kAllOn{{true, true, true, true}, true};
const StoredModes kTopmost{{false, false, true, false}, false};

TEST(WindowModel, OpensWithTheStoredModesAndTheRowsItHasRoomFor) {
  FakeWindow w, on(kRelease134, kAllOn);
  for (MenuItem item : {MenuItem::AutoExpand, MenuItem::AutoMode, MenuItem::Topmost,
                        MenuItem::Transparency, MenuItem::SingleInstance}) {
    EXPECT_EQ(w.Item(item), ItemState::Unchecked);
    EXPECT_EQ(on.Item(item), ItemState::Checked);
  }
  EXPECT_EQ(on.display.title, u"「 + 」: 自動拡張: ｵｰﾄ: 前表示");
  EXPECT_TRUE(on.display.topmostBand);
  EXPECT_EQ(on.display.alpha, 50);
  EXPECT_EQ(on.display.size, kInitialSize);  // the stored size, re-applied
  EXPECT_EQ(on.Item(MenuItem::SaveSettings), ItemState::Grayed);
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [6] 行");
  EXPECT_EQ(w.display.rects[PaneId::Input], (PaneRect{10, 90, 100, 123}));  // client 259 x 238
  EXPECT_EQ(w.display.rects[PaneId::Total], (PaneRect{110, 90, 144, 123}));
  EXPECT_EQ(w.display.statusLayouts, 1);
  EXPECT_EQ(FakeWindow(kRelease127).display.status, u"テプカン: 現在の表示行数 = [7] 行");
  // The shell's switches never mark the settings; the title is set only when it changes.
  for (Mode mode : {Mode::Topmost, Mode::AutoMode, Mode::Transparency}) {
    on.model.SetMode(mode, false);
  }
  EXPECT_FALSE(on.display.topmostBand);
  EXPECT_FALSE(on.model.SettingsDirty());
  EXPECT_EQ(Flags(on.model.ModesToSave()), "10010");
  const int sets = on.display.textSets;
  on.Type("1\n2+");
  EXPECT_EQ(on.display.textSets, sets);
}

// Margins are cut to whole inches: 999 counts as none, the paper's corner.
TEST(WindowModel, PrintRectangleArithmetic) {
  const PrintDevice device{600, 600, 100, 120, 4800, 6600};
  EXPECT_EQ(PrintRectangle(device, {1000, 1000, 1000, 1000}), (Box{500, 480, 4100, 5880}));
  EXPECT_EQ(PrintRectangle(device, {999, 999, 999, 999}), (Box{-100, -120, 4700, 6480}));
  EXPECT_EQ(PrintRectangle({300, 200, 0, 0, 2400, 3000}, {2000, 1000, 3000, 1000}),
            (Box{600, 200, 1500, 2800}));
}

// A failed save says where, keeps the settings unsaved and puts the guard (saved at once) back.
TEST(WindowModel, SavesMarkTheSettingsSavedOrSayTheyWerentAndTheGuardGoesBack) {
  FakeWindow w;
  testing::FakeStore store;
  w.Key(kVkF1);
  store.fails = true;
  w.model.SaveSettings(store);
  w.model.ToggleSingleInstance(store);
  const Text text = SettingsNotSavedText(u"C:\\work\\tapecount.ini");
  const Message notSaved = SettingsNotSavedMessage(text);
  EXPECT_EQ(w.display.messages, (std::vector<Message>{notSaved, notSaved}));
  EXPECT_TRUE(w.model.SettingsDirty());
  EXPECT_EQ(w.Item(MenuItem::SaveSettings), ItemState::Unchecked);
  EXPECT_FALSE(w.model.SingleInstance());
  EXPECT_EQ(w.Item(MenuItem::SingleInstance), ItemState::Unchecked);
  store.fails = false;
  w.model.ToggleSingleInstance(store);  // everything goes with the guard
  EXPECT_EQ(Flags(ReadStoredModes(store.file)), "10010");
  EXPECT_EQ(w.Item(MenuItem::SingleInstance), ItemState::Checked);
  EXPECT_FALSE(w.model.SettingsDirty());
  EXPECT_EQ(w.Item(MenuItem::SaveSettings), ItemState::Grayed);
  w.Key(kVkF2);
  w.model.SaveSettings(store);
  EXPECT_EQ(Flags(ReadStoredModes(store.file)), "11010");
}

TEST(WindowModel, FullPanesScrollAndResizingRefitsThem) {
  FakeWindow w;
  w.EnterNumbers(1, 6);
  EXPECT_EQ(w.InputLines(), Numbers(1, 6));
  EXPECT_EQ(w.TotalLines(), (Lines{u"1", u"3", u"6", u"10", u"15", u"21"}));
  const int focused = w.display.focusCount;
  w.Resize(275, 316);
  EXPECT_EQ(w.InputLines().front(), u"入力履歴");
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [7] 行");
  EXPECT_GT(w.display.focusCount, focused);
  w.Resize(300, 259);
  EXPECT_EQ(w.InputLines(), Numbers(3, 6));
  w.Resize(275, 150);
  EXPECT_EQ(w.display.inputPane, u"");
  w.EnterNumbers(7, 7);  // the newest line still shows
  EXPECT_EQ(w.InputLines(), Numbers(7, 7));
  w.Resize(275, 400);
  EXPECT_EQ(w.InputLines().size(), 8u);
}

TEST(WindowModel, AutoExpandGrowsTheWindowARowUnlessItIsAtItsLargest) {
  const StoredModes autoExpand{{true}};
  FakeWindow grows(kRelease134, autoExpand), old(kRelease127, autoExpand),
      refused(kRelease134, autoExpand);
  grows.screenRowLimit = 8;  // outside auto mode the room below does not count
  grows.Move();
  grows.EnterNumbers(1, 7);
  EXPECT_EQ(grows.display.size.height, 335);
  EXPECT_EQ(grows.InputLines().front(), u"入力履歴");
  // Outside auto mode auto-expand never switches off.
  EXPECT_TRUE(grows.model.Modes().autoExpand);
  grows.Resize(275, 316);  // the size change after a growth re-fits again
  EXPECT_EQ(grows.InputLines().front(), u"1");
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
  refused.display.maxHeight = 5000;
  refused.Resize(275, 316);  // the next real size change re-fits
  EXPECT_EQ(refused.InputLines().front(), u"入力履歴");
}

TEST(WindowModel, SizeKeysStepWithinTheirBoundsKeepingTheBand) {
  // Release 1.27 or not, the key, the size before and after.
  const std::tuple<bool, int, WindowSize, WindowSize> cases[] = {
      {0, kVkNext, {275, 297}, {275, 316}},  {0, kVkDown, {275, 297}, {275, 316}},
      {0, kVkPrior, {275, 297}, {275, 278}}, {0, kVkUp, {275, 229}, {275, 210}},
      {0, kVkPrior, {275, 228}, {275, 228}}, {0, kVkUp, {275, 228}, {275, 228}},
      {0, kVkLeft, {284, 297}, {274, 297}},  {0, kVkLeft, {283, 297}, {283, 297}},
      {0, kVkRight, {275, 297}, {285, 297}}, {1, kVkNext, {275, 297}, {275, 315}},
      {1, kVkUp, {275, 226}, {275, 208}},    {1, kVkPrior, {275, 225}, {275, 225}},
  };
  for (const auto& [old, vk, before, after] : cases) {
    SCOPED_TRACE(::testing::Message() << vk << " from " << before.height);
    FakeWindow w(old ? kRelease127 : kRelease134, kTopmost);
    w.Resize(before.width, before.height);
    EXPECT_TRUE(w.model.ShortcutKey(vk));
    EXPECT_EQ(w.display.size, after);
    EXPECT_TRUE(w.display.topmostBand);
    EXPECT_TRUE(w.model.Modes().topmost);
  }
}

TEST(WindowModel, OtherShortcutKeysAndMouseButtons) {
  FakeWindow w;
  const int focused = w.display.focusCount;
  EXPECT_TRUE(w.model.ShortcutKey(kVkReturn));  // from the main window: to the entry box
  EXPECT_EQ(w.model.MouseButton(true), 1);      // a click focuses the entry box too
  EXPECT_EQ(w.model.MouseButton(false), 1);
  EXPECT_EQ(w.display.focusCount, focused + 3);
  EXPECT_FALSE(w.model.ShortcutKey('A'));
  EXPECT_EQ(w.Key(kVkControl), EntryKey::Handled);  // quits, even as a combination's start
  EXPECT_TRUE(w.display.closed);
  EXPECT_TRUE(w.model.ShortcutKey(kVkBack));
  EXPECT_TRUE(w.model.ShortcutKey(kVkDelete));

  FakeWindow old(kRelease127);  // no undo: Backspace is the edit control's alone
  old.Type("5\n3\n");
  EXPECT_EQ(old.Key(kVkBack), EntryKey::PassOn);
  EXPECT_EQ(old.InputLines().size(), 3u);
  // The left button: a row shorter; the right one: a row taller; the focus stays.
  EXPECT_EQ(old.model.MouseButton(true), 0);
  EXPECT_EQ(old.display.size.height, 279);
  EXPECT_EQ(old.model.MouseButton(false), 1);
  EXPECT_EQ(old.display.size.height, 297);
  old.Resize(275, 225);  // at the smallest: nothing is resized, so nothing moves the focus
  const int oldFocused = old.display.focusCount;
  EXPECT_EQ(old.model.MouseButton(true), 0);
  EXPECT_EQ(old.display.focusCount, oldFocused);
  EXPECT_TRUE(old.model.ShortcutKey(kVkReturn));
  EXPECT_GT(old.display.focusCount, oldFocused);
  EXPECT_EQ(old.Key(kVkControl), EntryKey::Handled);
  EXPECT_TRUE(old.display.closed);
}

TEST(WindowModel, AutoModeGrowsUpToTheScreenRowLimitThenScrolls) {
  FakeWindow w;
  w.Resize(275, 342);  // 9 rows
  w.EnterNumbers(1, 8);
  w.screenRowLimit = 10;
  w.Key(kVkF2);
  EXPECT_FALSE(w.model.Modes().autoExpand);  // auto-expand follows at the next check
  w.Move();                                  // a move: its check finds room below
  EXPECT_EQ(w.display.title, u"「 + 」: 自動拡張: ｵｰﾄ: ");
  w.display.entry = u"9";          // the displayed rows reach the limit: the last growth, off at
  w.model.EntryBoxKey(kVkReturn);  // once, before the check it asks for reports
  EXPECT_EQ(w.GetTape().RowCapacity(), 10);
  EXPECT_FALSE(w.model.Modes().autoExpand);
  w.EnterNumbers(10, 10);  // no more growth
  EXPECT_EQ(w.InputLines(), Numbers(1, 10));
}

TEST(WindowModel, ScreenRowChecksRunOneAtATimeAndHoldBackAutoExpandWithNoRoomLeft) {
  FakeWindow w(kRelease134, {{false, true}});
  const int focused = w.display.focusCount;
  for (int move = 0; move < 5; ++move) {  // a drag, each move giving the entry box the focus
    w.model.Moved();
  }
  EXPECT_EQ(w.display.focusCount, focused + 5);
  ASSERT_EQ(w.display.pendingChecks.size(), 1u);
  const unsigned first = w.display.pendingChecks[0];
  w.display.pendingChecks.clear();
  w.model.ScreenRowLimitComputed(-3, first);  // reports: one more check for the moves since
  ASSERT_EQ(w.display.pendingChecks.size(), 1u);
  EXPECT_FALSE(w.model.ScreenRowChecksSettled());
  const unsigned second = w.display.pendingChecks[0];
  w.model.ScreenRowLimitComputed(20, second);
  EXPECT_TRUE(w.model.ScreenRowChecksSettled());
  EXPECT_TRUE(w.model.Modes().autoExpand);  // 20 is above the displayed row count
  for (unsigned stale : {first, second}) {  // not newer than the one applied: dropped
    w.model.ScreenRowLimitComputed(1, stale);
  }
  EXPECT_EQ(w.model.ScreenRowLimit(), 20);
  w.screenRowLimit = 1;  // the displayed row count (1) is not below the limit
  w.Move();
  w.Key(kVkF1);
  EXPECT_FALSE(w.model.Modes().autoExpand);
  EXPECT_TRUE(w.model.SettingsDirty());
  w.model.SetMode(Mode::AutoExpand, true);  // held back too
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
  EXPECT_EQ(w.display.size.height, 297);
  EXPECT_TRUE(w.model.Modes().autoExpand);
  w.screenRowLimit = 7;  // a size change asks too
  w.Resize(275, 316);
  EXPECT_EQ(w.model.ScreenRowLimit(), 7);
  w.Key(kVkF2);  // no room below holds back auto-expand alone
  EXPECT_FALSE(w.model.Modes().autoMode);
}

// A move at client (x, y) of a window at (100, 50), its client area from (108, 100).
PointerMove MoveAt(int x, int y) {
  return {static_cast<unsigned>(x) & 0xFFFF, static_cast<unsigned>(y) & 0xFFFF, 108, 100,
          Box{100, 50, 375, 347}};
}

TEST(WindowModel, PointerIsInsideTheWholeWindowRectangleReadAsTheMessageCarriesIt) {
  const std::pair<PointerMove, bool> cases[] = {
      {MoveAt(20, 20), true},      {MoveAt(267, 247), true},  // the right and bottom edges
      {MoveAt(268, 20), false},    {MoveAt(20, 248), false},  // one past them
      {MoveAt(-8, 20), false},     {MoveAt(20, -50), false},  // the left frame, the title bar
      {MoveAt(-200, -200), false}, {{0, 0, 100, 50, Box{100, 50, 375, 347}}, true},  // a corner
  };
  for (const auto& [move, inside] : cases) {
    FakeWindow w;
    w.Key(kVkF4);
    w.model.PointerMoved(move);
    EXPECT_EQ(w.model.PointerInside(), inside) << move.x << "," << move.y;
    EXPECT_EQ(w.display.captured, inside) << move.x << "," << move.y;
  }
}

TEST(WindowModel, FadesFollowThePointerOneOfAKindAtATime) {
  FakeWindow w;
  EXPECT_TRUE(w.model.PointerMoved(MoveAt(20, 20)));  // transparency off: nothing
  EXPECT_TRUE(w.display.fades.empty());
  EXPECT_FALSE(w.display.captured);
  w.Key(kVkF4);
  EXPECT_TRUE(w.model.PointerMoved(MoveAt(20, 20)));  // comes in: captured, fades in
  w.model.PointerMoved(MoveAt(30, 30));               // no second fade
  ASSERT_EQ(w.display.fades.size(), 1u);
  const FadePlan in = w.display.fades[0];
  EXPECT_EQ(std::tie(in.fade, in.waitMs, in.steps, in.stepMs), std::tuple(Fade::In, 0, 42, 10));
  for (const auto& [step, alpha] : {std::pair{0, 50}, {1, 55}, {41, 255}}) {
    w.model.FadeStep(Fade::In, in.session, step);
    EXPECT_EQ(w.display.alpha, alpha);
  }
  w.model.PointerMoved(MoveAt(20, 400));  // leaves: released, fades out after a wait
  EXPECT_FALSE(w.display.captured);
  ASSERT_EQ(w.display.fades.size(), 2u);
  const FadePlan out = w.display.fades[1];
  EXPECT_EQ(std::tie(out.fade, out.waitMs, out.steps), std::tuple(Fade::Out, 150, 42));
  for (const auto& [step, alpha] : {std::pair{0, 255}, {41, 50}}) {
    w.model.FadeStep(Fade::Out, out.session, step);
    EXPECT_EQ(w.display.alpha, alpha);
  }
  // In and straight out again while both still run: neither starts a second time.
  w.model.PointerMoved(MoveAt(20, 400));
  EXPECT_EQ(w.display.fades.size(), 2u);
  w.model.FadeEnded(Fade::In, in.session);
  w.model.FadeEnded(Fade::Out, out.session);
  w.model.PointerMoved(MoveAt(20, 400));
  EXPECT_EQ(w.display.fades.size(), 4u);
}

TEST(WindowModel, TransparencyOffEndsTheFadesAndTheirStepsOnTheWayAreDropped) {
  FakeWindow w;
  w.Key(kVkF4);
  for (int y : {20, 400, 20}) {  // in, out and in again: a fade of each kind on its way
    w.model.PointerMoved(MoveAt(20, y));
  }
  const unsigned session = w.display.fades[0].session;
  w.Key(kVkF4);  // off in the middle of the fades
  EXPECT_NE(w.display.fadeSession, session);
  EXPECT_FALSE(w.display.captured);
  EXPECT_FALSE(w.model.PointerInside());
  w.model.FadeStep(Fade::In, session, 20);  // still on its way: dropped
  EXPECT_EQ(w.display.alpha, 255);
  w.Key(kVkF4);                          // on again: a new fade need not wait for the old
  w.model.FadeEnded(Fade::In, session);  // one's end, nor is it ended by it
  w.model.PointerMoved(MoveAt(20, 20));
  ASSERT_EQ(w.display.fades.size(), 3u);
  EXPECT_EQ(w.display.fades[2].session, w.display.fadeSession);
  EXPECT_TRUE(w.model.FadeRunning(Fade::In));
  w.model.FadeStep(Fade::In, session, 20);
  EXPECT_EQ(w.display.alpha, 50);
  w.model.PointerMoved(MoveAt(20, 400));  // nor a fade out
  EXPECT_EQ(w.display.fades.size(), 4u);

  FakeWindow noThreads;  // a fade without a thread does not happen; the next move tries again
  noThreads.display.threadsFail = true;
  noThreads.Key(kVkF4);
  noThreads.model.PointerMoved(MoveAt(20, 20));
  EXPECT_FALSE(noThreads.model.FadeRunning(Fade::In));
  noThreads.model.PointerMoved(MoveAt(20, 400));
  noThreads.model.PointerMoved(MoveAt(20, 20));
  EXPECT_EQ(noThreads.display.fades.size(), 3u);

  FakeWindow old(kRelease127);  // a fixed level, no pointer tracking
  old.Key(kVkF4);
  EXPECT_EQ(old.display.alpha, 127);
  EXPECT_FALSE(old.model.PointerMoved(MoveAt(20, 20)));
  old.Key(kVkF4);
  EXPECT_EQ(old.display.alpha, 255);
  EXPECT_TRUE(old.display.fades.empty());
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

TEST(WindowModel, ClearAllRestoresTheInitialSizeForgetsHiddenLinesAndNeedsTheClipboard) {
  FakeWindow w(kRelease134, kTopmost);
  w.EnterNumbers(1, 8);
  w.Resize(300, 250);
  w.Type("D");
  EXPECT_EQ(w.display.size, kInitialSize);
  EXPECT_TRUE(w.display.topmostBand);
  // The resize's size handling wrote the row text over the transfer message.
  EXPECT_EQ(w.display.status, u"テプカン: 現在の表示行数 = [6] 行");

  FakeWindow same;  // at the initial size no size handling follows: the message stays
  same.EnterNumbers(1, 7);
  const int focused = same.display.focusCount;
  same.Type("D");
  EXPECT_EQ(same.display.status, kTransferDoneStatus);
  EXPECT_EQ(same.display.inputPane, u"入力履歴\r\n");
  EXPECT_GT(same.display.focusCount, focused);
  same.Type("5\n3\n");  // with the clipboard busy, neither transfer nor clear-all runs
  same.display.clipboardBusy = true;
  same.model.TransferHistory();
  EXPECT_EQ(same.display.status, kTransferFailedStatus);
  same.Type("DB");  // clear-all refused: undo still reaches the entries
  EXPECT_EQ(same.display.messages, std::vector<Message>{kClearRefusedMessage});
  EXPECT_EQ(same.display.totalText, u"5");
  same.display.clipboardBusy = false;
  same.Resize(275, 190);  // one row: the headers hidden, the history whole all the same
  same.model.TransferHistory();
  EXPECT_EQ(same.display.status, kTransferDoneStatus);
  EXPECT_EQ(same.display.clipboard, u"入力履歴\t合計履歴\r\n5\t5\r\n");
  EXPECT_EQ(same.model.PrintedHistory(), u"入力履歴   合計履歴\r\n5   5\r\n");
  same.Type("7\n");  // the next entry brings the row count back
  EXPECT_EQ(same.display.status, u"テプカン: 現在の表示行数 = [1] 行");
}

TEST(WindowModel, TheTapeComesBackWholeThroughTheSessionJournal) {
  for (const Release* release : {&kRelease134, &kRelease127}) {
    FakeWindow before(*release);
    before.Type("0.1\n2*-5-*3\n/-4\n123456789012345678\n7\n8\n9\n-");
    FakeWindow after(*release);
    EXPECT_TRUE(after.model.RestoreTape(TapeJournalOf(before.model)));
    const auto shown = [](const FakeWindow& w) {
      return std::make_tuple(w.display.inputPane, w.display.totalPane, w.display.lastEntry,
                             w.GetTape().InputPane().HiddenCount(), w.Total());
    };
    EXPECT_EQ(shown(after), shown(before));
    EXPECT_EQ(after.display.title, u"「 - 」: : : ");  // the pending operator, not the '-' typed
    EXPECT_EQ(after.model.PrintedHistory(), before.model.PrintedHistory());
    for (FakeWindow* w : {&before, &after}) {
      w->display.entry.clear();
      w->Type("BBB");
    }
    EXPECT_EQ(shown(after), shown(before)) << "after an undo";
  }
}

TEST(WindowModel, AJournalOfAnotherTapeLeavesTheWindowEmpty) {
  FakeWindow w;
  w.Type("100\n25-");
  const Journal journal = TapeJournalOf(w.model);
  Journal altered = journal;
  altered.entries[1].row = u"-25\t76";
  Journal refused = journal;  // a positive total turned negative: the range check refuses it
  refused.entries[1] = {u'+', false, -200, u"-200\t-100"};
  Journal unknown = journal;  // an operation this program does not have
  unknown.entries[1].operation = u'%';
  for (const Journal* wrong : {&altered, &refused, &unknown}) {
    FakeWindow fresh;
    EXPECT_FALSE(fresh.model.RestoreTape(*wrong));
    EXPECT_EQ(fresh.display.inputPane, u"入力履歴\r\n");
    EXPECT_EQ(fresh.display.totalText, u"0");
  }
  FakeWindow old(kRelease127);  // the other release's rows are joined otherwise
  EXPECT_FALSE(old.model.RestoreTape(journal));
  EXPECT_EQ(old.display.totalPane, u"合計履歴\r\n");
}

TEST(RestartCommandLine, NamesTheJournalAndTheFolderAndReadsBack) {
  const RestartRequest request{u"C:\\Users\\u\\AppData\\Local\\tapecount\\tape-1.txt",
                               u"D:\\My Files"};
  const Text line = RestartCommandLine(request);
  EXPECT_EQ(line,
            u"/restore \"C:\\Users\\u\\AppData\\Local\\tapecount\\tape-1.txt\" "
            u"\"D:\\My Files\"");
  const std::optional<RestartRequest> read = ParseRestartCommandLine(line);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::tie(read->journal, read->folder, read->dropped),
            std::tie(request.journal, request.folder, request.dropped));
  // Longer than Windows keeps: the folder goes, then the whole line.
  EXPECT_EQ(RestartCommandLine(request, line.size()), line);
  EXPECT_EQ(RestartCommandLine(request, line.size() - 1),
            RestartCommandLine({request.journal, {}}));
  EXPECT_EQ(RestartCommandLine(request, 20), std::nullopt);
  // Typed, or a file alone as Explorer passes one dropped on the program (quoted with spaces).
  const std::pair<const char16_t*, const char16_t*> starts[] = {
      {u"  /RESTORE tape.txt ", u"tape.txt||0"},
      {u"C:\\tape.txt", u"C:\\tape.txt||1"},
      {u" \"C:\\My Files\\tape 1.txt\"", u"C:\\My Files\\tape 1.txt||1"},
      {u"/other", u"/other||1"},  // a file for all the program knows: its reading decides
  };
  for (const auto& [typed, request] : starts) {
    const std::optional<RestartRequest> r = ParseRestartCommandLine(typed);
    EXPECT_EQ(r ? r->journal + u"|" + r->folder + (r->dropped ? u"|1" : u"|0") : u"none", request);
  }
  const char16_t* others[] = {u"",           u"\"\"",           u"/restore",    u"/restore \"\"",
                              u"/other a b", u"/restore a b c", u"a.txt b.txt", u"a b c d e f"};
  for (std::size_t i = 0; i < std::size(others); ++i) {
    EXPECT_FALSE(ParseRestartCommandLine(others[i])) << i;
  }
}

}  // namespace
}  // namespace tapecount
