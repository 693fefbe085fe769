// The shell's state: the program record (start-up to exit) and the main window's record
// (its creation to its destruction), each with one owner.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/calculator.h"
#include "export.h"
#include "handles.h"
#include "history/tape.h"
#include "modes.h"
#include "settings.h"

namespace tapecount {

class WindowView;

struct Program {
  HINSTANCE instance = nullptr;
  HANDLE mutex = nullptr;  // the single-instance guard's mutex
  bool singleInstance = false;
  std::wstring windowName;  // string IDS_WINDOW_NAME
  std::wstring className;   // string IDS_CLASS_NAME
};

// The four fields of the title, joined by ": ".
struct TitleFields {
  std::wstring mode;
  std::wstring autoExpand;
  std::wstring autoMode;
  std::wstring topmost;
};

struct Shell {
  Shell();
  ~Shell();

  HWND main = nullptr;
  HWND entry = nullptr;
  HWND lastEntry = nullptr;
  HWND total = nullptr;
  HWND totalLabel = nullptr;
  HWND inputPane = nullptr;
  HWND totalPane = nullptr;
  HWND status = nullptr;
  HWND viewer = nullptr;               // the clipboard viewer, while it is open
  HWND nextClipboardViewer = nullptr;  // the viewer after ours in the clipboard chain
  HMENU menu = nullptr;
  WNDPROC entryBoxDefault = nullptr;  // the edit control's own procedure

  TitleFields title;
  // What the title bar and the status bar show now: setting the same text again costs a
  // repaint of each, on every entry.
  std::wstring shownTitle;
  std::wstring shownStatus;
  GdiObject<HFONT> largeFont;
  GdiObject<HFONT> smallFont;
  MENUITEMINFOW itemState{};  // the one record every menu state change goes through
  ModeState modes;
  EntryAppearance appearance;
  PageSetup pageSetup;

  std::unique_ptr<WindowView> view;
  std::unique_ptr<Tape> tape;
  std::unique_ptr<Calculator> calculator;
};

Program& TheProgram();
// The main window's record; only between its WM_CREATE and its WM_NCDESTROY.
Shell& TheShell();
bool HasShell();

void RebuildTitle();
void FocusEntryBox();

}  // namespace tapecount
