// Each Windows failure the program looks at: what the user sees; all else as it was.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <imm.h>

#include <cctype>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "export.h"
#include "resource.h"
#include "support/failing_calls.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

enum class Act { Transfer, ClearAll, Fades, Rows, Print, Font, Key, Save, Logoff, Start, Guard };
enum Box { kNoBox, kClearRefused, kNoPrinter, kPrintFailed, kImeRelease, kNotSaved };

using Counts = std::vector<std::pair<const char*, int>>;
struct Row {
  const char* outcome;  // the call, and what the user sees; its name is what comes before ':'
  Act act;
  std::vector<CallFailure> calls;
  Box box;
  Counts counts;   // calls made, where they tell
  LRESULT result;  // the action's
  bool held;       // the settings file, by another program, until it is let go
};
Row Case(const char* outcome, Act act, std::vector<CallFailure> calls, Box box = kNoBox,
         Counts counts = {}, LRESULT result = 1, bool held = false) {
  return {outcome, act, std::move(calls), box, std::move(counts), result, held};
}
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.outcome;
}
// The program ends with 0 before its loop.
Row Ends(const char* outcome, CallFailure call) {
  return Case(outcome, Act::Start, {call}, kNoBox, {}, 0);
}

// The message boxes asked for, answered at once: text, caption, style and owner.
std::wstring BoxSeen(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT style) {
  return text + L"|" + caption + L"|" + std::to_wstring(style) + L"|" +
         std::to_wstring(reinterpret_cast<std::uintptr_t>(owner));
}
std::vector<std::wstring> g_boxes;
int WINAPI RecordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  g_boxes.push_back(BoxSeen(owner, text, caption != nullptr ? caption : L"", style));
  return IDOK;
}

// The print dialog hands back a device context of its own, in place of a printer's.
BOOL WINAPI PrintToMemory(PRINTDLGW* print) {
  print->hDC = CreateCompatibleDC(nullptr);
  print->nCopies = 1;
  return TRUE;
}

// The font dialog chooses red text.
BOOL WINAPI ChooseRed(CHOOSEFONTW* font) {
  font->rgbColors = RGB(255, 0, 0);
  return TRUE;
}

// The save's first wait after a refusal: the other program lets go meanwhile.
std::optional<HeldFile> g_held;
void WINAPI LetGoOfTheFile(DWORD) {
  g_held->LetGo();
}

#define FAILS TAPECOUNT_FAILING
#define COUNTED TAPECOUNT_COUNTING
constexpr int kAll = kEveryCall;
// Wine gives the entry box no input context: one stands in, and its calls are answered.
std::vector<CallFailure> Ime(BOOL opened, BOOL released) {
  return {FAILS(ImmGetContext, 1, kAll, 0x1234), FAILS(ImmSetOpenStatus, 1, kAll, opened),
          FAILS(ImmReleaseContext, 1, kAll, released)};
}

// A print job on the dialog's memory device context, every call taking it but `failing`.
std::vector<CallFailure> Printing(CallFailure failing) {
  std::vector<CallFailure> calls = {failing, FAILS(PrintDlgW, 1, kAll, 0, 0, &PrintToMemory)};
  for (CallFailure call :
       {FAILS(StartDocW, 1, kAll, 1), FAILS(StartPage, 1, kAll, 1), FAILS(EndPage, 1, kAll, 1),
        FAILS(EndDoc, 1, kAll, 1), COUNTED(AbortDoc)}) {
    if (std::string(call.function) != failing.function) {
      calls.push_back(call);
    }
  }
  return calls;
}
const Counts kAborted = {{"AbortDoc", 1}, {"EndDoc", 0}};
const Counts kNoFile = {{"CreateFileW", 0}};

