// The shipped programs, the bytes the zip holds, with their C runtime's allocator failing from
// outside: malloc, calloc and realloc (their imports from msvcrt.dll) answer nothing from the
// n-th call on, through stubs written into the running program and its import table pointed
// at them. Each user action, with memory gone from its first allocation and from a later one:
// the program keeps running, its window and files are as before the action or as after it,
// never between, an action not done is said, and once memory is back the next entry does what
// it would have done.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "resource.h"
#include "shell/model/journal.h"
#include "shell/model/utf8.h"
#include "support/fake_window.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

// In the program's memory: the countdown of allocations that still succeed (below zero, every
// one fails), and a trigger that sets it when a Windows function is called for the n-th time.
struct Counters {
  LONGLONG remaining, triggerCalls, triggerValue;
  ULONG_PTR original[4];
};
constexpr LONGLONG kPlenty = 1LL << 60;
// The stubs' functions: the allocators, then the trigger's (with no settings file, the
// journal's is its second call).
constexpr const char* kPatched[] = {"malloc", "calloc", "realloc", "CreateFileW"};
constexpr ULONG_PTR kStubs = 0x80, kStubSize = 0x20;

// x86-64 code assembled at `at`; each rip-relative operand ends its instruction.
struct Code {
  ULONG_PTR at;
  std::vector<BYTE> bytes;
  Code& Op(std::initializer_list<BYTE> op) {
    bytes.insert(bytes.end(), op);
    return *this;
  }
  Code& To(ULONG_PTR target) {
    const auto offset = static_cast<std::int32_t>(target - (at + bytes.size() + 4));
    const auto* raw = reinterpret_cast<const BYTE*>(&offset);
    bytes.insert(bytes.end(), raw, raw + 4);
    return *this;
  }
};

std::vector<BYTE> Stub(ULONG_PTR at, ULONG_PTR data, int slot) {
  const ULONG_PTR original = data + offsetof(Counters, original) + 8 * slot;
  if (slot < 3) {
    return Code{at, {}}
        .Op({0xF0, 0x48, 0xFF, 0x0D})  // lock dec qword [remaining]
        .To(data + offsetof(Counters, remaining))
        .Op({0x78, 0x06, 0xFF, 0x25})  // js fail; jmp [original]
        .To(original)
        .Op({0x31, 0xC0, 0xC3})  // fail: xor eax, eax; ret
        .bytes;
  }
  return Code{at, {}}
      .Op({0xF0, 0x48, 0xFF, 0x0D})  // lock dec qword [triggerCalls]
      .To(data + offsetof(Counters, triggerCalls))
      .Op({0x75, 0x0E, 0x48, 0x8B, 0x05})  // jnz call; mov rax, [triggerValue]
      .To(data + offsetof(Counters, triggerValue))
      .Op({0x48, 0x89, 0x05})  // mov [remaining], rax
      .To(data + offsetof(Counters, remaining))
      .Op({0xFF, 0x25})  // call: jmp [original]
      .To(original)
      .bytes;
}

// A window's text, asked of the program that owns it.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0, copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length)) {
    return L"(no answer)";
  }
  std::wstring text(length + 1, L'\0');
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 10000, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

std::wstring ClassOf(HWND window) {
  std::wstring name(64, L'\0');
  name.resize(static_cast<std::size_t>(GetClassNameW(window, name.data(), 64)));
  return name;
}

// Each top-level window, or each descendant of `parent`.
template <typename Each>
void ForEachWindow(HWND parent, Each each) {
  const auto call = [](HWND window, LPARAM each) {
    (*reinterpret_cast<Each*>(each))(window);
    return TRUE;
  };
  parent != nullptr ? EnumChildWindows(parent, call, reinterpret_cast<LPARAM>(&each))
                    : EnumWindows(call, reinterpret_cast<LPARAM>(&each));
}

template <typename Each>
void ForEachFile(const std::wstring& folder, Each each) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
    if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0) {
      each(folder + L"\\" + found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
    }
  }
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
  }
}

void RemoveFolder(const std::wstring& folder) {
  ForEachFile(folder, [](const std::wstring& path, DWORD isFolder) {
    isFolder != 0 ? RemoveFolder(path) : (void)DeleteFileW(path.c_str());
  });
  RemoveDirectoryW(folder.c_str());
}

