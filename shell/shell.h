// The shell's state: one record living from start-up to exit. The window procedures find it
// once, from their window, and pass it on by reference.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "child_controls.h"
#include "common_dialogs.h"
#include "core/release.h"
#include "export.h"
#include "handles.h"
#include "session.h"
#include "settings.h"
#include "shell/model/window_model.h"
#include "win32_display.h"
#include "workers.h"

namespace tapecount {

struct Shell {
  Shell(const Release& release, HINSTANCE instance);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  const Release& release;
  HINSTANCE instance;
  std::wstring windowName;  // string IDS_WINDOW_NAME
  std::wstring className;   // string IDS_CLASS_NAME
  OwnedMutex mutex;         // the single-instance guard's
  // The settings file as start-up read it for the guard, for the window to apply: read once.
  std::optional<StoredModes> storedAtStartUp;
  // A start with a kept tape: the tape to take back once the window exists.
  std::optional<std::wstring> restart;
  // Where the tape goes if the session ends; chosen when Windows first asks.
  std::wstring journalPath;

  ShellWindows windows;
  WNDPROC entryBoxDefault = nullptr;  // the edit control's own procedure
  GdiObject<HFONT> largeFont;
  GdiObject<HFONT> smallFont;
  EntryAppearance appearance;
  FileSettingsStore settingsStore{appearance};
  PageSetup pageSetup;
  CommonDialogs dialogs;
  Fades fades;

  Win32Display display{*this};
  WindowModel model{display, release};
};

// The record of a window the shell created; null for any other window.
Shell* ShellOf(HWND window);

}  // namespace tapecount
