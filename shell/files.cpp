#include "files.h"

namespace tapecount {

std::wstring CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(needed, L'\0');
  const DWORD length = needed > 0 ? GetCurrentDirectoryW(needed, folder.data()) : 0;
  // A failure, or a folder changed since it was measured, leaves it unknown.
  folder.resize(length < needed ? length : 0);
  return folder;
}

std::optional<std::string> ReadWhole(const FileHandle& file, LONGLONG largest) {
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > largest) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteAll(const FileHandle& file, std::string_view bytes) {
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace tapecount