const Row kRows[] = {
    Case("GlobalAlloc, transfer: 'could not transfer', the clipboard as it was", Act::Transfer,
         {FAILS(GlobalAlloc, 1, 1), COUNTED(OpenClipboard)}, kNoBox, {{"OpenClipboard", 0}}),
    Case("GlobalAlloc, clear-all: 'nothing cleared', the clipboard as it was", Act::ClearAll,
         {FAILS(GlobalAlloc, 1, 1), COUNTED(OpenClipboard)}, kClearRefused, {{"OpenClipboard", 0}}),
    Case("OpenClipboard, another program holding it: 'nothing cleared'", Act::ClearAll,
         {FAILS(OpenClipboard, 1, kAll, FALSE, ERROR_ACCESS_DENIED)}, kClearRefused),
    Case("EmptyClipboard, transfer: 'could not transfer', the clipboard as it was", Act::Transfer,
         {FAILS(EmptyClipboard, 1, 1)}),
    Case("SetClipboardData, transfer: 'could not transfer', the clipboard emptied, no leak",
         Act::Transfer, {FAILS(SetClipboardData, 1, 1), COUNTED(GlobalFree)}, kNoBox,
         {{"GlobalFree", 1}}),

    Case("_beginthreadex, fade-in and fade-out: no fade, the next one fades", Act::Fades,
         {FAILS(_beginthreadex, 1, 2)}),
    Case("_beginthreadex, screen-row check: measured on the window thread", Act::Rows,
         {FAILS(_beginthreadex, 1, kAll)}),
    Case("GetMonitorInfoW: the screen-row check as for a single screen", Act::Rows,
         {FAILS(GetMonitorInfoW, 1, kAll)}),
    Case("PostMessageW, the queue full: the check's result handed back once there is room",
         Act::Rows, {FAILS(PostMessageW, 1, 3, FALSE, ERROR_NOT_ENOUGH_QUOTA)}, kNoBox,
         {{"PostMessageW", 4}}),
    Case("PostMessageW and _beginthreadex: measured on the window thread, handed back at once",
         Act::Rows,
         {FAILS(_beginthreadex, 1, kAll),
          FAILS(PostMessageW, 1, kAll, FALSE, ERROR_NOT_ENOUGH_QUOTA)}),

    Case("PrintDlgW, no printer: 'No default printer selected.', blank blocks freed", Act::Print,
         {FAILS(PrintDlgW, 1, kAll), FAILS(CommDlgExtendedError, 1, kAll, PDERR_NODEFAULTPRN),
          COUNTED(GlobalFree)},
         kNoPrinter, {{"GlobalFree", 2}}),
    Case("StartDocW: 'could not print', no pages, the device context deleted", Act::Print,
         {FAILS(PrintDlgW, 1, kAll, 0, 0, &PrintToMemory), FAILS(StartDocW, 1, kAll, SP_ERROR),
          COUNTED(StartPage), COUNTED(DeleteDC)},
         kPrintFailed, {{"StartPage", 0}, {"DeleteDC", 1}}),
    Case("StartPage: 'could not print', the job aborted", Act::Print,
         Printing(FAILS(StartPage, 1, 1)), kPrintFailed, kAborted),
    Case("DrawTextW: the same", Act::Print, Printing(FAILS(DrawTextW, 1, 1)), kPrintFailed,
         kAborted),
    Case("EndPage: the same", Act::Print, Printing(FAILS(EndPage, 1, 1)), kPrintFailed, kAborted),
    Case("EndDoc: 'could not print', the job over", Act::Print, Printing(FAILS(EndDoc, 1, 1)),
         kPrintFailed, {{"AbortDoc", 0}}),
    Case("CreateFontIndirectW, a font chosen: the entry box keeps its font and colours", Act::Font,
         {FAILS(ChooseFontW, 1, kAll, 0, 0, &ChooseRed), FAILS(CreateFontIndirectW, 1, kAll)},
         kNoBox, {}, 0),

    Case("GetEnvironmentVariableW, the session ending: no tape kept, nothing said", Act::Logoff,
         {FAILS(GetEnvironmentVariableW, 1, kAll), COUNTED(CreateFileW)}, kNoBox, kNoFile, 0),
    Case("GetEnvironmentVariableW, changed once measured: the same", Act::Logoff,
         {FAILS(GetEnvironmentVariableW, 2, kAll), COUNTED(CreateFileW)}, kNoBox, kNoFile, 0),
    Case("CreateDirectoryW, the session ending: the same", Act::Logoff,
         {FAILS(CreateDirectoryW, 1, kAll, FALSE, ERROR_ACCESS_DENIED), COUNTED(CreateFileW)},
         kNoBox, kNoFile, 0),

    Ends("CreateWindowExW, the main window: the program ends with 0 before its loop",
         FAILS(CreateWindowExW, 1, 1)),
    Ends("CreateWindowExW, the entry box: the same", FAILS(CreateWindowExW, 2, 2)),
    Ends("CreateWindowExW, the status bar: the same", FAILS(CreateWindowExW, 8, 8)),
    Ends("SetWindowLongPtrW, the window's record: the same",
         FAILS(SetWindowLongPtrW, 1, 1, 0, ERROR_ACCESS_DENIED)),
    Ends("SetWindowLongPtrW, the entry box's record: the same",
         FAILS(SetWindowLongPtrW, 2, 2, 0, ERROR_ACCESS_DENIED)),
    Ends("SetWindowLongPtrW, the entry box's procedure: the same",
         FAILS(SetWindowLongPtrW, 3, 3, 0, ERROR_ACCESS_DENIED)),
    Ends("LoadStringW, the class's name: the same", FAILS(LoadStringW, 1, kAll)),
    Case("CreateMutexW: the program starts, unguarded", Act::Guard,
         {FAILS(CreateMutexW, 1, 1, 0, ERROR_INVALID_HANDLE)}),
    Case("CreateMutexW, denied by another user's copy: a beep, and the end", Act::Guard,
         {FAILS(CreateMutexW, 1, 1, 0, ERROR_ACCESS_DENIED)}, kNoBox, {}, 0),

    Case("ImmGetContext: no input method to close, the key handled", Act::Key,
         {FAILS(ImmGetContext, 1, kAll), COUNTED(ImmReleaseContext)}, kNoBox,
         {{"ImmReleaseContext", 0}}),
    Case("ImmSetOpenStatus: the key handled, the context released", Act::Key, Ime(FALSE, TRUE),
         kNoBox, {{"ImmReleaseContext", 1}}),
    Case("ImmReleaseContext: 'ImmReleaseContext Error', then the key handled", Act::Key,
         Ime(TRUE, FALSE), kImeRelease),

    Case("CreateFileW, reading: 'could not save' (it answers -1, no handle), not tried again",
         Act::Save, {FAILS(CreateFileW, 1, 1, -1, ERROR_NOT_READY)}, kNotSaved,
         {{"CreateFileW", 1}}),
    Case("CreateFileW, the new file: 'could not save'", Act::Save,
         {FAILS(CreateFileW, 2, 2, -1, ERROR_DISK_FULL)}, kNotSaved, {{"CreateFileW", 2}}),
    Case("WriteFile: 'could not save'", Act::Save, {FAILS(WriteFile, 1, 1, FALSE, ERROR_DISK_FULL)},
         kNotSaved),
    Case("FlushFileBuffers: 'could not save'", Act::Save,
         {FAILS(FlushFileBuffers, 1, 1, FALSE, ERROR_IO_DEVICE)}, kNotSaved),
    Case("MoveFileExW: 'could not save', not tried again", Act::Save,
         {FAILS(MoveFileExW, 1, 1, FALSE, ERROR_WRITE_PROTECT)}, kNotSaved, {{"MoveFileExW", 1}}),
    Case("MoveFileExW, the file open elsewhere for a moment: saved", Act::Save,
         {FAILS(MoveFileExW, 1, 2, FALSE, ERROR_SHARING_VIOLATION)}, kNoBox, {{"MoveFileExW", 3}}),
    Case("GetCurrentDirectoryW: saved all the same, to the current directory's file", Act::Save,
         {FAILS(GetCurrentDirectoryW, 1, kAll)}),
    Case("GetFileAttributesW, a read-only file: 'could not save', left as it is", Act::Save,
         {FAILS(GetFileAttributesW, 1, 1, FILE_ATTRIBUTE_READONLY)}, kNotSaved),
    Case("Another program holding the file longer than a save waits: 'could not save'", Act::Save,
         {COUNTED(MoveFileExW)}, kNotSaved, {{"MoveFileExW", 0}}, 1, true),
    Case("Another program holding the file for a moment: saved once it lets go", Act::Save,
         {COUNTED(MoveFileExW), FAILS(Sleep, 1, 1, 0, 0, &LetGoOfTheFile)}, kNoBox,
         {{"MoveFileExW", 1}, {"Sleep", 1}}, 1, true),
};

