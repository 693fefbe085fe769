// What the settings file's contents mean, decided without the window system: how a flag's
// value reads, and whether the file must be made UTF-16 before the platform's
// private-profile functions read or write it.
#pragma once

#include <string_view>

#include "core/text.h"

namespace tapecount {

// The value's leading decimal integer, read as a string-to-long conversion reads it, is not
// zero: "1", "2", "-1" and "1x" are on; "", "0", "-0" and "x" are off.
bool FlagValueIsOn(TextView value);

// "[セッテイング]" in Shift-JIS (code page 932), as copies on Japanese systems wrote it.
inline constexpr std::string_view kShiftJisSectionLine =
    "\x5b\x83\x5a\x83\x62\x83\x65\x83\x43\x83\x93\x83\x4f\x5d";

enum class SettingsFilePlan {
  Leave,                // read and write it as it is
  CreateUnicode,        // make an empty UTF-16 file first
  ConvertFromShiftJis,  // rewrite it as UTF-16, decoding it as Shift-JIS
  ConvertFromAnsi,      // rewrite it as UTF-16, decoding it in the ANSI code page
};

struct SettingsFileFacts {
  bool exists;
  bool tooLarge;  // larger than the program would ever have written: never rewritten
  std::string_view bytes;
  bool ansiIsJapanese;  // the ANSI code page is 932, which carries the Japanese names
  bool forSaving;       // a save follows; otherwise only reads
};

// The private-profile functions keep a file in the encoding they find and create a missing
// one in the ANSI code page, where the Japanese section and key names would turn into "?"
// on a non-Japanese system. So a missing file is created as UTF-16 before a save, and where
// the ANSI code page cannot carry the names:
// - an ANSI file is converted before a save: from Shift-JIS when it holds the section name
//   in Shift-JIS, else from the ANSI code page;
// - an ANSI file holding the Shift-JIS section name is converted before a read, so it can
//   be read.
// Files with a byte-order mark are left alone, and so are existing files on a Japanese
// system, where earlier copies keep reading their ANSI files.
SettingsFilePlan PlanSettingsFile(const SettingsFileFacts& facts);

}  // namespace tapecount
