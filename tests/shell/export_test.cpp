// The history on the real clipboard, in the clipboard viewer and on the printer.
#include <windows.h>

#include <winspool.h>

#include <cstdlib>

#include "resource.h"
#include "wide.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

class Export : public ReleaseTest {};
TAPECOUNT_BOTH_RELEASES(Export);

TEST_P(Export, TransferPutsEveryRowOnTheClipboardAndOpensTheViewer) {
  Open();
  const std::wstring separator = Wide(release().clipboardSeparator);
  std::wstring expected = L"入力履歴" + separator + L"合計履歴\r\n";
  for (int i = 1; i <= 400; ++i) {  // hidden rows first, longer than 4096 units
    Type(std::to_wstring(i) + L"\n");
    expected += std::to_wstring(i) + separator + ReadWindowText(windows().total) + L"\r\n";
  }
  EXPECT_EQ(Command(IDM_TRANSFER), 1);
  EXPECT_EQ(ClipboardText(), expected);
  EXPECT_EQ(GetClipboardOwner(), main_);  // Windows refuses data on a clipboard with no owner
  HWND viewer = windows().viewer;
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(ReadWindowText(viewer), L"テプカン：ｸﾘｯﾌﾟﾎﾞｰﾄﾞ");
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), main_);
  EXPECT_EQ(GetFocus(), windows().entry);
  EXPECT_EQ(Command(IDM_TRANSFER), 0);  // no second viewer
  EXPECT_EQ(windows().viewer, viewer);
  // When the viewer after ours leaves the chain, the one after it becomes ours to pass on to.
  const HWND next = windows().nextClipboardViewer;
  SendMessageW(viewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(next),
               reinterpret_cast<LPARAM>(main_));
  EXPECT_EQ(windows().nextClipboardViewer, main_);
  SendMessageW(viewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(main_),
               reinterpret_cast<LPARAM>(next));

  MSG escape{viewer, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  IsDialogMessageW(viewer, &escape);  // as the message loop hands it over
  PumpMessages();
  EXPECT_TRUE(IsWindow(viewer));
  SendMessageW(viewer, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(windows().viewer, nullptr);
  EXPECT_EQ(GetClipboardViewer(), nullptr);  // it left the chain
  EXPECT_EQ(Command(IDM_TRANSFER), 1);
  viewer = windows().viewer;
  EXPECT_EQ(GetClipboardViewer(), viewer);
  Close();  // with the main window it goes, and leaves the chain
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(GetClipboardViewer(), nullptr);
}

TEST_P(Export, ViewerFollowsWhatAnotherProgramPutsOnTheClipboard) {
  Open();
  Command(IDM_TRANSFER);
  HWND viewer = windows().viewer;
  // The helper's change reaches the viewer as a sent message, taken while this thread waits;
  // the viewer asks to be repainted.
  const auto changed = [&](const wchar_t* change) {
    UpdateWindow(viewer);
    EXPECT_FALSE(GetUpdateRect(viewer, nullptr, FALSE)) << "painted before the change";
    Process helper = Process::Helper(change);
    bool invalidated = false;
    for (const DWORD end = GetTickCount() + 10000;
         !(invalidated = GetUpdateRect(viewer, nullptr, FALSE)) &&
         static_cast<int>(end - GetTickCount()) > 0;) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    EXPECT_EQ(helper.WaitForExit(10000), 0u) << change;
    return invalidated;
  };
  EXPECT_TRUE(changed(L"set \"from another program\""));
  EXPECT_TRUE(changed(L"other"));  // no text at all: a blank viewer
  UpdateWindow(viewer);
  EXPECT_FALSE(GetUpdateRect(viewer, nullptr, FALSE)) << "not painted";
}

// Cancelled, the dialogs change nothing; accepted, the record keeps valid device blocks.
TEST_P(Export, PageSetupAndPrintDialogsKeepTheirRecord) {
  Open();
  const PAGESETUPDLGW& record = shell_->pageSetup.Record();
  DWORD printerName = 0;
  GetDefaultPrinterW(nullptr, &printerName);
  const auto look = EntryLook();
  {
    DialogWatcher dialogs(IDCANCEL);
    EXPECT_EQ(Command(IDM_PRINT), 1);
    EXPECT_EQ(Command(IDM_BACKGROUND_COLOUR), 0);
    EXPECT_EQ(Command(IDM_ENTRY_FONT), 0);
    EXPECT_EQ(dialogs.Seen().size(), printerName > 0 ? 3u : 5u);
  }
  EXPECT_EQ(EntryLook(), look);
  if (printerName == 0) {
    GTEST_SKIP() << "no printer in this Wine prefix";
  }
  {
    DialogWatcher dialogs(IDOK);
    EXPECT_EQ(Command(IDM_PAGE_SETUP), 1);
  }
  ASSERT_NE(record.hDevNames, nullptr);  // a printer named: it was blank
  EXPECT_NE(GlobalLocked<const DEVNAMES>(record.hDevNames).Get()->wDeviceOffset, 0);
  {
    DialogWatcher dialogs(IDCANCEL);
    Command(IDM_PRINT);
  }
  EXPECT_NE(GlobalSize(record.hDevMode), 0u);
  EXPECT_NE(GlobalSize(record.hDevNames), 0u);
}

// Printing to a real printer: run by print-e2e.sh, which reads the PDF back.
TEST_P(Export, PrintsTheHistoryOnTheDefaultPrinter) {
  if (std::getenv("TAPECOUNT_PRINT_E2E") == nullptr || !Is134()) {
    GTEST_SKIP() << "printing end to end runs from print-e2e.sh";
  }
  Open();
  Type(L"100\n25-*3\n");
  DialogWatcher dialogs(IDOK);
  EXPECT_EQ(Command(IDM_PRINT), 1);
  ASSERT_EQ(dialogs.Seen().size(), 1u);
  EXPECT_EQ(dialogs.Seen()[0].text, L"") << "not the print dialog but a box";
}

}  // namespace
}  // namespace tapecount::testing