// A file's text: UTF-16 after its byte order mark (the settings), else UTF-8 (a journal).
std::wstring FileText(const std::wstring& path) {
  const std::string bytes = FileBytes(path);
  if (bytes.rfind("\xFF\xFE", 0) == 0) {
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  }
  const int size = static_cast<int>(bytes.size());
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), size)));
  return text;
}

std::string Utf8(const std::wstring& text) {
  return EncodeUtf8(ToText(text));
}

// Until `condition` has held once (WaitUntil asks again at its end).
template <typename Condition>
bool Reached(Condition condition, DWORD ms = 60000) {
  bool reached = false;
  return WaitUntil([&] { return reached = reached || condition(); }, ms);
}

// A shipped program started in a folder of its own, which is also its %LOCALAPPDATA% (the
// session's journal goes there): held at its entry point until its imports are bound, its
// allocators then pointed at the stubs, and let go.
class Patched {
 public:
  Patched(const char* program, const std::wstring& folder, const std::wstring& arguments,
          LONGLONG triggerCall, LONGLONG triggerValue)
      : process_(StartIn(program, folder, arguments)) {
    const PROCESS_INFORMATION& info = process_.Info();
    PROCESS_BASIC_INFORMATION basic{};
    NtQueryInformationProcess(info.hProcess, ProcessBasicInformation, &basic, sizeof basic,
                              nullptr);
    // The image's place: the process environment block's ImageBaseAddress.
    base_ = Read<ULONG_PTR>(reinterpret_cast<ULONG_PTR>(basic.PebBaseAddress) + 0x10);
    const auto headers =
        Read<IMAGE_NT_HEADERS64>(base_ + Read<IMAGE_DOS_HEADER>(base_).e_lfanew).OptionalHeader;
    end_ = base_ + headers.SizeOfImage;
    const ULONG_PTR entry = base_ + headers.AddressOfEntryPoint;
    const auto held = Read<std::array<BYTE, 2>>(entry);
    Write(entry, {0xEB, 0xFE});  // jmp $: the loader binds the imports, then it spins here
    ResumeThread(info.hThread);
    const bool atEntry = Reached([&] {
      SuspendThread(info.hThread);
      CONTEXT context{};
      context.ContextFlags = CONTEXT_CONTROL;
      if (GetThreadContext(info.hThread, &context) && context.Rip == entry) {
        return true;  // and stays suspended
      }
      ResumeThread(info.hThread);
      return false;
    });
    EXPECT_TRUE(atEntry) << "the program never reached its entry point";
    const KernelHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, info.dwProcessId));
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(modules.Get(), &module); more;
         more = Module32NextW(modules.Get(), &module)) {
      if (_wcsicmp(module.szModule, L"msvcrt.dll") == 0) {
        crt_ = reinterpret_cast<ULONG_PTR>(module.modBaseAddr);
        crtEnd_ = crt_ + module.modBaseSize;
      }
    }

    data_ = reinterpret_cast<ULONG_PTR>(VirtualAllocEx(
        info.hProcess, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    Counters counters{kPlenty, triggerCall, triggerValue, {}};
    std::vector<std::pair<ULONG_PTR, ULONG_PTR>> imports;  // entry, stub
    for (int slot = 0; slot < 4; ++slot) {
      const ULONG_PTR import = ImportEntry(headers, kPatched[slot]);
      const ULONG_PTR stub = data_ + kStubs + kStubSize * slot;
      counters.original[slot] = Read<ULONG_PTR>(import);
      Write(stub, Stub(stub, data_, slot));
      imports.push_back({import, stub});
    }
    Write(data_, Bytes(counters));
    for (const auto& [import, stub] : imports) {
      Write(import, Bytes(stub));
    }
    Write(entry, {held.begin(), held.end()});
    ResumeThread(info.hThread);
    process_.WaitForWindow();
  }

  LONGLONG Remaining() const { return Read<LONGLONG>(data_ + offsetof(Counters, remaining)); }
  void SetRemaining(LONGLONG remaining) const {
    Write(data_ + offsetof(Counters, remaining), Bytes(remaining));
  }
  HWND Main() const { return process_.MainWindow(); }
  DWORD ExitCode() { return process_.WaitForExit(0); }
  bool Running() { return ExitCode() == STILL_ACTIVE; }

  // The program's own threads besides its main thread (started by the C runtime it imports,
  // or in its image) not yet ended.
  int Workers() const {
    int workers = 0;
    const KernelHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(threads.Get(), &thread); more;
         more = Thread32Next(threads.Get(), &thread)) {
      if (thread.th32OwnerProcessID != process_.Info().dwProcessId ||
          thread.th32ThreadID == process_.Info().dwThreadId) {
        continue;
      }
      const KernelHandle handle(
          OpenThread(THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, thread.th32ThreadID));
      ULONG_PTR start = 0;
      NtQueryInformationThread(handle.Get(), static_cast<THREADINFOCLASS>(9),  // start address
                               &start, sizeof start, nullptr);
      // Ended once signalled, though Wine may list it a while longer.
      const bool ours = (start >= base_ && start < end_) || (start >= crt_ && start < crtEnd_);
      workers += ours && WaitForSingleObject(handle.Get(), 0) != WAIT_OBJECT_0;
    }
    return workers;
  }

 private:
  static Process StartIn(const char* program, const std::wstring& folder,
                         const std::wstring& arguments) {
    const DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    std::wstring saved(size, L'\0');
    saved.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", saved.data(), size));
    SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
    Process process = Process::Suspended(program, folder, arguments);
    SetEnvironmentVariableW(L"LOCALAPPDATA", saved.c_str());
    return process;
  }
  template <typename T>
  static std::vector<BYTE> Bytes(const T& value) {
    const auto* raw = reinterpret_cast<const BYTE*>(&value);
    return {raw, raw + sizeof value};
  }
  template <typename T>
  T Read(ULONG_PTR address) const {
    T value{};
    ReadProcessMemory(process_.Info().hProcess, reinterpret_cast<void*>(address), &value,
                      sizeof value, nullptr);
    return value;
  }
  void Write(ULONG_PTR address, const std::vector<BYTE>& bytes) const {
    HANDLE process = process_.Info().hProcess;
    void* at = reinterpret_cast<void*>(address);
    DWORD protection = 0;
    VirtualProtectEx(process, at, bytes.size(), PAGE_EXECUTE_READWRITE, &protection);
    WriteProcessMemory(process, at, bytes.data(), bytes.size(), nullptr);
    VirtualProtectEx(process, at, bytes.size(), protection, &protection);
    FlushInstructionCache(process, at, bytes.size());
  }
  // The import address table's entry for `function`, from the image's import directory.
  ULONG_PTR ImportEntry(const IMAGE_OPTIONAL_HEADER64& headers, const char* function) const {
    const ULONG_PTR directory =
        base_ + headers.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (ULONG_PTR at = directory;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto dll = Read<IMAGE_IMPORT_DESCRIPTOR>(at);
      if (dll.Name == 0) {
        ADD_FAILURE() << "the program does not import " << function;
        return 0;
      }
      for (ULONG_PTR i = 0;; ++i) {
        const auto name = Read<ULONGLONG>(base_ + dll.OriginalFirstThunk + 8 * i);
        if (name == 0) {
          break;
        }
        const auto text = Read<std::array<char, 32>>(base_ + name + 2);  // after the hint
        if (!IMAGE_SNAP_BY_ORDINAL64(name) && std::strncmp(text.data(), function, 32) == 0) {
          return base_ + dll.FirstThunk + 8 * i;
        }
      }
    }
  }

  Process process_;
  ULONG_PTR base_ = 0, end_ = 0, data_ = 0, crt_ = 0, crtEnd_ = 0;
};

