// The history leaving the program: the clipboard, the clipboard viewer and the printer.
#pragma once

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace tapecount {

// The page-setup record, kept for the whole run; filled while the main window is created.
struct PageSetup {
  PageSetup() = default;
  PageSetup(const PageSetup&) = delete;
  PageSetup& operator=(const PageSetup&) = delete;
  ~PageSetup();

  PAGESETUPDLGW record{};
};

// The print rectangle in device pixels for margins in thousandths of an inch, each cut to
// whole inches.
struct DeviceMetrics {
  int pixelsPerInchX, pixelsPerInchY;
  int offsetX, offsetY;  // PHYSICALOFFSETX, PHYSICALOFFSETY
  int width, height;     // HORZRES, VERTRES
};
RECT PrintRectangle(const DeviceMetrics& device, const RECT& margins);

void InitPageSetup(HWND owner);
// Puts the text on the clipboard as CF_UNICODETEXT, waiting briefly for a clipboard that
// another program holds. False when it could not.
bool CopyHistoryToClipboard(const std::wstring& text);
// Command 166: the history to the clipboard, and the viewer opened.
LRESULT TransferHistory();
// Command 167.
LRESULT ShowPageSetup();
// Command 168.
LRESULT PrintHistory(HWND owner);
INT_PTR CALLBACK ClipboardViewer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tapecount
