#include "export.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "handles.h"
#include "resource.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

// Another program holding the clipboard usually lets go within milliseconds.
constexpr int kClipboardAttempts = 20;
constexpr DWORD kClipboardRetryMs = 10;

HGLOBAL ZeroedBlock(SIZE_T size) {
  return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
}

// A device-names block not yet filled by a dialog names no printer.
bool NamesAPrinter(HGLOBAL deviceNames) {
  const GlobalLocked<const DEVNAMES> names(deviceNames);
  return names.Get() != nullptr && names.Get()->wDeviceOffset != 0;
}

void PaintClipboardText(HWND dialog) {
  const PaintScope paint(dialog);
  HDC dc = paint.Dc();
  if (const ClipboardOpen clipboard(dialog); clipboard) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const GlobalLocked<const wchar_t> text(data); text.Get() != nullptr) {
        // Another program's text may lack its terminator: it ends with its block at the latest.
        const std::size_t length = wcsnlen(text.Get(), GlobalSize(data) / sizeof(wchar_t));
        RECT client{};
        GetClientRect(dialog, &client);
        DrawTextW(dc, text.Get(), static_cast<int>(std::min<std::size_t>(length, INT_MAX)), &client,
                  DT_WORDBREAK);
      }
    }
  }
}

// One page per copy: what does not fit on it is not printed. False when the job failed: a
// page that failed aborts it, and nothing of it is printed.
bool PrintCopies(HDC dc, const Text& text, RECT area, WORD copies) {
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = L"テプカン";
  PrintJob job(dc, document);
  if (!job) {
    return false;
  }
  for (WORD copy = 0; copy < copies; ++copy) {
    PrintPage page(dc);
    if (!page ||
        DrawTextW(dc, WinText(text), static_cast<int>(text.size()), &area, DT_WORDBREAK) == 0 ||
        !page.End()) {
      return false;
    }
  }
  return job.End();
}

// The viewer belongs to the main window, whose record it shares.
Shell& ViewerShell(HWND dialog) {
  return *ShellOf(GetWindow(dialog, GW_OWNER));
}

}  // namespace

void PageSetup::Init(HWND owner) {
  devMode_.Reset(ZeroedBlock(sizeof(DEVMODEW)));
  devNames_.Reset(ZeroedBlock(sizeof(DEVNAMES)));
  record_ = PAGESETUPDLGW{};
  record_.lStructSize = sizeof record_;
  record_.hwndOwner = owner;
  record_.hDevMode = devMode_.Get();
  record_.hDevNames = devNames_.Get();
  record_.Flags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES;
  record_.rtMargin = {1000, 1000, 1000, 1000};
}

void PageSetup::TakeBlocksFromDialog(HGLOBAL devMode, HGLOBAL devNames) {
  for (auto [owned, handed] : {std::pair{&devMode_, devMode}, std::pair{&devNames_, devNames}}) {
    if (handed != owned->Get()) {
      owned->Take();
      owned->Reset(handed);
    }
  }
  record_.hDevMode = devMode_.Get();
  record_.hDevNames = devNames_.Get();
}

void PageSetup::ReleaseUnfilledBlocks() {
  if (devNames_ && !NamesAPrinter(devNames_.Get())) {
    devMode_.Reset();
    devNames_.Reset();
    record_.hDevMode = nullptr;
    record_.hDevNames = nullptr;
  }
}

bool CopyHistoryToClipboard(HWND owner, const Text& text) {
  // The block is filled before the clipboard is opened and emptied: when there is no memory
  // for it, the clipboard keeps what it had.
  const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
  GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, bytes));
  if (!block) {
    return false;
  }
  if (const GlobalLocked<wchar_t> target(block.Get()); target.Get() != nullptr) {
    memcpy(target.Get(), text.c_str(), bytes);
  } else {
    return false;
  }
  // Another program holding the clipboard usually lets go within milliseconds.
  for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
    // Emptied, the clipboard belongs to the window that opened it: with none, Windows
    // refuses the data.
    if (const ClipboardOpen clipboard(owner); clipboard) {
      if (!EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, block.Get()) == nullptr) {
        return false;  // the clipboard did not take it: the block is freed here
      }
      block.Take();  // the clipboard's now
      return true;
    }
    Sleep(kClipboardRetryMs);
  }
  return false;
}