enum class Act { Key, Command, Taller, Shorter, Move, EndSession, Restore, Hover };
struct Row {
  const char* name;
  const char* setup;  // typed first: digits as characters, the rest as TypedKey's keys
  Act act;
  int code;              // the key or the command
  const char16_t* told;  // the action's own message, besides "memory allocate error!"
  // A fade left out for want of memory is not said: the next crossing of the edge tries again.
  bool quiet = false;
};

const Row kRows[] = {
    {"Enter", "5", Act::Key, VK_RETURN, nullptr},
    {"keypad +", "5", Act::Key, VK_ADD, nullptr},
    {"keypad -", "5", Act::Key, VK_SUBTRACT, nullptr},
    {"keypad *", "5", Act::Key, VK_MULTIPLY, nullptr},
    {"keypad /", "5", Act::Key, VK_DIVIDE, nullptr},
    {"'-' typed as a negative entry", "", Act::Key, VK_SUBTRACT, nullptr},
    {"undo", "5\n6\n", Act::Key, VK_BACK, nullptr},
    {"clear-all", "5\n6\n", Act::Key, VK_DELETE, kClearRefusedMessage.text.data()},
    {"transfer", "5\n", Act::Command, IDM_TRANSFER, nullptr},
    {"Page Up", "5\n", Act::Key, VK_PRIOR, nullptr},
    {"Page Down", "5\n", Act::Key, VK_NEXT, nullptr},
    {"F1", "", Act::Key, VK_F1, nullptr},
    {"F2", "", Act::Key, VK_F2, nullptr},
    {"F3", "", Act::Key, VK_F3, nullptr},
    {"F4", "", Act::Key, VK_F4, nullptr},
    {"a taller window", "5\n", Act::Taller, 0, nullptr},
    {"a shorter window", "5\n", Act::Shorter, 0, nullptr},
    {"a move (the screen-row check)", "", Act::Move, 0, nullptr},
    {"print", "5\n", Act::Command, IDM_PRINT, kNoDefaultPrinterMessage.text.data()},
    {"save settings", "", Act::Command, IDM_SAVE_SETTINGS, u"設定を保存できませんでした。"},
    {"the session's end", "5\n25-", Act::EndSession, 0, nullptr},
    {"a start with /restore", "", Act::Restore, 0, nullptr},
    {"a fade (transparency on)", "", Act::Hover, 0, nullptr, true},
};

