// The history leaving the program: the clipboard, the clipboard viewer and the printer.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace tapecount {

struct Shell;

// The page-setup record, kept for the whole run; filled while the main window is created.
struct PageSetup {
  PageSetup() = default;
  PageSetup(const PageSetup&) = delete;
  PageSetup& operator=(const PageSetup&) = delete;
  ~PageSetup();

  PAGESETUPDLGW record{};
};

// Window creation: margins of an inch, the device blocks zeroed, owned by `owner`.
void InitPageSetup(PageSetup& setup, HWND owner);
// Puts the text on the clipboard as CF_UNICODETEXT, waiting briefly for a clipboard that
// another program holds. False when it could not.
bool CopyHistoryToClipboard(const std::wstring& text);
// Command 166: the history to the clipboard, and the viewer opened.
LRESULT TransferHistory(Shell& shell);
// Command 167.
LRESULT ShowPageSetup(Shell& shell);
// Command 168.
LRESULT PrintHistory(Shell& shell);
INT_PTR CALLBACK ClipboardViewer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
