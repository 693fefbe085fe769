#include "settings.h"

#include <cwchar>

#include "modes.h"
#include "resource.h"
#include "shell.h"

namespace tapecount {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

bool ReadFlag(const wchar_t* key, const std::wstring& path) {
  wchar_t value[100];
  const DWORD length =
      GetPrivateProfileStringW(kSettingsSection, key, L"0", value, 100, path.c_str());
  return length > 0 && FlagValueIsOn(std::wstring(value, length));
}

void WriteValue(const wchar_t* key, const std::wstring& value, const std::wstring& path) {
  WritePrivateProfileStringW(kSettingsSection, key, value.c_str(), path.c_str());
}

const wchar_t* FlagText(bool on) {
  return on ? L"1" : L"0";
}

// The private-profile functions create a missing file in the ANSI code page, where the
// Japanese section and key names would not survive on a non-Japanese system. A file that
// starts as UTF-16 with a byte-order mark is kept in UTF-16 by them.
void CreateUnicodeSettingsFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;  // it exists already, or cannot be made: the writes report nothing either
  }
  const unsigned char byteOrderMark[] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file, byteOrderMark, sizeof byteOrderMark, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

EntryAppearance::EntryAppearance() {
  colour.lStructSize = sizeof colour;
  colour.rgbResult = kWhite;
  colour.lpCustColors = customColours;
  colour.Flags = CC_RGBINIT | CC_FULLOPEN;

  entryFont.lfHeight = 18;
  entryFont.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy(entryFont.lfFaceName, L"ＭＳ 明朝");

  font.lStructSize = sizeof font;
  font.lpLogFont = &entryFont;
  font.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  font.rgbColors = RGB(0, 0, 0);
}

std::wstring SettingsPath() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring directory(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, directory.data());
  directory.resize(length < needed ? length : 0);
  return directory + L"\\tapecount.ini";
}

bool FlagValueIsOn(const std::wstring& value) {
  // The leading decimal integer, read as a string-to-long conversion reads it.
  std::size_t i = 0;
  while (i < value.size() && (value[i] == L' ' || (value[i] >= L'\t' && value[i] <= L'\r'))) {
    ++i;
  }
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) {
    ++i;
  }
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    if (value[i] != L'0') {
      return true;
    }
  }
  return false;
}

void ReadSingleInstanceSetting() {
  TheProgram().singleInstance = ReadFlag(kKeySingleInstance, SettingsPath());
}

void LoadSettings() {
  const std::wstring path = SettingsPath();
  ReadFlag(kKeyAutoExpand, path) ? AutoExpandOn() : AutoExpandOff();
  ReadFlag(kKeyAutoMode, path) ? AutoModeOn() : AutoModeOff();
  ReadFlag(kKeyTopmost, path) ? TopmostOn() : TopmostOff();
  TheProgram().singleInstance = ReadFlag(kKeySingleInstance, path);
  SetItemState(IDM_SINGLE_INSTANCE, TheProgram().singleInstance ? kItemChecked : kItemUnchecked);
  ReadFlag(kKeyTransparency, path) ? TransparencyOn() : TransparencyOff();
  TheShell().modes.settingsDirty = false;
  SetItemState(IDM_SAVE_SETTINGS, kItemGrayed);
}

void SaveSettings() {
  const std::wstring path = SettingsPath();
  CreateUnicodeSettingsFile(path);
  Shell& shell = TheShell();
  const ModeState& modes = shell.modes;
  WriteValue(kKeyAutoExpand, FlagText(modes.autoExpand), path);
  WriteValue(kKeyAutoMode, FlagText(modes.autoMode), path);
  WriteValue(kKeyTopmost, FlagText(modes.topmost), path);
  WriteValue(kKeySingleInstance, FlagText(TheProgram().singleInstance), path);
  WriteValue(kKeyTransparency, FlagText(modes.transparent), path);
  const EntryAppearance& look = shell.appearance;
  WriteValue(kKeyBackgroundColour, std::to_wstring(static_cast<int>(look.colour.rgbResult)), path);
  WriteValue(kKeyTextColour, std::to_wstring(static_cast<int>(look.font.rgbColors)), path);
  WriteValue(kKeyFontCharset, std::to_wstring(static_cast<int>(look.entryFont.lfCharSet)), path);
  shell.modes.settingsDirty = false;
  SetItemState(IDM_SAVE_SETTINGS, kItemGrayed);
}

void ToggleSingleInstance() {
  bool& guard = TheProgram().singleInstance;
  guard = !guard;
  SetItemState(IDM_SINGLE_INSTANCE, guard ? kItemChecked : kItemUnchecked);
  SaveSettings();
}

void InitEntryAppearance(HWND owner) {
  EntryAppearance& look = TheShell().appearance;
  look.colour.hwndOwner = owner;
  look.font.hwndOwner = owner;
}

int ChooseBackgroundColour() {
  return ChooseColorW(&TheShell().appearance.colour) ? 1 : 0;
}

int ChooseEntryFont() {
  Shell& shell = TheShell();
  EntryAppearance& look = shell.appearance;
  if (!ChooseFontW(&look.font)) {
    return 0;
  }
  HFONT chosen = CreateFontIndirectW(&look.entryFont);
  SendMessageW(shell.entry, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
  // The entry box no longer uses the font chosen before, so it can go.
  look.entryFontHandle.Reset(chosen);
  return 1;
}

HBRUSH EntryBoxColours(HDC dc) {
  EntryAppearance& look = TheShell().appearance;
  SetBkMode(dc, OPAQUE);
  SetTextColor(dc, look.font.rgbColors);
  SetBkColor(dc, look.colour.rgbResult);
  // One brush per colour, not one per paint: the entry box paints all day.
  if (look.background.Get() == nullptr || look.backgroundColour != look.colour.rgbResult) {
    look.background.Reset(CreateSolidBrush(look.colour.rgbResult));
    look.backgroundColour = look.colour.rgbResult;
  }
  return look.background.Get();
}

}  // namespace tapecount
