#include "session.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "files.h"
#include "handles.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

// %LOCALAPPDATA%\tapecount\tape-<date>-<time>-<process>.txt, its folder made; empty when
// there is no such folder to be had.
std::wstring NewJournalPath() {
  const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (needed == 0) {
    return {};
  }
  std::wstring folder(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), needed);
  if (length == 0 || length >= needed) {
    return {};  // gone, or changed, since it was measured
  }
  folder.resize(length);
  folder += L"\\tapecount";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    return {};
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return folder + L"\\" +
         Wide(JournalFileName({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                               GetCurrentProcessId()}));
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  return ReadWhole(FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
                   LONGLONG{kLargestJournal});
}

// Whether a file starts as a kept tape does: read before the settings, to know in which
// folder the program runs; the whole tape is read once the window exists.
bool BeginsAsTape(const std::wstring& path) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char head[512];
  DWORD read = 0;
  return file && ReadFile(file.Get(), head, sizeof head, &read, nullptr) &&
         BeginsAsJournal(std::string_view(head, read));
}

// The path as a full one, to stay the same file when the current folder changes; empty when
// it cannot be had.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(needed, L'\0');
  const DWORD length =
      needed == 0 ? 0 : GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  full.resize(length < needed ? length : 0);
  return full;
}

// The program's own folder, where a double-click in Explorer runs it; empty when it cannot
// be had.
std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length;
  // A path that does not fit comes back cut to the room given: more room, until it fits.
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  return path.substr(0, path.rfind(L'\\') + 1);  // its last backslash kept: "C:\" stays whole
}

// A file written through a buffer of its own: keeping the tape takes none of the program's
// memory, so it is kept when memory has run out.
class BufferedFile final : public ByteSink {
 public:
  explicit BufferedFile(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      if (used_ == sizeof buffer_) {
        Drain();
      }
      const std::size_t part = std::min(bytes.size(), sizeof buffer_ - used_);
      std::memcpy(buffer_ + used_, bytes.data(), part);
      used_ += part;
      bytes.remove_prefix(part);
    }
  }
  // The rest written, and all of it flushed to the disk; false when any of it failed.
  bool Finish() {
    Drain();
    return whole_ && FlushFileBuffers(file_.Get());
  }

 private:
  void Drain() {
    whole_ = whole_ && WriteAll(file_, std::string_view(buffer_, used_));
    used_ = 0;
  }

  FileHandle file_;
  char buffer_[8192];
  std::size_t used_ = 0;
  bool whole_ = true;
};

// Where the tape goes if the session ends, chosen when Windows first asks; empty when there
// is no such place.
const std::wstring& JournalPath(Shell& shell) {
  if (shell.journalPath.empty()) {
    shell.journalPath = NewJournalPath();
  }
  return shell.journalPath;
}

}  // namespace

std::optional<std::wstring> TakeRestartRequest(const wchar_t* commandLine) {
  try {
    const std::optional<RestartRequest> request =
        ParseRestartCommandLine(commandLine != nullptr ? ToText(commandLine) : Text());
    if (!request) {
      return std::nullopt;
    }
    if (!request->dropped) {
      if (!request->folder.empty()) {
        SetCurrentDirectoryW(WinText(request->folder));
      }
      return Wide(request->journal);
    }
    // Named by its full path, to stay the same file from the program's folder.
    const std::wstring tape = FullPath(Wide(request->journal));
    if (tape.empty() || !BeginsAsTape(tape)) {
      return std::nullopt;
    }
    const std::wstring folder = ProgramFolder();
    if (!folder.empty()) {
      SetCurrentDirectoryW(folder.c_str());
    }
    return tape;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void RestoreTape(Shell& shell, const std::wstring& path) noexcept {
  try {
    const std::optional<std::string> bytes = ReadFileBytes(path);
    const std::optional<Journal> journal = bytes ? ReadJournal(*bytes) : std::nullopt;
    if (journal && shell.model.RestoreTape(*journal)) {
      DeleteFileW(path.c_str());  // the tape is the window's again
    }
  } catch (const std::bad_alloc&) {
    shell.model.OutOfMemory();  // the file stays, for another start
  }
}

LRESULT OnQueryEndSession(Shell& shell) {
  // Without a place for the tape the session had better wait: the want of memory is said.
  const std::wstring& journal = JournalPath(shell);
  // Windows keeps a command line shorter than RESTART_MAX_CMD_LINE. Without one (or memory for
  // it) the journal is still written, for the user to bring back by hand.
  try {
    const std::optional<Text> command =
        journal.empty() ? std::nullopt
                        : RestartCommandLine({ToText(journal), ToText(CurrentFolder())},
                                             RESTART_MAX_CMD_LINE - 1);
    if (command) {
      // Only for the session's end: never after a crash or a hang.
      RegisterApplicationRestart(WinText(*command), RESTART_NO_CRASH | RESTART_NO_HANG);
    }
  } catch (const std::bad_alloc&) {
  }
  return TRUE;
}

LRESULT OnEndSession(Shell& shell, bool ending) {
  if (!ending) {
    UnregisterApplicationRestart();
    return 0;
  }
  if (const std::wstring& path = JournalPath(shell); !path.empty()) {
    BufferedFile journal(path);
    shell.model.WriteTapeJournal(journal);
    journal.Finish();
  }
  return 0;
}

}  // namespace tapecount
