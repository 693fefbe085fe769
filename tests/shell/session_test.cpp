// The session's end: the tape to its journal, and a restart showing it again.
#include <windows.h>

#include <regex>

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

  Open(RestartRequest{ToText(journal), ToText(directory_)});
  EXPECT_EQ(InputPane(), input);
  EXPECT_EQ(ReadWindowText(windows().totalPane), totals);
  EXPECT_EQ(ReadWindowText(windows().total), total);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(GetFileAttributesW(journal.c_str()), INVALID_FILE_ATTRIBUTES);  // taken back
  Close();
  const std::wstring foreign = directory_ + L"\\foreign.txt";
  WriteBytes(foreign, "\xEF\xBB\xBFnot a tape\r\n");
  Open(RestartRequest{ToText(foreign), Text()});
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

}  // namespace
}  // namespace tapecount::testing