struct Program {
  const char* path;
  const Release* release;
  friend void PrintTo(const Program& program, std::ostream* out) { *out << program.path; }
};

// One run: the window and files after the action and after the next entry.
struct Outcome {
  std::wstring afterAction, afterNext;
  LONGLONG allocations = 0;  // the action's
  bool failed = false;       // an allocation failed
  std::vector<std::wstring> told, toldAfterwards;
  DWORD exitCode = STILL_ACTIVE;
};

class Shipped : public ::testing::TestWithParam<Program> {
 protected:
  // The row's setup, then (`act`) its action with allocations failing from the `failFrom`-th
  // on (0: none), then memory back and the next entry.
  Outcome Run(const Row& row, LONGLONG failFrom, bool act) {
    folder_ = ScratchDirectory();
    std::wstring arguments;
    if (row.act == Act::Hover) {
      WriteSettings(folder_, L"[セッテイング]\r\n透明化=1\r\n");
    }
    if (row.act == Act::Restore) {
      FakeWindow window(*GetParam().release);
      window.Type("100\n25-*3\n-");
      CreateDirectoryW((folder_ + L"\\tapecount").c_str(), nullptr);
      const std::wstring journal = folder_ + L"\\tapecount\\tape.txt";
      WriteBytes(journal, WriteJournal(TapeJournalOf(window.model)));
      arguments = act ? Wide(RestartCommandLine({ToText(journal), ToText(folder_)})) : L"";
    }
    Outcome out;
    const LONGLONG start = failFrom > 0 ? failFrom - 1 : kPlenty;
    {
      Patched program(GetParam().path, folder_, arguments, arguments.empty() ? kPlenty : 2, start);
      program_ = &program;
      told_.clear();
      Settle();
      Type(row.setup);
      if (act && row.act != Act::Restore) {
        told_.clear();
        program.SetRemaining(start);
        Do(row);
      }
      out.allocations = start - program.Remaining();
      out.failed = program.Remaining() < 0;
      out.afterAction = Snapshot();
      out.told = std::exchange(told_, {});
      program.SetRemaining(kPlenty);
      Type("7\n");
      out.afterNext = Snapshot();
      out.toldAfterwards = told_;
      out.exitCode = program.ExitCode();
      program_ = nullptr;
    }
    RemoveFolder(folder_);
    return out;
  }