class Failures : public ShellTest,
                 public ::testing::WithParamInterface<std::tuple<const Release*, Row>> {
 protected:
  Failures() : ShellTest(*std::get<0>(GetParam())) {}

  // What the user sees: the tape, the total, the title, the status bar, the clipboard, Save.
  std::vector<std::wstring> View() const {
    const wchar_t* save = Grayed(IDM_SAVE_SETTINGS) ? L"saved" : L"unsaved";
    return {InputPane(), ReadWindowText(windows().total), Title(), StatusText(), ClipboardText(),
            save};
  }

  // The action's result, with the row's calls failing and every message box recorded.
  LRESULT Armed(const Row& row) {
    std::vector<CallFailure> calls = row.calls;
    calls.push_back(FAILS(MessageBoxW, 1, kAll, 0, 0, &RecordBox));
    const FailingCalls failing(calls);
    const LRESULT result = Do(row.act);
    for (const auto& [function, count] : row.counts) {
      EXPECT_EQ(failing.Calls(function), count) << function;
    }
    return result;
  }

  LRESULT Do(Act act) {
    switch (act) {
      case Act::Transfer:
        return Command(IDM_TRANSFER);
      case Act::ClearAll:
        return PressInEntry(VK_DELETE);
      case Act::Fades: {
        SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        const LRESULT result = SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, -1));
        EXPECT_EQ(Alpha(), release().transparentAlpha);
        return result;
      }
      case Act::Rows:  // to where there is no room below
        MoveTo(50, GetSystemMetrics(SM_CYMAXIMIZED));
        WaitForScreenRowChecks();
        return 1;
      case Act::Print:
        return Command(IDM_PRINT);
      case Act::Font: {
        const auto look = EntryLook();
        const LRESULT result = Command(IDM_ENTRY_FONT);
        EXPECT_EQ(EntryLook(), look);
        return result;
      }
      case Act::Key:
        return PressInEntry(VK_RETURN);
      case Act::Save:
        return Command(IDM_SAVE_SETTINGS);
      case Act::Logoff:
        return SendMessageW(main_, WM_ENDSESSION, TRUE, 0);
      case Act::Guard:
        return AcquireSingleInstance(
            *std::make_unique<Shell>(release(), GetModuleHandleW(nullptr)));
      default: {
        PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 7, 0);  // a loop that ran ends at once
        const int result = TapecountMain(GetModuleHandleW(nullptr), L"", SW_SHOWNORMAL, release());
        HWND left = FindWindowW(L"TPCT", nullptr);  // a window made would have lost its record
        SetWindowLongPtrW(left, GWLP_USERDATA, 0);
        DestroyWindow(left);
        PumpMessages();
        return left == nullptr ? result : -1;
      }
    }
  }

  std::vector<std::wstring> ExpectedBoxes(Box box) const {
    const std::wstring error = L"テープカン Error";
    const std::wstring boxes[] = {
        L"",
        BoxSeen(main_, Wide(kClearRefusedMessage.text), error, MB_ICONWARNING),
        BoxSeen(main_, L"No default printer selected.", L"Print", MB_ICONERROR),
        BoxSeen(main_, L"印刷できませんでした。", error, MB_ICONWARNING),
        BoxSeen(windows().entry, L"ImmReleaseContext Error", error, MB_ICONWARNING),
        BoxSeen(main_, L"設定を保存できませんでした。\n" + Path(), error, MB_ICONWARNING)};
    return box == kNoBox ? std::vector<std::wstring>() : std::vector<std::wstring>{boxes[box]};
  }
};

