// The session's end: the tape to its journal, and a restart showing it again.
#include <windows.h>

#include <regex>

#include "support/failing_allocations.h"
#include "support/failing_calls.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Session : public ShellTest {
 protected:
  // Windows ends the session: asked first, then told.
  void EndSession(bool ending) {
    EXPECT_EQ(SendMessageW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    SendMessageW(main_, WM_ENDSESSION, ending, ENDSESSION_CLOSEAPP);
  }
};
TAPECOUNT_BOTH_RELEASES(Session);

// Nothing written while the session goes on; a restart takes back only a journal of its own.
TEST_P(Session, TheTapeOutlastsTheSessionAndComesBackWhole) {
  Open();
  Type(L"100\n25-*3\n7\n8\n9\n10\n0.1\n-");  // the headers scrolled out, '-' pending
  const std::wstring input = InputPane(), totals = ReadWindowText(windows().totalPane),
                     total = ReadWindowText(windows().total), title = Title();
  EndSession(false);  // another program said no
  EXPECT_EQ(FileBytes(shell_->journalPath), "");
  EndSession(true);
  const std::wstring journal = shell_->journalPath;
  ASSERT_TRUE(std::regex_search(journal, std::wregex(LR"(tapecount\\tape-\d{8}-\d{6}-\d+\.txt$)")));
  Close();

  Open(Wide(RestartCommandLine({ToText(journal), ToText(directory_)})));
  EXPECT_EQ(InputPane(), input);
  EXPECT_EQ(ReadWindowText(windows().totalPane), totals);
  EXPECT_EQ(ReadWindowText(windows().total), total);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(GetFileAttributesW(journal.c_str()), INVALID_FILE_ATTRIBUTES);  // taken back
  Close();
  const std::wstring foreign = directory_ + L"\\foreign.txt";
  WriteBytes(foreign, "\xEF\xBB\xBFnot a tape\r\n");
  Open(L"/restore \"" + foreign + L"\"");
  EXPECT_EQ(InputPane(), L"入力履歴\r\n");
  EXPECT_EQ(FileBytes(foreign), "\xEF\xBB\xBFnot a tape\r\n");  // left alone
  DeleteFileW(foreign.c_str());
}

// Restarted from another folder, the program runs in the tape's folder and shows the tape.
TEST_P(Session, AProgramStartedWithTheRestartLineShowsTheTape) {
  if (!Is134()) {
    GTEST_SKIP() << "one program is enough";
  }
  Open();
  Type(L"12\n30--");  // '-' pending
  EndSession(true);
  const std::wstring journal = shell_->journalPath;
  Close();
  WriteSettings(directory_, L"[セッテイング]\r\n最前面表示=1\r\n");
  const std::wstring elsewhere = ScratchDirectory();
  Process program = Process::Program(
      TAPECOUNT_EXE, elsewhere, Wide(RestartCommandLine({ToText(journal), ToText(directory_)})));
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ReadWindowText(window),
            L"「 - 」: : : 前表示");  // the settings of the folder it ran in
  EXPECT_NE(FindWindowExW(window, nullptr, L"Static", L"-18"), nullptr);  // the total
  EXPECT_EQ(GetFileAttributesW(journal.c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveScratchDirectory(elsewhere);
}

// A tape dropped on the program in Explorer comes back, the program running in its own folder;
// any other file given so gives an ordinary start where it was started, and is left alone.
TEST_P(Session, ATapeDroppedOnTheProgramComesBackInItsFolder) {
  if (!Is134()) {
    GTEST_SKIP() << "one program is enough";
  }
  const std::wstring folder = ScratchDirectory();
  const std::wstring program = folder + L"\\tapecount.exe";
  ASSERT_TRUE(CopyFileW(WinePath(TAPECOUNT_EXE).c_str(), program.c_str(), FALSE));
  WriteSettings(folder, L"[セッテイング]\r\n最前面表示=1\r\n");
  const std::wstring tape = directory_ + L"\\kept tape.txt";
  WriteBytes(tape, WriteJournal({{{u'+', false, 12, u"12\t12"}}, u'-'}));
  {
    const Process started = Process::Program(program, directory_, L"\"" + tape + L"\"");
    HWND window = started.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ReadWindowText(window), L"「 - 」: : : 前表示");  // the program's folder's settings
    EXPECT_NE(FindWindowExW(window, nullptr, L"Static", L"12"), nullptr);
    EXPECT_EQ(GetFileAttributesW(tape.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  const std::wstring notes = directory_ + L"\\notes.txt";
  WriteBytes(notes, "\xEF\xBB\xBFnot a tape\r\n");
  for (const std::wstring& file : {notes, directory_ + L"\\missing.txt", folder}) {
    const Process started = Process::Program(program, directory_, file);
    EXPECT_EQ(ReadWindowText(started.MainWindow()), L"「 + 」: : : ") << file;
  }
  EXPECT_EQ(FileBytes(notes), "\xEF\xBB\xBFnot a tape\r\n");
  DeleteFileW(notes.c_str());
  DeleteFileW(program.c_str());
  RemoveScratchDirectory(folder);
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
    const std::optional<KeptTape> taken = TakeRestartRequest(tape.c_str());
    FailAllocations(0);
    return taken ? taken->path : L"none";
  };
  EXPECT_EQ(take({TAPECOUNT_FAILING(GetModuleFileNameW, 1, kEveryCall)}, 0), tape);
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(current, directory_);
  EXPECT_EQ(take({TAPECOUNT_FAILING(GetFullPathNameW, 1, 1)}, 0), L"none");
  EXPECT_EQ(take({}, 1), L"none");
  EXPECT_NE(GetFileAttributesW(tape.c_str()), INVALID_FILE_ATTRIBUTES);  // left alone
  DeleteFileW(tape.c_str());
}

}  // namespace
}  // namespace tapecount::testing
