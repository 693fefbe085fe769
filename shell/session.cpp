#include "session.h"

#include <new>
#include <string>

#include "handles.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

// A journal larger than this is not the program's.
constexpr LONGLONG kLargestJournal = 256LL << 20;

std::wstring CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return folder;
}

// %LOCALAPPDATA%\tapecount\tape-<date>-<time>-<process>.txt, its folder made; empty when
// there is no such folder to be had.
std::wstring NewJournalPath() {
  const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (needed == 0) {
    return {};
  }
  std::wstring folder(needed, L'\0');
  folder.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), needed));
  folder += L"\\tapecount";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    return {};
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto twoDigits = [](Text& text, WORD n) {
    text += static_cast<char16_t>(u'0' + n / 10 % 10);
    text += static_cast<char16_t>(u'0' + n % 10);
  };
  Text name = u"\\tape-";
  AppendInt(name, now.wYear);
  twoDigits(name, now.wMonth);
  twoDigits(name, now.wDay);
  name += u'-';
  twoDigits(name, now.wHour);
  twoDigits(name, now.wMinute);
  twoDigits(name, now.wSecond);
  name += u'-';
  AppendInt(name, GetCurrentProcessId());
  name += u".txt";
  return folder + Wide(name);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  return ReadWhole(FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
                   kLargestJournal);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file.Get());
}

}  // namespace

std::optional<RestartRequest> TakeRestartRequest(const wchar_t* commandLine) {
  std::optional<RestartRequest> request =
      ParseRestartCommandLine(commandLine != nullptr ? ToText(commandLine) : Text());
  if (request && !request->folder.empty()) {
    SetCurrentDirectoryW(WinText(request->folder));
  }
  return request;
}

void RestoreTape(Shell& shell, const RestartRequest& request) noexcept {
  try {
    const std::wstring path = Wide(request.journal);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    const std::optional<Journal> journal = bytes ? ReadJournal(*bytes) : std::nullopt;
    if (journal && shell.model.RestoreTape(*journal)) {
      DeleteFileW(path.c_str());  // the tape is the window's again
    }
  } catch (const std::bad_alloc&) {
    shell.model.OutOfMemory();
  }
}

LRESULT OnQueryEndSession(Shell& shell) {
  if (shell.journalPath.empty()) {
    shell.journalPath = NewJournalPath();
  }
  if (!shell.journalPath.empty()) {
    const Text command = RestartCommandLine({ToText(shell.journalPath), ToText(CurrentFolder())});
    // Only for the session's end: never after a crash or a hang.
    RegisterApplicationRestart(WinText(command), RESTART_NO_CRASH | RESTART_NO_HANG);
  }
  return TRUE;
}

LRESULT OnEndSession(Shell& shell, bool ending) {
  if (!ending) {
    UnregisterApplicationRestart();
    return 0;
  }
  if (shell.journalPath.empty()) {
    shell.journalPath = NewJournalPath();
  }
  if (!shell.journalPath.empty()) {
    WriteFileBytes(shell.journalPath, WriteJournal(shell.model.TapeJournal()));
  }
  return 0;
}

}  // namespace tapecount
