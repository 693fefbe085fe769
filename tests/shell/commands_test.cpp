// Every key and menu command of the real window reaching its handler; undo and clear-all.
#include <windows.h>

#include <cstdlib>

#include "core/messages.h"
#include "resource.h"
#include "wide.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Commands : public MainWindowTest {};

TEST_F(Commands, PageAndArrowKeysResizeWithinTheirBounds) {
  Open();
  PressInEntry(VK_NEXT);
  EXPECT_EQ(OuterHeight(main_), 316);
  PressInEntry(VK_PRIOR);
  EXPECT_EQ(OuterHeight(main_), 297);
  PressInEntry(VK_DOWN);
  EXPECT_EQ(OuterHeight(main_), 316);
  PressInEntry(VK_UP);
  EXPECT_EQ(OuterHeight(main_), 297);
  Resize(275, 228);
  PressInEntry(VK_PRIOR);
  EXPECT_EQ(OuterHeight(main_), 228);
  Resize(275, 229);
  PressInEntry(VK_UP);
  EXPECT_EQ(OuterHeight(main_), 210);
  PressInEntry(VK_UP);
  EXPECT_EQ(OuterHeight(main_), 210);  // the smallest the keys reach

  Resize(283, 297);
  PressInEntry(VK_LEFT);
  EXPECT_EQ(OuterWidth(main_), 283);
  Resize(284, 297);
  PressInEntry(VK_LEFT);
  EXPECT_EQ(OuterWidth(main_), 274);
  KeyDown(main_, VK_RIGHT);  // from the main window too
  EXPECT_EQ(OuterWidth(main_), 284);
}

WNDPROC g_editProcedure = nullptr;
std::vector<WPARAM> g_keysReachingTheEdit;

LRESULT CALLBACK RecordingEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    g_keysReachingTheEdit.push_back(wParam);
  }
  return CallWindowProcW(g_editProcedure, window, message, wParam, lParam);
}

TEST_F(Commands, FunctionKeysToggleAndStillReachTheEditControl) {
  Open();
  g_editProcedure = shell().entryBoxDefault;
  shell().entryBoxDefault = RecordingEdit;  // stands between the subclass and the edit control
  g_keysReachingTheEdit.clear();
  PressInEntry(VK_F1);
  PressInEntry(VK_NEXT);  // consumed
  PressInEntry(VK_DELETE);
  PressInEntry(VK_ADD);  // the calculator's
  EXPECT_TRUE(shell().modes.autoExpand);
  EXPECT_EQ(g_keysReachingTheEdit, std::vector<WPARAM>{VK_F1});
  shell().entryBoxDefault = g_editProcedure;
}

TEST_F(Commands, DeleteClearsEverythingIncludingAPartlyTypedEntry) {
  Open();
  Type(L"100\n25-7");
  PressInEntry(VK_DELETE);
  EXPECT_EQ(EntryText(), L"");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n");
  EXPECT_EQ(TotalPane(), L"合計履歴\r\n");
  EXPECT_EQ(TextOf(shell().total), L"0");
  EXPECT_EQ(TextOf(shell().lastEntry), L"0");
  EXPECT_EQ(StatusText(), Wide(kTransferDoneStatus));
}

TEST_F(Commands, BackspaceUndoesOnAnEmptyBoxAndEditsOtherwise) {
  Open();
  Type(L"5\n3\n12");
  PressInEntry(VK_BACK);
  SendMessageW(shell().entry, WM_CHAR, VK_BACK, 1);  // the edit control's own deletion
  EXPECT_EQ(EntryText(), L"1");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n5\r\n3\r\n");
  SendMessageW(shell().entry, WM_CHAR, VK_BACK, 1);
  PressInEntry(VK_BACK);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n5\r\n");
  EXPECT_EQ(TextOf(shell().lastEntry), L"5");
  EXPECT_EQ(TextOf(shell().total), L"5");
}

TEST_F(Commands, TenEntriesThenUndoToTheUnderflowBox) {
  Open();
  Type(L"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n");
  MessageBoxWatcher boxes;
  for (int height : {278, 259, 240, 221, 221}) {
    PressInEntry(VK_BACK);
    EXPECT_EQ(OuterHeight(main_), height);
  }
  EXPECT_EQ(InputPane(), L"5\r\n");
  EXPECT_TRUE(boxes.Seen().empty());
  PressInEntry(VK_BACK);
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].text, L"stack underflow!\n");
  EXPECT_EQ(boxes.Seen()[0].owner, nullptr);
  EXPECT_EQ(InputPane(), L"5\r\n");
  Resize(275, 316);
  EXPECT_EQ(InputPane(), L"入力履歴\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
  PressInEntry(VK_BACK);
  EXPECT_EQ(TextOf(shell().total), L"10");
}

TEST_F(Commands, ClearAllInAResizedWindowEndsWithTheRowText) {
  Open();
  Type(L"1\n2\n");
  PressInEntry(VK_NEXT);
  PressInEntry(VK_RIGHT);
  PressInEntry(VK_DELETE);
  EXPECT_EQ(OuterHeight(main_), 297);
  EXPECT_EQ(OuterWidth(main_), 275);
  EXPECT_EQ(StatusText(), L"テプカン: 現在の表示行数 = [6] 行");
}

