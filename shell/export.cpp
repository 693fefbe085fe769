#include "export.h"

#include "main_window.h"
#include "release_choice.h"
#include "resource.h"
#include "shell.h"
#include "wide.h"
#include "window_view.h"

namespace tapecount {

namespace {

// Another program holding the clipboard usually lets go within milliseconds.
constexpr int kClipboardAttempts = 20;
constexpr DWORD kClipboardRetryMs = 10;

bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
    if (OpenClipboard(owner)) {
      return true;
    }
    Sleep(kClipboardRetryMs);
  }
  return false;
}

std::wstring ComposedHistory(HistoryLayout layout) {
  return Wide(TheShell().tape->ComposeHistoryText(layout));
}

HGLOBAL ZeroedBlock(SIZE_T size) {
  return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
}

// A device-names block not yet filled by a dialog names no printer.
bool NamesAPrinter(HGLOBAL deviceNames) {
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(deviceNames));
  const bool named = names != nullptr && names->wDeviceOffset != 0;
  GlobalUnlock(deviceNames);
  return named;
}

// The dialogs refuse the record's zeroed device blocks: until a dialog has filled them,
// they are handed over empty, so the dialog starts from the default printer.
void ReleaseUnfilledDeviceBlocks(PAGESETUPDLGW& record) {
  if (record.hDevNames != nullptr && !NamesAPrinter(record.hDevNames)) {
    GlobalFree(record.hDevNames);
    GlobalFree(record.hDevMode);
    record.hDevNames = nullptr;
    record.hDevMode = nullptr;
  }
}

// Keeps the printer chosen in the print dialog for the next page setup and print.
void AdoptDeviceBlocks(PAGESETUPDLGW& record, const PRINTDLGW& print) {
  if (print.hDevMode != record.hDevMode && record.hDevMode != nullptr) {
    GlobalFree(record.hDevMode);
  }
  if (print.hDevNames != record.hDevNames && record.hDevNames != nullptr) {
    GlobalFree(record.hDevNames);
  }
  record.hDevMode = print.hDevMode;
  record.hDevNames = print.hDevNames;
}

void LeaveClipboardChain(HWND dialog) {
  Shell& shell = TheShell();
  ChangeClipboardChain(dialog, shell.nextClipboardViewer);
  shell.nextClipboardViewer = nullptr;
}

void PaintClipboardText(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  if (OpenClipboard(dialog)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
        RECT client{};
        GetClientRect(dialog, &client);
        DrawTextW(dc, text, -1, &client, DT_WORDBREAK);
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  EndPaint(dialog, &paint);
}

}  // namespace

PageSetup::~PageSetup() {
  if (record.hDevMode != nullptr) {
    GlobalFree(record.hDevMode);
  }
  if (record.hDevNames != nullptr) {
    GlobalFree(record.hDevNames);
  }
}

RECT PrintRectangle(const DeviceMetrics& device, const RECT& margins) {
  RECT rect;
  rect.left = device.pixelsPerInchX * (margins.left / 1000) - device.offsetX;
  rect.top = device.pixelsPerInchY * (margins.top / 1000) - device.offsetY;
  rect.right = device.width - device.pixelsPerInchX * (margins.right / 1000) - device.offsetX;
  rect.bottom = device.height - device.pixelsPerInchY * (margins.bottom / 1000) - device.offsetY;
  return rect;
}

void InitPageSetup(HWND owner) {
  PAGESETUPDLGW& record = TheShell().pageSetup.record;
  record = PAGESETUPDLGW{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.hDevMode = ZeroedBlock(sizeof(DEVMODEW));
  record.hDevNames = ZeroedBlock(sizeof(DEVNAMES));
  record.Flags = PSD_MARGINS | PSD_INTHOUSANDTHSOFINCHES;
  record.rtMargin = {1000, 1000, 1000, 1000};
}

bool CopyHistoryToClipboard(const std::wstring& text) {
  if (!OpenClipboardPatiently(nullptr)) {
    return false;
  }
  bool copied = false;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, bytes)) {
    if (void* target = GlobalLock(block)) {
      memcpy(target, text.c_str(), bytes);
      GlobalUnlock(block);
      copied = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
    if (!copied) {
      GlobalFree(block);  // the clipboard did not take it
    }
  }
  CloseClipboard();
  return copied;
}

