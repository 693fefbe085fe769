// The session's end: the tape to its journal, and a restart showing it again.
#include <windows.h>

#include <filesystem>

#include "support/failing_calls.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Session : public ReleaseTest {
 protected:
  // Windows ends the session: asked first, then told, with no memory left by then when asked.
  void EndSession(bool ending, bool memoryGone = false) {
    EXPECT_EQ(SendMessageW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    FailAllocations(memoryGone ? 1 : 0, kEveryCall);
    SendMessageW(main_, WM_ENDSESSION, ending, ENDSESSION_CLOSEAPP);
    FailAllocations(0);
  }
};
TAPECOUNT_BOTH_RELEASES(Session);

// Nothing written while the session goes on; the tape kept even with no memory left, and the
// restart takes it back whole.
TEST_P(Session, TheTapeOutlastsTheSessionAndComesBackWhole) {
  Open();
  for (int i = 0; i < 1500; ++i) {  // a journal longer than the buffer it is written through
    Type(L"1234.5\n");
  }
  Type(L"100\n25-*3\n7\n8\n9\n10\n0.1\n-");  // the headers scrolled out, '-' pending
  const std::wstring input = InputPane(), total = ReadWindowText(windows().total);
  EndSession(false);  // another program said no
  EXPECT_EQ(FileBytes(shell_->journalPath), "");
  EndSession(true, true);
  const std::wstring journal = shell_->journalPath;
  ASSERT_NE(FileBytes(journal), "");
  Close();

  const DialogWatcher boxes;  // none: a box would say the tape did not come back
  Open(Wide(RestartCommandLine({ToText(journal), ToText(directory_)})));
  EXPECT_EQ(boxes.Seen().size(), 0u);
  EXPECT_EQ(InputPane(), input);  // the headers still scrolled out
  EXPECT_EQ(ReadWindowText(windows().total), total);
  EXPECT_EQ(GetFileAttributesW(journal.c_str()), INVALID_FILE_ATTRIBUTES);  // taken back
}

// Started with a tape by the restart line, the program runs in the folder the line names; with
// the tape alone (as Explorer starts it with a file dropped on it), in its own folder. Any
// other file gives an ordinary start where it was started, and is left alone.
TEST_P(Session, AProgramStartedWithATapeShowsItWithTheSettingsOfItsFolder) {
  if (!Is134()) {
    GTEST_SKIP() << "one program is enough";
  }
  const std::wstring folder = ScratchDirectory(), program = folder + L"\\tapecount.exe",
                     elsewhere = ScratchDirectory(), tape = directory_ + L"\\kept tape.txt",
                     notes = directory_ + L"\\notes.txt";
  ASSERT_TRUE(CopyFileW(WinePath(TAPECOUNT_EXE).c_str(), program.c_str(), FALSE));
  WriteSettings(folder, L"[セッテイング]\r\n最前面表示=1\r\n");
  WriteSettings(directory_, L"[セッテイング]\r\nautoexpand=1\r\n");
  const std::pair<std::wstring, const wchar_t*> starts[] = {
      {Wide(RestartCommandLine({ToText(tape), ToText(directory_)})), L"「 - 」: 自動拡張: : "},
      {L"\"" + tape + L"\"", L"「 - 」: : : 前表示"}};
  for (const auto& [line, title] : starts) {
    WriteBytes(
        tape, WriteJournal({{{u'+', false, 12, u"12\t12"}, {u'-', false, 30, u"-30\t-18"}}, u'-'}));
    const Process started = Process::Program(program, elsewhere, line);
    HWND window = started.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ReadWindowText(window), title);
    EXPECT_NE(FindWindowExW(window, nullptr, L"Static", L"-18"), nullptr);  // the total
    EXPECT_EQ(GetFileAttributesW(tape.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  WriteBytes(notes, "\xEF\xBB\xBFnot a tape\r\n");
  for (const std::wstring& line :
       {L"\"" + notes + L"\"", L"/restore " + notes, directory_ + L"\\missing.txt", folder}) {
    const Process started = Process::Program(program, elsewhere, line);
    EXPECT_EQ(ReadWindowText(started.MainWindow()), L"「 + 」: : : ") << line;
  }
  EXPECT_EQ(FileBytes(notes), "\xEF\xBB\xBFnot a tape\r\n");
  RemoveScratchDirectory(folder);
  RemoveScratchDirectory(elsewhere);
}

// Without the program's folder the tape still comes back, where the program was started;
// without the tape's full path, or memory for the tape, the start is an ordinary one.
TEST_P(Session, ADroppedTapeWithoutItsFoldersOrMemory) {
  if (!Is134()) {
    GTEST_SKIP() << "one program is enough";
  }
  const std::wstring tape = directory_ + L"\\tape.txt";
  WriteBytes(tape, WriteJournal({{{u'+', false, 12, u"12\t12"}}, u'+'}));
  const auto take = [&](const std::vector<CallFailure>& calls, std::size_t failFrom) {
    const FailingCalls failing(calls);
    FailAllocations(failFrom, failFrom > 0 ? kEveryCall : 0);
    const std::optional<std::wstring> taken = TakeRestartRequest(tape.c_str());
    FailAllocations(0);
    return taken.value_or(L"none");
  };
  const auto current = [] { return std::filesystem::current_path().wstring(); };
  EXPECT_EQ(take({TAPECOUNT_FAILING(GetModuleFileNameW, 1, kEveryCall)}, 0), tape);
  EXPECT_EQ(current(), directory_);
  // The program's path longer than the room first given: the folder is had all the same.
  EXPECT_EQ(take({TAPECOUNT_FAILING(GetModuleFileNameW, 1, 1, MAX_PATH)}, 0), tape);
  EXPECT_NE(current(), directory_);
  EXPECT_EQ(take({TAPECOUNT_FAILING(GetFullPathNameW, 1, 1)}, 0), L"none");
  EXPECT_EQ(take({}, 1), L"none");
  EXPECT_NE(GetFileAttributesW(tape.c_str()), INVALID_FILE_ATTRIBUTES);  // left alone
}

}  // namespace
}  // namespace tapecount::testing