LRESULT TransferHistory(Shell& shell) {
  shell.model.TransferHistory();
  if (shell.windows.viewer != nullptr) {
    return 0;  // it repaints itself: the clipboard changed
  }
  shell.windows.viewer = CreateDialogParamW(shell.instance, MAKEINTRESOURCEW(IDD_CLIPBOARD_VIEWER),
                                            shell.windows.main, ClipboardViewer, 0);
  SetFocus(shell.windows.entry);
  return 1;
}

LRESULT ShowPageSetup(Shell& shell) {
  PageSetup& setup = shell.pageSetup;
  setup.ReleaseUnfilledBlocks();
  PAGESETUPDLGW& record = setup.Record();
  shell.dialogs.PageSetupDialog(&record);
  setup.TakeBlocksFromDialog(record.hDevMode, record.hDevNames);
  return 1;
}

LRESULT PrintHistory(Shell& shell) {
  HWND owner = shell.windows.main;
  const Text text = shell.model.PrintedHistory();
  PageSetup& pageSetup = shell.pageSetup;
  pageSetup.ReleaseUnfilledBlocks();
  const PAGESETUPDLGW& setup = pageSetup.Record();

  PRINTDLGW print{};
  print.lStructSize = sizeof print;
  print.hwndOwner = owner;
  print.hDevMode = setup.hDevMode;
  print.hDevNames = setup.hDevNames;
  print.Flags = PD_RETURNDC;
  print.nCopies = 1;  // the dialog's first count when it has no device mode to take it from
  const BOOL chosen = shell.dialogs.PrintDialog(&print);
  pageSetup.TakeBlocksFromDialog(print.hDevMode, print.hDevNames);
  if (!chosen) {
    if (shell.dialogs.LastError() == PDERR_NODEFAULTPRN) {
      shell.display.ShowMessage(kNoDefaultPrinterMessage);
    }
    return 1;
  }

  const DeviceContext printer(print.hDC);  // the caller's to delete
  HDC dc = printer.Get();
  const PrintDevice device{GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY),
                           GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
                           GetDeviceCaps(dc, HORZRES),         GetDeviceCaps(dc, VERTRES)};
  const RECT& m = setup.rtMargin;
  const Box box = PrintRectangle(device, {m.left, m.top, m.right, m.bottom});
  if (!PrintCopies(dc, text, {box.left, box.top, box.right, box.bottom}, print.nCopies)) {
    shell.display.ShowMessage(kPrintFailedMessage);
  }
  return 1;
}

INT_PTR CALLBACK ClipboardViewer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ViewerShell(dialog).windows.nextClipboardViewer = SetClipboardViewer(dialog);
      return TRUE;
    case WM_PAINT:
      PaintClipboardText(dialog);
      return FALSE;
    case WM_DRAWCLIPBOARD:
      if (HWND next = ViewerShell(dialog).windows.nextClipboardViewer) {
        SendMessageW(next, message, wParam, lParam);
      }
      InvalidateRect(dialog, nullptr, TRUE);
      return FALSE;
    case WM_CHANGECBCHAIN: {
      HWND& next = ViewerShell(dialog).windows.nextClipboardViewer;
      if (reinterpret_cast<HWND>(wParam) == next) {
        next = reinterpret_cast<HWND>(lParam);
      } else if (next != nullptr) {
        SendMessageW(next, message, wParam, lParam);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        HWND entry = ViewerShell(dialog).windows.entry;
        DestroyWindow(dialog);
        SetFocus(entry);
        return TRUE;
      }
      return FALSE;  // Escape (IDCANCEL) among the rest: the viewer stays
    case WM_DESTROY: {
      // By OK or with the main window: the viewer leaves the chain either way.
      ShellWindows& windows = ViewerShell(dialog).windows;
      ChangeClipboardChain(dialog, windows.nextClipboardViewer);
      windows.nextClipboardViewer = nullptr;
      windows.viewer = nullptr;
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace tapecount
