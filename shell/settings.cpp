#include "settings.h"

#include <cwchar>
#include <new>

#include "files.h"
#include "shell.h"
#include "shell/model/settings_file.h"
#include "wide.h"

namespace tapecount {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

std::optional<Text> Decode(UINT codePage, DWORD flags, std::string_view bytes) {
  if (bytes.empty()) {
    return Text();
  }
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) {
    return std::nullopt;
  }
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length) != length) {
    return std::nullopt;
  }
  return ToText(text);
}

// Shift-JIS, as copies on Japanese systems wrote the file, only when it decodes cleanly.
const Decoders kDecoders{
    [](std::string_view bytes) { return Decode(932, MB_ERR_INVALID_CHARS, bytes); },
    [](std::string_view bytes) { return Decode(CP_ACP, 0, bytes); }};

// The current folder's "tapecount.ini", however long the folder's name.
std::wstring SettingsPath() {
  const std::wstring folder = CurrentFolder();
  // The folder's name unknown: the name alone still means its file.
  return folder.empty() ? L"tapecount.ini" : folder + L"\\tapecount.ini";
}

// A save's waits for another program that holds the file (SaveTriesAgain), timed from the
// save's start.
class SharingWait {
 public:
  // After a failure with `error`: true, once it has waited a little, when another try may
  // get through.
  bool Again(DWORD error) const {
    const FileError kind = error == ERROR_SHARING_VIOLATION ? FileError::SharingViolation
                           : error == ERROR_ACCESS_DENIED   ? FileError::AccessDenied
                                                            : FileError::Other;
    if (!SaveTriesAgain(kind, GetTickCount() - start_)) {
      return false;
    }
    Sleep(kSaveRetryMs);
    return true;
  }

 private:
  const DWORD start_ = GetTickCount();
};

// The settings file's text; nothing when it exists but cannot be read whole, or is larger
// than the program ever writes: then it reads as all defaults and is never rewritten.
std::optional<Text> ReadSettingsText(const std::wstring& path,
                                     const SharingWait& wait = SharingWait()) {
  FileHandle file;
  DWORD error = 0;
  do {
    file.Reset(CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = file ? 0 : GetLastError();
  } while (!file && wait.Again(error));
  if (!file) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? std::optional<Text>(Text())
               : std::nullopt;
  }
  const std::optional<std::string> bytes = ReadWhole(file, LONGLONG{kLargestSettingsFile});
  if (!bytes) {
    return std::nullopt;
  }
  return DecodeSettingsFile(*bytes, kDecoders);
}

// The new file moved over the old one, once another program lets go of it.
bool MoveOver(const std::wstring& from, const std::wstring& to, const SharingWait& wait) {
  while (
      !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (!wait.Again(GetLastError())) {
      return false;
    }
  }
  return true;
}

// The whole file goes to a new file beside it, flushed, then moved over the old one in one
// step: a crash at any moment leaves the old file or the new one, whole, and two copies
// saving at once leave one copy's file.
bool WriteSettingsText(const std::wstring& path, const Text& text, const SharingWait& wait) {
  const std::string bytes = EncodeUtf16(text);
  for (int attempt = 0;; ++attempt) {
    const std::optional<Text> name =
        TemporarySettingsPath(ToText(path), GetCurrentProcessId(), attempt);
    if (!name) {
      return false;
    }
    const std::wstring temporary = Wide(*name);
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      if (GetLastError() == ERROR_FILE_EXISTS) {
        continue;
      }
      return false;
    }
    const bool whole = WriteAll(file, bytes) && FlushFileBuffers(file.Get());
    file.Reset();
    if (whole && MoveOver(temporary, path, wait)) {
      return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
  }
}

StoredModes StoredModesFromFile() {
  try {
    return ReadStoredModes(ReadSettingsText(SettingsPath()).value_or(Text()));
  } catch (const std::bad_alloc&) {
    return {};  // as for a file that cannot be read
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

// Every key to the file, every other line of it kept; false when nothing could be written.
bool FileSettingsStore::Save(const StoredModes& stored) {
  const std::wstring path = SettingsPath();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (!SaveMayReplace(attributes != INVALID_FILE_ATTRIBUTES,
                      (attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
    return false;
  }
  const SharingWait wait;  // one wait for the whole save
  const std::optional<Text> old = ReadSettingsText(path, wait);
  return old &&
         WriteSettingsText(path,
                           ComposeSettingsFile(
                               *old, ValuesToSave(stored, look_.colour.rgbResult,
                                                  look_.font.rgbColors, look_.entryFont.lfCharSet)),
                           wait);
}

Text FileSettingsStore::Location() const {
  return ToText(SettingsPath());
}

void ReadSingleInstanceSetting(Shell& shell) {
  shell.storedAtStartUp = StoredModesFromFile();
  shell.model.SetSingleInstance(shell.storedAtStartUp->singleInstance);
}

void LoadSettings(Shell& shell) {
  shell.model.ApplySettings(shell.storedAtStartUp ? *shell.storedAtStartUp : StoredModesFromFile());
  shell.storedAtStartUp.reset();
}

LRESULT SaveSettings(Shell& shell) {
  shell.model.SaveSettings(shell.settingsStore);
  return 1;
}

LRESULT ToggleSingleInstance(Shell& shell) {
  shell.model.ToggleSingleInstance(shell.settingsStore);
  return 1;
}

void InitEntryAppearance(EntryAppearance& look, HWND owner) {
  look.colour.hwndOwner = owner;
  look.font.hwndOwner = owner;
}

LRESULT ChooseBackgroundColour(Shell& shell) {
  return shell.dialogs.ColourDialog(&shell.appearance.colour) ? 1 : 0;
}

LRESULT ChooseEntryFont(Shell& shell) {
  EntryAppearance& look = shell.appearance;
  const LOGFONTW font = look.entryFont;
  const COLORREF colour = look.font.rgbColors;
  if (!shell.dialogs.FontDialog(&look.font)) {
    return 0;
  }
  HFONT chosen = CreateFontIndirectW(&look.entryFont);
  if (chosen == nullptr) {  // no font to be had: the entry box keeps its look
    look.entryFont = font;
    look.font.rgbColors = colour;
    return 0;
  }
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