LRESULT TransferHistory() {
  Shell& shell = TheShell();
  const bool copied = CopyHistoryToClipboard(ComposedHistory(kRelease.clipboardLayout));
  shell.view->SetStatusText(copied ? kTransferDoneStatus : kTransferFailedStatus);
  if (shell.viewer != nullptr) {
    return 0;  // it repaints itself: the clipboard changed
  }
  shell.viewer = CreateDialogParamW(TheProgram().instance, MAKEINTRESOURCEW(IDD_CLIPBOARD_VIEWER),
                                    shell.main, ClipboardViewer, 0);
  FocusEntryBox();
  return 1;
}

LRESULT ShowPageSetup() {
  PAGESETUPDLGW& record = TheShell().pageSetup.record;
  ReleaseUnfilledDeviceBlocks(record);
  PageSetupDlgW(&record);
  return 1;
}

LRESULT PrintHistory(HWND owner) {
  const std::wstring text = ComposedHistory(HistoryLayout::Print);
  PAGESETUPDLGW& setup = TheShell().pageSetup.record;
  ReleaseUnfilledDeviceBlocks(setup);

  PRINTDLGW print{};
  print.lStructSize = sizeof print;
  print.hwndOwner = owner;
  print.hDevMode = setup.hDevMode;
  print.hDevNames = setup.hDevNames;
  print.Flags = PD_RETURNDC;
  const BOOL chosen = PrintDlgW(&print);
  AdoptDeviceBlocks(setup, print);
  if (!chosen) {
    if (CommDlgExtendedError() == PDERR_NODEFAULTPRN) {
      MessageBoxW(owner, L"No default printer selected.", L"Print", MB_ICONERROR);
    }
    return 1;
  }

  HDC dc = print.hDC;
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = L"テプカン";
  const DeviceMetrics device{GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY),
                             GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
                             GetDeviceCaps(dc, HORZRES),         GetDeviceCaps(dc, VERTRES)};
  RECT area = PrintRectangle(device, setup.rtMargin);
  if (StartDocW(dc, &document) > 0) {
    // One page per copy: what does not fit on it is not printed.
    for (WORD copy = 0; copy < print.nCopies; ++copy) {
      StartPage(dc);
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_WORDBREAK);
      EndPage(dc);
    }
    EndDoc(dc);
  }
  DeleteDC(dc);
  return 1;
}

INT_PTR CALLBACK ClipboardViewer(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      TheShell().nextClipboardViewer = SetClipboardViewer(dialog);
      return TRUE;
    case WM_PAINT:
      PaintClipboardText(dialog);
      return FALSE;
    case WM_DRAWCLIPBOARD:
      if (HWND next = TheShell().nextClipboardViewer) {
        SendMessageW(next, message, wParam, lParam);
      }
      InvalidateRect(dialog, nullptr, TRUE);
      return FALSE;
    case WM_CHANGECBCHAIN: {
      HWND& next = TheShell().nextClipboardViewer;
      if (reinterpret_cast<HWND>(wParam) == next) {
        next = reinterpret_cast<HWND>(lParam);
      } else if (next != nullptr) {
        SendMessageW(next, message, wParam, lParam);
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        DestroyWindow(dialog);
        FocusEntryBox();
        return TRUE;
      }
      return FALSE;  // Escape (IDCANCEL) among the rest: the viewer stays
    case WM_DESTROY:
      // By OK or with the main window: the viewer leaves the chain either way.
      if (HasShell()) {
        LeaveClipboardChain(dialog);
        TheShell().viewer = nullptr;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tapecount