  void Do(const Row& row) {
    HWND main = program_->Main();
    RECT rect{};
    GetWindowRect(main, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const UINT async = SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;
    switch (row.act) {
      case Act::Key:
        PostMessageW(Entry(), WM_KEYDOWN, static_cast<WPARAM>(row.code), 1);
        break;
      case Act::Command:
        PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(row.code), 0);
        break;
      case Act::Taller:
      case Act::Shorter:
        SetWindowPos(main, nullptr, 0, 0, width, height + (row.act == Act::Taller ? 60 : -40),
                     SWP_NOMOVE | async);
        break;
      case Act::Move:
        SetWindowPos(main, nullptr, rect.left + 30, rect.top + 20, 0, 0, SWP_NOSIZE | async);
        break;
      case Act::EndSession: {
        static LRESULT answer;
        answer = -1;
        const auto answered = [](HWND, UINT, ULONG_PTR, LRESULT result) { answer = result; };
        SendMessageCallbackW(main, WM_QUERYENDSESSION, 0, 0, answered, 0);
        Settle();
        ASSERT_TRUE(Reached([] { return answer != -1; })) << "no answer to the session's end";
        PostMessageW(main, WM_ENDSESSION, answer != 0, 0);
        break;
      }
      case Act::Hover:
        PostMessageW(main, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        break;
      case Act::Restore:
        break;  // the start was the action
    }
    Settle();
  }

  HWND Entry() const { return FindWindowExW(program_->Main(), nullptr, L"Edit", nullptr); }

  void Type(const char* keys) {
    for (const char* c = keys; *c != 0; ++c) {
      *c >= '0' && *c <= '9'
          ? PostMessageW(Entry(), WM_CHAR, static_cast<WPARAM>(*c), 1)
          : PostMessageW(Entry(), WM_KEYDOWN, static_cast<WPARAM>(TypedKey(*c)), 1);
    }
    Settle();
  }

  // The program's message boxes and dialogs (not the clipboard viewer, which stays open).
  std::vector<HWND> Dialogs() const {
    std::vector<HWND> dialogs;
    DWORD program = 0;
    GetWindowThreadProcessId(program_->Main(), &program);
    ForEachWindow(nullptr, [&](HWND window) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == program && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
          TextOf(window) != L"テプカン：ｸﾘｯﾌﾟﾎﾞｰﾄﾞ") {
        dialogs.push_back(window);
      }
    });
    return dialogs;
  }

  // Each message box read and answered OK; any other dialog (the print dialog) cancelled.
  bool AnswerDialogs() {
    const std::vector<HWND> dialogs = Dialogs();
    for (HWND dialog : dialogs) {
      HWND text = GetDlgItem(dialog, 0xFFFF);
      if (text != nullptr) {
        told_.push_back(TextOf(text));
      }
      PostMessageW(dialog, WM_COMMAND, text != nullptr ? IDOK : IDCANCEL, 0);
      EXPECT_TRUE(Reached([&] { return !IsWindow(dialog); })) << "a dialog stays";
    }
    return !dialogs.empty();
  }

  // Until the program is idle: its worker threads ended (each hands its result back before
  // it ends), then a message posted after everything else taken off its queue, its dialogs
  // answered meanwhile; again while a round meets a dialog or starts a worker.
  void Settle() {
    for (bool idle = false; !idle && program_->Running();) {
      bool met = false;
      ASSERT_TRUE(Reached([&] {
        met = AnswerDialogs() || met;
        return program_->Workers() == 0 || !program_->Running();
      })) << "a worker thread does not end";
      HWND entry = Entry();
      DWORD_PTR modified = 0;
      SendMessageTimeoutW(entry, EM_SETMODIFY, FALSE, 0, SMTO_NORMAL, 10000, &modified);
      PostMessageW(entry, EM_SETMODIFY, TRUE, 0);
      ASSERT_TRUE(Reached([&] {
        met = AnswerDialogs() || met;
        return !program_->Running() ||
               (SendMessageTimeoutW(entry, EM_GETMODIFY, 0, 0, SMTO_NORMAL, 10000, &modified) &&
                modified != 0 && Dialogs().empty());
      })) << "the program does not take its messages";
      idle = !met && program_->Workers() == 0;
    }
  }

  // The window's texts and size, its transparency, the files in its folder (the journals by
  // their contents alone: their names hold the time).
  std::wstring Snapshot() const {
    HWND main = program_->Main();
    if (main == nullptr) {
      return L"(no window)";
    }
    RECT rect{};
    GetWindowRect(main, &rect);
    BYTE alpha = 255;
    GetLayeredWindowAttributes(main, nullptr, &alpha, nullptr);
    std::wstring shown =
        L"title " + TextOf(main) + L"\nsize " + std::to_wstring(rect.right - rect.left) + L"x" +
        std::to_wstring(rect.bottom - rect.top) + L"\nalpha " + std::to_wstring(alpha) + L"\n";
    ForEachWindow(main,
                  [&](HWND child) { shown += ClassOf(child) + L" " + TextOf(child) + L"\n"; });
    std::vector<std::wstring> files;
    const auto add = [&](const std::wstring& path, DWORD isFolder) {
      const bool journal = path.find(L"\\tapecount\\") != std::wstring::npos;
      if (isFolder == 0) {
        files.push_back((journal ? L"journal" : path.substr(folder_.size() + 1)) + L":\n" +
                        FileText(path));
      }
    };
    ForEachFile(folder_, add);
    ForEachFile(folder_ + L"\\tapecount", add);
    std::sort(files.begin(), files.end());
    for (const std::wstring& file : files) {
      shown += L"file " + file + L"\n";
    }
    return shown;
  }

  std::wstring folder_;
  Patched* program_ = nullptr;
  std::vector<std::wstring> told_;
};

