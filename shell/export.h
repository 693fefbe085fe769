// The history leaving the program: the clipboard, the clipboard viewer and the printer.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <string>

#include "core/text.h"
#include "handles.h"

namespace tapecount {

struct Shell;

// The page-setup record, kept for the whole run, with the device blocks it names: owned
// here, whichever dialog handed them over last.
class PageSetup {
 public:
  PageSetup() = default;
  PageSetup(const PageSetup&) = delete;
  PageSetup& operator=(const PageSetup&) = delete;

  // Window creation: margins of an inch, the device blocks zeroed, owned by `owner`.
  void Init(HWND owner);
  PAGESETUPDLGW& Record() { return record_; }
  // After a dialog: the blocks it left become the record's. One it replaced was the dialog's
  // to reallocate or free: it is let go without being freed.
  void TakeBlocksFromDialog(HGLOBAL devMode, HGLOBAL devNames);
  // The dialogs refuse the zeroed blocks: until a dialog has filled them, they go, so the
  // next dialog starts from the default printer.
  void ReleaseUnfilledBlocks();

 private:
  PAGESETUPDLGW record_{};
  GlobalBlock devMode_;
  GlobalBlock devNames_;
};

// Puts the text on the clipboard as CF_UNICODETEXT, `owner` the clipboard's owner, waiting
// briefly for a clipboard that another program holds. False when it could not.
bool CopyHistoryToClipboard(HWND owner, const Text& text);
// The transfer command: the history to the clipboard, and the clipboard viewer opened.
LRESULT TransferHistory(Shell& shell);
// The page setup command: the dialog, its margins and paper kept for printing.
LRESULT ShowPageSetup(Shell& shell);
// The print command: the print dialog, then the history printed.
LRESULT PrintHistory(Shell& shell);
INT_PTR CALLBACK ClipboardViewer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