// The row's name: its outcome up to ':', its letters and digits, '_' between words.
std::string NameOf(const Row& row) {
  std::string name;
  for (const char* c = row.outcome; *c != ':'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
      name += *c;
    } else if (name.back() != '_') {
      name += '_';
    }
  }
  return name;
}
INSTANTIATE_TEST_SUITE_P(Releases, Failures,
                         ::testing::Combine(::testing::Values(&kRelease134, &kRelease127),
                                            ::testing::ValuesIn(kRows)),
                         [](const auto& info) {
                           return NameOf(std::get<1>(info.param)) + "_" +
                                  ReleaseName(std::get<0>(info.param));
                         });

TEST_P(Failures, ShowsItsOutcomeAndLosesNothing) {
  const Row& row = std::get<1>(GetParam());
  if (row.act == Act::Fades && !release().fades) {
    GTEST_SKIP() << "this release has no fades";
  }
  WriteSettings(directory_, row.act == Act::Guard ? L"[セッテイング]\r\n2重起動防止=1\r\n"
                                                  : L"[他]\r\nkeep=me\r\n");
  g_boxes.clear();
  if (row.act == Act::Start || row.act == Act::Guard) {
    EXPECT_EQ(Armed(row), row.result);
    EXPECT_EQ(g_boxes, std::vector<std::wstring>());
    return;
  }
  Open();
  Type(L"100\n25-");
  // A mode that leaves the settings unsaved: transparency, auto mode (a check's result shown as
  // auto-expand's mark) or auto-expand.
  PressInEntry(row.act == Act::Fades ? VK_F4 : row.act == Act::Rows ? VK_F2 : VK_F1);
  WaitForScreenRowChecks();
  CopyHistoryToClipboard(main_, u"kept");
  std::vector<std::wstring> expected = View();
  const std::string file = FileBytes(Path());
  if (row.held) {
    g_held.emplace(Path());
  }
  EXPECT_EQ(Armed(row), row.result);
  g_held.reset();  // let go, for the file to be read
  EXPECT_EQ(g_boxes, ExpectedBoxes(row.box));
  // A save without a box went through; a clipboard that refused the data had been emptied.
  const bool saved = row.act == Act::Save && row.box == kNoBox;
  expected[2] = row.act == Act::Rows ? L"「 + 」: : ｵｰﾄ: " : expected[2];  // auto-expand off
  expected[3] = row.act == Act::Transfer ? Wide(kTransferFailedStatus) : expected[3];
  expected[4] = std::string(row.calls[0].function) == "SetClipboardData" ? L"" : expected[4];
  expected[5] = saved ? L"saved" : expected[5];  // else the user can try again
  EXPECT_EQ(View(), expected);
  EXPECT_EQ(FileBytes(Path()) == file, !saved) << "whether the file changed";
  EXPECT_EQ(FilesUnder(directory_), std::vector<std::wstring>{Path()}) << "a file left behind";
  if (row.act == Act::Fades) {  // threads to be had again: the pointer's next crossing fades
    SendMessageW(main_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(WaitUntil([&] { return Alpha() == 255; })) << "alpha " << Alpha();
  }
}

}  // namespace
}  // namespace tapecount::testing