TEST_F(Commands, ClearAllKeepsTheTapeWhenTheClipboardIsHeld) {
  Open();
  Type(L"100\n25-");
  const char* path = std::getenv("TAPECOUNT_CLIPBOARD_HELPER");
  ASSERT_NE(path, nullptr);
  std::wstring commandLine = L"\"" + WindowsPath(path) + L"\" hold 3000";
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-clipboard-held");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION holder{};
  ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &holder));
  ASSERT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
  MessageBoxWatcher boxes;
  PressInEntry(VK_DELETE);
  ASSERT_EQ(boxes.Seen().size(), 1u);
  EXPECT_EQ(boxes.Seen()[0].text, Wide(kClearRefusedMessage.text));
  EXPECT_EQ(boxes.Seen()[0].caption, L"テープカン Error");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n100\r\n-25\r\n");
  EXPECT_EQ(TextOf(shell().total), L"75");
  WaitForSingleObject(holder.hProcess, 10000);
  CloseHandle(holder.hThread);
  CloseHandle(holder.hProcess);
  CloseHandle(held);
}

TEST_F(Commands, EnterInTheMainWindowFocusesTheEntryBox) {
  Open();
  SetFocus(main_);
  KeyDown(main_, VK_RETURN);
  EXPECT_EQ(GetFocus(), shell().entry);
}

TEST_F(Commands, AboutBoxShowsItsTextsAndCloses) {
  Open();
  DialogWatcher dialogs(IDOK);
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_ABOUT, 0), 1);
  ASSERT_EQ(dialogs.Seen().size(), 1u);
  const SeenDialog& about = dialogs.Seen()[0];
  EXPECT_EQ(about.caption, L"テプカン");
  const std::vector<std::wstring>& texts = about.texts;
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[1], L"テプカン: ver 1.34");
  EXPECT_EQ(texts[2], L"履歴表示計算機 for windows");
  EXPECT_EQ(texts[3], L"小数点2桁まで対応^^;　まぁｲｲﾔぁ");
  EXPECT_EQ(texts.back(), L"OK");
  EXPECT_EQ(about.rect.right, 160);
  EXPECT_EQ(about.rect.bottom, 80);
  EXPECT_EQ(GetFocus(), shell().entry);
}

TEST_F(Commands, AboutBoxEndsWithEscapeToo) {
  Open();
  DialogWatcher cancelled(IDCANCEL);
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_ABOUT, 0), 1);
  EXPECT_EQ(cancelled.Seen().size(), 1u);
}

// Holds the Alt key down in this thread's keyboard state while it lives.
class AltHeld {
 public:
  AltHeld() {
    GetKeyboardState(saved_);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
  }
  ~AltHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

TEST_F(Commands, AboutAcceleratorGoesToTheWindowOfTheMessage) {
  Open();
  HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN));
  ASSERT_NE(accelerators, nullptr);
  const LPARAM alt = 1 << 29;
  AltHeld held;
  DialogWatcher dialogs(IDOK);
  for (wchar_t key : {L'?', L'/'}) {
    MSG fromEntry{shell().entry, WM_SYSCHAR, key, alt, 0, {}};
    EXPECT_NE(TranslateAcceleratorW(fromEntry.hwnd, accelerators, &fromEntry), 0);
  }
  EXPECT_TRUE(dialogs.Seen().empty());  // the entry box got the command
  MSG fromMain{main_, WM_SYSCHAR, L'/', alt, 0, {}};
  EXPECT_NE(TranslateAcceleratorW(fromMain.hwnd, accelerators, &fromMain), 0);
  ASSERT_EQ(dialogs.Seen().size(), 1u);
  EXPECT_EQ(dialogs.Seen()[0].caption, L"テプカン");
}

TEST_F(Commands, EveryMenuCommandReachesItsHandler) {
  Open();
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_TRANSFER, 0), 1);
  EXPECT_NE(shell().viewer, nullptr);
  SendMessageW(shell().viewer, WM_COMMAND, IDOK, 0);
  {
    DialogWatcher dialogs(IDCANCEL);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_PAGE_SETUP, 0), 1);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_PRINT, 0), 1);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_BACKGROUND_COLOUR, 0), 0);
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_ENTRY_FONT, 0), 0);
    EXPECT_GE(dialogs.Seen().size(), 4u);
  }
  for (int id : {IDM_AUTO_EXPAND, IDM_AUTO_MODE, IDM_TOPMOST, IDM_TRANSPARENCY}) {
    EXPECT_EQ(SendMessageW(main_, WM_COMMAND, id, 0), 1);
    EXPECT_TRUE(Checked(id)) << id;
  }
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_SAVE_SETTINGS, 0), 1);
  EXPECT_TRUE(Grayed(IDM_SAVE_SETTINGS));
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_SINGLE_INSTANCE, 0), 1);
  EXPECT_TRUE(Checked(IDM_SINGLE_INSTANCE));
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, 9999, 0), 0);  // not ours: DefWindowProc
  EXPECT_EQ(SendMessageW(main_, WM_COMMAND, IDM_EXIT, 0), 1);
  EXPECT_FALSE(IsWindow(main_));
}

}  // namespace
}  // namespace tapecount::testing
