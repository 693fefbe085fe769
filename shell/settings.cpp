#include "settings.h"

#include <cwchar>

#include "resource.h"
#include "shell.h"
#include "shell/model/settings_file.h"
#include "wide.h"

namespace tapecount {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

bool ReadFlag(const wchar_t* key, const std::wstring& path) {
  wchar_t value[100];
  const DWORD length =
      GetPrivateProfileStringW(kSettingsSection, key, L"0", value, 100, path.c_str());
  return length > 0 && FlagValueIsOn(ToText(std::wstring_view(value, length)));
}

void WriteValue(const wchar_t* key, const std::wstring& value, const std::wstring& path) {
  WritePrivateProfileStringW(kSettingsSection, key, value.c_str(), path.c_str());
}

const wchar_t* FlagText(bool on) {
  return on ? L"1" : L"0";
}

// The Japanese code page, in which copies on Japanese systems have written the file.
constexpr UINT kShiftJis = 932;
// Larger files are not the program's: they are read as they are, never rewritten.
constexpr DWORD kLargestConvertedFile = 1 << 20;

struct FileBytes {
  bool found = false;
  bool tooLarge = false;
  std::string bytes;
};

FileBytes ReadSettingsBytes(const std::wstring& path) {
  FileBytes file;
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return file;
  }
  file.found = true;
  LARGE_INTEGER size{};
  GetFileSizeEx(handle, &size);
  file.tooLarge = size.QuadPart > kLargestConvertedFile;
  if (!file.tooLarge && size.QuadPart > 0) {
    file.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(handle, file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &read,
                  nullptr)) {
      read = 0;
    }
    file.bytes.resize(read);
  }
  CloseHandle(handle);
  return file;
}

std::wstring Decoded(UINT codePage, const std::string& bytes) {
  const int length =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                      length);
  return text;
}

// Writes the file anew as UTF-16 with a byte-order mark, through a temporary file, so a
// failure leaves the old file as it was.
void WriteUnicodeFile(const std::wstring& path, const std::wstring& text) {
  const std::wstring temporary = path + L".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  const wchar_t byteOrderMark = 0xFEFF;
  DWORD written = 0;
  bool ok = WriteFile(file, &byteOrderMark, sizeof byteOrderMark, &written, nullptr) != 0;
  const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  ok = ok && (bytes == 0 || WriteFile(file, text.data(), bytes, &written, nullptr) != 0);
  CloseHandle(file);
  if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary.c_str());
  }
}

// Makes the file UTF-16 where the ANSI code page could not carry its Japanese names.
void PrepareSettingsFile(const std::wstring& path, bool forSaving) {
  const FileBytes file = ReadSettingsBytes(path);
  switch (
      PlanSettingsFile({file.found, file.tooLarge, file.bytes, GetACP() == kShiftJis, forSaving})) {
    case SettingsFilePlan::Leave:
      break;
    case SettingsFilePlan::CreateUnicode:
      WriteUnicodeFile(path, L"");
      break;
    case SettingsFilePlan::ConvertFromShiftJis:
      WriteUnicodeFile(path, Decoded(kShiftJis, file.bytes));
      break;
    case SettingsFilePlan::ConvertFromAnsi:
      WriteUnicodeFile(path, Decoded(CP_ACP, file.bytes));
      break;
  }
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

void ReadSingleInstanceSetting(Shell& shell) {
  const std::wstring path = SettingsPath();
  PrepareSettingsFile(path, false);
  shell.model.SetSingleInstance(ReadFlag(kKeySingleInstance, path));
}

void LoadSettings(Shell& shell) {
  const std::wstring path = SettingsPath();
  PrepareSettingsFile(path, false);
  StoredModes stored;
  stored.autoExpand = ReadFlag(kKeyAutoExpand, path);
  stored.autoMode = ReadFlag(kKeyAutoMode, path);
  stored.topmost = ReadFlag(kKeyTopmost, path);
  stored.singleInstance = ReadFlag(kKeySingleInstance, path);
  stored.transparent = ReadFlag(kKeyTransparency, path);
  shell.model.ApplySettings(stored);
}

LRESULT SaveSettings(Shell& shell) {
  const std::wstring path = SettingsPath();
  PrepareSettingsFile(path, true);
  const StoredModes modes = shell.model.ModesToSave();
  WriteValue(kKeyAutoExpand, FlagText(modes.autoExpand), path);
  WriteValue(kKeyAutoMode, FlagText(modes.autoMode), path);
  WriteValue(kKeyTopmost, FlagText(modes.topmost), path);
  WriteValue(kKeySingleInstance, FlagText(modes.singleInstance), path);
  WriteValue(kKeyTransparency, FlagText(modes.transparent), path);
  const EntryAppearance& look = shell.appearance;
  WriteValue(kKeyBackgroundColour, std::to_wstring(static_cast<int>(look.colour.rgbResult)), path);
  WriteValue(kKeyTextColour, std::to_wstring(static_cast<int>(look.font.rgbColors)), path);
  WriteValue(kKeyFontCharset, std::to_wstring(static_cast<int>(look.entryFont.lfCharSet)), path);
  shell.model.SettingsSaved();
  return 1;
}

LRESULT ToggleSingleInstance(Shell& shell) {
  shell.model.ToggleSingleInstance();
  return SaveSettings(shell);
}

void InitEntryAppearance(EntryAppearance& look, HWND owner) {
  look.colour.hwndOwner = owner;
  look.font.hwndOwner = owner;
}

LRESULT ChooseBackgroundColour(Shell& shell) {
  return ChooseColorW(&shell.appearance.colour) ? 1 : 0;
}

LRESULT ChooseEntryFont(Shell& shell) {
  EntryAppearance& look = shell.appearance;
  if (!ChooseFontW(&look.font)) {
    return 0;
  }
  HFONT chosen = CreateFontIndirectW(&look.entryFont);
  SendMessageW(shell.windows.entry, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
  // The entry box no longer uses the font chosen before, so it can go.
  look.entryFontHandle.Reset(chosen);
  return 1;
}

HBRUSH EntryBoxColours(EntryAppearance& look, HDC dc) {
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
