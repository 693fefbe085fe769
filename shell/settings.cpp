#include "settings.h"

#include <cstring>
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

bool StartsWith(const std::string& bytes, const char* prefix) {
  return bytes.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string InCodePage(UINT codePage, const std::wstring& text) {
  const int size = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
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

// The private-profile functions keep a file in the encoding they find, and create a missing
// one in the ANSI code page: on a non-Japanese system the Japanese section and key names
// would turn into "?" there, and three keys would collide. So the file is made UTF-16 first
// (with a byte-order mark, which they keep) where the ANSI code page cannot carry it:
// - a missing file, before a save creates it;
// - an ANSI file before a save, decoded as Shift-JIS when it holds the section name in
//   Shift-JIS (written by a copy on a Japanese system), else in the ANSI code page;
// - before a read, an ANSI file holding the Shift-JIS section name, so it can be read.
// On a Japanese system ANSI files are left as they are: they read and write correctly there,
// and earlier copies keep reading them.
void PrepareSettingsFile(const std::wstring& path, bool forSaving) {
  const FileBytes file = ReadSettingsBytes(path);
  if (!file.found) {
    if (forSaving) {
      WriteUnicodeFile(path, L"");
    }
    return;
  }
  const std::string& bytes = file.bytes;
  if (file.tooLarge || StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") ||
      StartsWith(bytes, "\xEF\xBB\xBF") || GetACP() == kShiftJis) {
    return;
  }
  const std::wstring section = std::wstring(L"[") + kSettingsSection + L"]";
  const bool shiftJis = bytes.find(InCodePage(kShiftJis, section)) != std::string::npos;
  if (!shiftJis && !forSaving) {
    return;
  }
  const UINT codePage = shiftJis ? kShiftJis : CP_ACP;
  const int length =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                      length);
  WriteUnicodeFile(path, text);
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
  const std::wstring path = SettingsPath();
  PrepareSettingsFile(path, false);
  TheProgram().singleInstance = ReadFlag(kKeySingleInstance, path);
}

void LoadSettings() {
  const std::wstring path = SettingsPath();
  PrepareSettingsFile(path, false);
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
  PrepareSettingsFile(path, true);
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
