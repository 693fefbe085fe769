// The file work the shell does in more than one place: the current folder, a file read whole,
// bytes written whole.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "handles.h"

namespace tapecount {

// The current folder, however long its name; empty when it cannot be had.
std::wstring CurrentFolder();
// All that an open file holds; nothing when there is no file, it cannot be read whole, or it
// is larger than `largest` bytes.
std::optional<std::string> ReadWhole(const FileHandle& file, LONGLONG largest);
// `bytes` written to an open file, all of them; false when there is no file or they were not.
bool WriteAll(const FileHandle& file, std::string_view bytes);

}  // namespace tapecount
