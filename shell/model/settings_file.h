// The settings file "tapecount.ini" as the program reads and writes it itself, without the
// window system: its bytes decoded, values found the way the platform's private-profile
// functions find them, and a save composed as the whole new file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text.h"
#include "shell/model/window_model.h"

namespace tapecount {

inline constexpr char16_t kSettingsSection[] = u"セッテイング";
// The keys, in the order a save writes them.
inline constexpr char16_t kKeyAutoExpand[] = u"autoexpand";
inline constexpr char16_t kKeyAutoMode[] = u"auto_mode";
inline constexpr char16_t kKeyTopmost[] = u"最前面表示";
inline constexpr char16_t kKeySingleInstance[] = u"2重起動防止";
inline constexpr char16_t kKeyTransparency[] = u"透明化";
inline constexpr char16_t kKeyBackgroundColour[] = u"背景色";
inline constexpr char16_t kKeyTextColour[] = u"前景色";
inline constexpr char16_t kKeyFontCharset[] = u"フォント";

// Larger files are not the program's: they read as all defaults and are never rewritten.
inline constexpr std::size_t kLargestSettingsFile = 1 << 20;

// The value's leading decimal integer, read as a string-to-long conversion reads it, is not
// zero: "1", "2", "-1" and "1x" are on; "", "0", "-0" and "x" are off.
bool FlagValueIsOn(TextView value);

// The code pages the platform knows: each gives the text, or nothing when the bytes are not
// valid in it.
// (Plain functions, so a program's own decoders are built by the compiler, not at start-up.)
struct Decoders {
  std::optional<Text> (*shiftJis)(std::string_view);
  std::optional<Text> (*ansi)(std::string_view);
};

// The file's text: UTF-16 with a byte-order mark (either order); UTF-8 with one, or valid
// UTF-8 that is not plain ASCII (as editors save it); Shift-JIS when it decodes cleanly and
// holds the section name (as copies on Japanese systems wrote it); else the ANSI code page.
Text DecodeSettingsFile(std::string_view bytes, const Decoders& decoders);

// A value as the private-profile functions find it: section and key names matched ignoring
// ASCII case, white space around names and values ignored, the first matching section and
// key win, a value in matching quotes unquoted, values cut to 99 units. Nothing when the
// section or the key is missing.
std::optional<Text> FindValue(TextView file, TextView section, TextView key);

// The modes and the guard as the file holds them; a missing key is off.
StoredModes ReadStoredModes(TextView file);
// The same from the file's bytes; all off when there is no memory to read them (as for a
// file that cannot be read at all).
StoredModes ReadStoredModes(std::string_view bytes, const Decoders& decoders) noexcept;

// Every key of a save, in its order, with its value.
using SettingsValues = std::vector<std::pair<Text, Text>>;
SettingsValues ValuesToSave(const StoredModes& stored, long background, long text, int charset);

// The whole file after a save: in the first section of the program's name, each key's first
// line is replaced where it stands and missing keys follow the section's last line; the
// section, when missing, is added at the end. Every other line stays exactly as it was.
Text ComposeSettingsFile(TextView file, const SettingsValues& values);

// UTF-16, little-endian, with a byte-order mark: the one form the program writes.
std::string EncodeUtf16(TextView text);

// The save's dealings with the file system, decided here and done by the shell. A save writes
// the whole new file beside the old one, then moves it over the old one.

// A read-only file is the user's word that it stays as it is: the save leaves it alone (moving
// a new file over it would replace it all the same on some systems).
bool SaveMayReplace(bool exists, bool readOnly);

// Another program may hold the file for a moment (a virus scanner, an indexer, an editor): a
// step that meets a sharing violation or a denied access is tried again every kSaveRetryMs,
// until kSaveWaitMs after the save began, since a save holds up the window.
enum class FileError { SharingViolation, AccessDenied, Other };
inline constexpr unsigned long kSaveRetryMs = 20;
inline constexpr unsigned long kSaveWaitMs = 500;
bool SaveTriesAgain(FileError error, unsigned long elapsedMs);

// The new file's name for a save's `attempt` (0, 1, ...): "<path>.<process>-<attempt>", the
// process's own; a name already taken gives the next attempt, up to a hundred. Nothing past
// the last.
std::optional<Text> TemporarySettingsPath(TextView path, unsigned long process, int attempt);

}  // namespace tapecount
