// The settings file "tapecount.ini" in the current directory, read and written whole, and
// the entry box's colours and font, which the colour and font dialogs choose.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "handles.h"
#include "shell/model/window_model.h"

namespace tapecount {

struct Shell;

// The entry box's look: the colour dialog's record (its rgbResult is the background), the
// font dialog's record (its rgbColors is the text colour) and the entry font.
struct EntryAppearance {
  EntryAppearance();
  EntryAppearance(const EntryAppearance&) = delete;
  EntryAppearance& operator=(const EntryAppearance&) = delete;

  COLORREF customColours[16] = {};
  CHOOSECOLORW colour{};
  LOGFONTW entryFont{};
  CHOOSEFONTW font{};
  GdiObject<HFONT> entryFontHandle;  // none until the font dialog is first used
  GdiObject<HBRUSH> background;      // the brush the entry box paints with
  COLORREF backgroundColour = 0;     // the colour of that brush
};

// The settings file on disk: the modes with the entry box's colours and font.
class FileSettingsStore final : public SettingsStore {
 public:
  explicit FileSettingsStore(const EntryAppearance& look) : look_(look) {}
  bool Save(const StoredModes& stored) override;
  Text Location() const override;

 private:
  const EntryAppearance& look_;
};

// Start-up, before the window exists: the file is read once, for the guard and, later, for
// the window.
void ReadSingleInstanceSetting(Shell& shell);
// Right after the window is shown: the stored modes applied.
void LoadSettings(Shell& shell);
// The save-settings command, and the single-instance guard's (which saves at once).
LRESULT SaveSettings(Shell& shell);
LRESULT ToggleSingleInstance(Shell& shell);

// The records belong to the main window; called while it is being created.
void InitEntryAppearance(EntryAppearance& look, HWND owner);
// The background colour and entry font commands: 1 when the user chose, else 0.
LRESULT ChooseBackgroundColour(Shell& shell);
LRESULT ChooseEntryFont(Shell& shell);
// WM_CTLCOLOREDIT: the entry box's colours, and the brush it paints with.
HBRUSH EntryBoxColours(EntryAppearance& look, HDC dc);

}  // namespace tapecount