TEST_P(Shipped, EveryActionWithMemoryGoneKeepsTheWindowWhole) {
  const std::wstring memory = Wide(kMemoryErrorMessage.text);
  for (const Row& row : kRows) {
    if (row.act == Act::Hover && !GetParam().release->fades) {
      continue;
    }
    SCOPED_TRACE(row.name);
    const Outcome before = Run(row, 0, false), after = Run(row, 0, true);
    if (after.exitCode != STILL_ACTIVE) {
      ADD_FAILURE() << "the program ended with memory there";
      continue;
    }
    // The first and a later one; how many an action makes depends a little on the lengths of
    // the folder's name and the process id.
    std::vector<LONGLONG> points = {1};
    if (after.allocations > 1) {
      points.push_back(std::max<LONGLONG>(2, (after.allocations + 1) / 2));
    }
    for (const LONGLONG from : points) {
      SCOPED_TRACE("allocations failing from the " + std::to_string(from) + ". of " +
                   std::to_string(after.allocations));
      const Outcome failing = Run(row, from, true);
      if (failing.exitCode != STILL_ACTIVE) {
        ADD_FAILURE() << "the program ended with exit code " << failing.exitCode;
        continue;
      }
      EXPECT_EQ(failing.failed, after.allocations > 0) << "whether an allocation failed";
      const bool asBefore =
          failing.afterAction == before.afterAction && failing.afterNext == before.afterNext;
      const bool asAfter =
          failing.afterAction == after.afterAction && failing.afterNext == after.afterNext;
      EXPECT_TRUE(asBefore || asAfter) << "between:\n"
                                       << Utf8(failing.afterAction) << "then\n"
                                       << Utf8(failing.afterNext) << "\nbefore:\n"
                                       << Utf8(before.afterAction) << "then\n"
                                       << Utf8(before.afterNext) << "\nafter:\n"
                                       << Utf8(after.afterAction) << "then\n"
                                       << Utf8(after.afterNext);
      // An action left undone is said; one done all the same, a way that needs no memory,
      // need not be.
      if (failing.failed && !asAfter && !row.quiet) {
        EXPECT_FALSE(failing.told.empty()) << "the user is not told";
      }
      for (const std::wstring& told : failing.told) {
        const auto* own = reinterpret_cast<const wchar_t*>(row.told);
        EXPECT_TRUE(told == memory || (own != nullptr && told.rfind(own, 0) == 0)) << Utf8(told);
      }
      EXPECT_TRUE(failing.toldAfterwards.empty()) << Utf8(failing.toldAfterwards[0]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Releases, Shipped,
                         ::testing::Values(Program{TAPECOUNT_EXE, &kRelease134},
                                           Program{TAPECOUNT_EXE_127, &kRelease127}),
                         [](const auto& info) {
                           return std::string(info.param.release == &kRelease134 ? "134" : "127");
                         });

}  // namespace
}  // namespace tapecount::testing
