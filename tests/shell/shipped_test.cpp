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

#include <gmock/gmock.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "resource.h"
#include "shell/model/journal.h"
#include "support/failing_calls.h"
#include "support/fake_window.h"
#include "window_fixture.h"

namespace tapecount::testing {
namespace {

// In the program's memory: the allocations that still succeed (below zero, none does), and a
// trigger that sets that count at a CreateFileW call (with no settings file, the journal's is
// the second); then where the stubs' functions are.
struct Counters {
  LONGLONG remaining, triggerCalls, triggerValue;
  ULONG_PTR original[4];
};
constexpr LONGLONG kPlenty = 1LL << 60;
constexpr const char* kPatched[] = {"malloc", "calloc", "realloc", "CreateFileW"};

// The x86-64 stub at `at` for `slot`; each operand given as its target is rip-relative, and
// ends its instruction.
std::vector<BYTE> Stub(ULONG_PTR at, ULONG_PTR data, int slot) {
  std::vector<BYTE> code;
  const auto op = [&](std::initializer_list<BYTE> bytes, std::size_t field) {
    code.insert(code.end(), bytes);
    const auto offset = static_cast<std::int32_t>(data + field - (at + code.size() + 4));
    code.insert(code.end(), reinterpret_cast<const BYTE*>(&offset),
                reinterpret_cast<const BYTE*>(&offset) + 4);
  };
  const std::size_t original = offsetof(Counters, original) + 8 * slot;
  if (slot < 3) {
    op({0xF0, 0x48, 0xFF, 0x0D}, offsetof(Counters, remaining));  // lock dec qword [remaining]
    op({0x78, 0x06, 0xFF, 0x25}, original);                       // js fail; jmp [original]
    code.insert(code.end(), {0x31, 0xC0, 0xC3});                  // fail: xor eax, eax; ret
  } else {
    op({0xF0, 0x48, 0xFF, 0x0D}, offsetof(Counters, triggerCalls));  // lock dec [triggerCalls]
    // jnz call; mov rax, [triggerValue]; mov [remaining], rax; call: jmp [original]
    op({0x75, 0x0E, 0x48, 0x8B, 0x05}, offsetof(Counters, triggerValue));
    op({0x48, 0x89, 0x05}, offsetof(Counters, remaining));
    op({0xFF, 0x25}, original);
  }
  return code;
}

// A window's text, asked of the program that owns it.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0, copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
  std::wstring text(length + 1, L'\0');
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 10000, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

// A shipped program started in a folder of its own, which is also its %LOCALAPPDATA% (the
// session's journal goes there): held at its entry point until its imports are bound, its
// allocators then pointed at the stubs, and let go.
class Patched {
 public:
  Patched(const char* program, const std::wstring& folder, const std::wstring& arguments,
          LONGLONG triggerCall, LONGLONG triggerValue)
      : process_(StartIn(program, folder, arguments)) {
    const HANDLE process = process_.Info().hProcess, thread = process_.Info().hThread;
    PROCESS_BASIC_INFORMATION basic{};
    NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr);
    // The image's place: the process environment block's ImageBaseAddress.
    base_ = Read<ULONG_PTR>(reinterpret_cast<ULONG_PTR>(basic.PebBaseAddress) + 0x10);
    const auto headers =
        Read<IMAGE_NT_HEADERS64>(base_ + Read<IMAGE_DOS_HEADER>(base_).e_lfanew).OptionalHeader;
    end_ = base_ + headers.SizeOfImage;
    const ULONG_PTR entry = base_ + headers.AddressOfEntryPoint;
    const auto held = Read<std::array<BYTE, 2>>(entry);
    WriteMemory(process, entry, std::array<BYTE, 2>{0xEB, 0xFE});  // jmp $, once it is bound
    ResumeThread(thread);
    EXPECT_TRUE(WaitUntil([&] {
      SuspendThread(thread);
      CONTEXT context{};
      context.ContextFlags = CONTEXT_CONTROL;
      if (GetThreadContext(thread, &context) && context.Rip == entry) {
        return true;  // and stays suspended
      }
      ResumeThread(thread);
      return false;
    })) << "the program never reached its entry point";

    data_ = reinterpret_cast<ULONG_PTR>(
        VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    Counters counters{kPlenty, triggerCall, triggerValue, {}};
    ULONG_PTR imports[4] = {}, stubs[4] = {};
    for (int slot = 0; slot < 4; ++slot) {
      imports[slot] = ImportEntry(process, base_, kPatched[slot]);
      EXPECT_NE(imports[slot], 0u) << "the program does not import " << kPatched[slot];
      counters.original[slot] = Read<ULONG_PTR>(imports[slot]);
      stubs[slot] = data_ + 0x80 + 0x20 * slot;
      const std::vector<BYTE> code = Stub(stubs[slot], data_, slot);
      WriteMemory(process, stubs[slot], code.data(), code.size());
    }
    WriteMemory(process, data_, counters);
    // The C runtime's image, which starts the program's threads.
    MEMORY_BASIC_INFORMATION crt{};
    VirtualQueryEx(process, reinterpret_cast<void*>(counters.original[0]), &crt, sizeof crt);
    crt_ = reinterpret_cast<ULONG_PTR>(crt.AllocationBase);
    crtEnd_ = crt_ + Read<IMAGE_NT_HEADERS64>(crt_ + Read<IMAGE_DOS_HEADER>(crt_).e_lfanew)
                         .OptionalHeader.SizeOfImage;
    for (int slot = 0; slot < 4; ++slot) {
      WriteMemory(process, imports[slot], stubs[slot]);
    }
    WriteMemory(process, entry, held);
    ResumeThread(thread);
    process_.WaitForWindow();
  }

  LONGLONG Remaining() const { return Read<LONGLONG>(data_ + offsetof(Counters, remaining)); }
  void SetRemaining(LONGLONG remaining) const {
    WriteMemory(process_.Info().hProcess, data_ + offsetof(Counters, remaining), remaining);
  }
  HWND Main() const { return process_.MainWindow(); }
  DWORD ExitCode() { return process_.WaitForExit(0); }
  bool Running() { return ExitCode() == STILL_ACTIVE; }

  // The program's own threads besides its main thread (started by the C runtime it imports,
  // or in its image) not yet ended.
  int Workers() const {
    int workers = 0;
    const KernelHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{sizeof thread, 0, 0, 0, 0, 0, 0};
    for (BOOL more = Thread32First(threads.Get(), &thread); more;
         more = Thread32Next(threads.Get(), &thread)) {
      const KernelHandle handle(
          OpenThread(THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, thread.th32ThreadID));
      ULONG_PTR start = 0;
      NtQueryInformationThread(handle.Get(), static_cast<THREADINFOCLASS>(9),  // start address
                               &start, sizeof start, nullptr);
      // Ended once signalled, though Wine may list it a while longer.
      const bool ours = (start >= base_ && start < end_) || (start >= crt_ && start < crtEnd_);
      workers += ours && thread.th32OwnerProcessID == process_.Info().dwProcessId &&
                 thread.th32ThreadID != process_.Info().dwThreadId &&
                 WaitForSingleObject(handle.Get(), 0) != WAIT_OBJECT_0;
    }
    return workers;
  }

 private:
  static Process StartIn(const char* program, const std::wstring& folder,
                         const std::wstring& arguments) {
    std::wstring saved(MAX_PATH, L'\0');
    saved.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", saved.data(), MAX_PATH));
    SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
    Process process = Process::Suspended(program, folder, arguments);
    SetEnvironmentVariableW(L"LOCALAPPDATA", saved.c_str());
    return process;
  }
  template <typename T>
  T Read(ULONG_PTR address) const {
    return ReadMemory<T>(process_.Info().hProcess, address);
  }

  Process process_;
  ULONG_PTR base_ = 0, end_ = 0, crt_ = 0, crtEnd_ = 0, data_ = 0;
};

enum class Act { Key, Command, Resize, Move, EndSession, Restore, Hover };
struct Row {
  const char* name;
  const char* setup;  // typed first
  Act act;
  int code;              // the key, the command or the change of height
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
    {"a taller window", "5\n", Act::Resize, 60, nullptr},
    {"a shorter window", "5\n", Act::Resize, -40, nullptr},
    {"a move (the screen-row check)", "", Act::Move, 0, nullptr},
    {"print", "5\n", Act::Command, IDM_PRINT, kNoDefaultPrinterMessage.text.data()},
    {"save settings", "", Act::Command, IDM_SAVE_SETTINGS, u"設定を保存できませんでした。"},
    {"the session's end", "5\n25-", Act::EndSession, 0, nullptr},
    {"a start with /restore", "", Act::Restore, 0, nullptr},
    {"a fade (transparency on)", "", Act::Hover, 0, nullptr, true},
};

// One run: what the window and files show after the action, then after the next entry.
struct Outcome {
  std::wstring shown;
  LONGLONG allocations = 0;  // the action's
  bool failed = false;       // an allocation failed
  std::vector<std::wstring> told, toldAfterwards;
};

class Shipped : public ReleaseTest {
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
      FakeWindow window(release());
      window.Type("100\n25-*3\n-");
      const std::wstring journal = folder_ + L"\\tape.txt";
      WriteBytes(journal, WriteJournal(TapeJournalOf(window.model)));
      arguments = act ? Wide(RestartCommandLine({ToText(journal), ToText(folder_)})) : L"";
    }
    Outcome out;
    const LONGLONG start = failFrom > 0 ? failFrom - 1 : kPlenty;
    {
      Patched program(Is134() ? TAPECOUNT_EXE : TAPECOUNT_EXE_127, folder_, arguments,
                      arguments.empty() ? kPlenty : 2, start);
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
      out.shown = Snapshot() + L"then\n";
      out.told = std::exchange(told_, {});
      program.SetRemaining(kPlenty);
      Type("7");
      EXPECT_THAT(TextOf(Entry()), ::testing::EndsWith(L"7")) << "a typed digit is not taken";
      Type("\n");
      out.shown += Snapshot();
      out.toldAfterwards = told_;
      EXPECT_EQ(program.ExitCode(), STILL_ACTIVE) << "the program ended";
    }
    RemoveScratchDirectory(folder_);
    return out;
  }

  void Do(const Row& row) {
    HWND main = program_->Main();
    RECT rect{};
    GetWindowRect(main, &rect);
    const UINT async = SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;
    switch (row.act) {
      case Act::Key:
        PostMessageW(Entry(), WM_KEYDOWN, static_cast<WPARAM>(row.code), 1);
        break;
      case Act::Command:
        PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(row.code), 0);
        break;
      case Act::Resize:
        SetWindowPos(main, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + row.code,
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
        ASSERT_TRUE(WaitUntil([] { return answer != -1; })) << "no answer to the session's end";
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

  // Typed as key-downs, which the program's message loop makes characters of; each taken
  // before the next, for its character to come first.
  void Type(const char* keys) {
    for (const char* c = keys; *c != 0; ++c) {
      const int vk = TypedKey(static_cast<unsigned char>(*c));
      PostMessageW(Entry(), WM_KEYDOWN, static_cast<WPARAM>(vk != 0 ? vk : *c), 1);
      Settle();
    }
  }

  // The program's message boxes read and answered OK, any other dialog of its (the print
  // dialog; not the clipboard viewer, which stays open) cancelled; whether there was one.
  bool AnswerDialogs() {
    DWORD program = 0, owner = 0;
    GetWindowThreadProcessId(program_->Main(), &program);
    bool met = false;
    // One closed ends the search: the next round finds the rest.
    for (HWND dialog = nullptr; (dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr));) {
      GetWindowThreadProcessId(dialog, &owner);
      if (owner == program && IsWindowVisible(dialog) &&
          TextOf(dialog) != L"テプカン：ｸﾘｯﾌﾟﾎﾞｰﾄﾞ") {
        HWND text = GetDlgItem(dialog, 0xFFFF);
        if (text != nullptr) {
          told_.push_back(TextOf(text));
        }
        PostMessageW(dialog, WM_COMMAND, text != nullptr ? IDOK : IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "a dialog stays";
        met = true;
      }
    }
    return met;
  }

  // Until the program is idle: its worker threads ended (each hands its result back before it
  // ends), every message posted to it so far taken off its queue (a text limit it never sets,
  // posted after them, is seen) and no dialog of its left; again while that met a dialog or
  // started a worker.
  void Settle() {
    for (bool busy = true; busy && program_->Running();) {
      // Latched once seen: a worker may start again right after (the loop waits for it then).
      const bool ended =
          WaitUntil([&] { return program_->Workers() == 0 || !program_->Running(); });
      EXPECT_TRUE(ended) << "a worker thread does not end";
      HWND entry = Entry();
      DWORD_PTR limit = 0;
      SendMessageTimeoutW(entry, EM_SETLIMITTEXT, 29999, 0, SMTO_NORMAL, 10000, &limit);
      PostMessageW(entry, EM_SETLIMITTEXT, 30000, 0);
      bool met = false;
      EXPECT_TRUE(WaitUntil([&] {
        const bool taken =
            SendMessageTimeoutW(entry, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 10000, &limit) &&
            limit == 30000;
        const bool answered = AnswerDialogs();
        met = met || answered;
        return !program_->Running() || (taken && !answered);
      })) << "the program does not take its messages";
      busy = met || program_->Workers() > 0;
    }
  }

  // The window's texts and size, its transparency, the files in its folder (the journals by
  // their contents alone: their names hold the time).
  std::wstring Snapshot() const {
    HWND main = program_->Main();
    RECT rect{};
    GetWindowRect(main, &rect);
    BYTE alpha = 255;
    GetLayeredWindowAttributes(main, nullptr, &alpha, nullptr);
    std::wstring shown =
        L"title " + TextOf(main) + L"\nsize " + std::to_wstring(rect.right - rect.left) + L"x" +
        std::to_wstring(rect.bottom - rect.top) + L"\nalpha " + std::to_wstring(alpha) + L"\n";
    for (HWND child = nullptr; (child = FindWindowExW(main, child, nullptr, nullptr));) {
      shown += TextOf(child) + L"\n";
    }
    std::vector<std::wstring> files = FilesUnder(folder_);
    std::sort(files.begin(), files.end());
    for (const std::wstring& path : files) {
      const bool journal = path.find(L"\\tapecount\\") != std::wstring::npos;
      if ((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        shown += L"file " + (journal ? L"journal" : path.substr(folder_.size() + 1)) + L":\n" +
                 FileText(path) + L"\n";
      }
    }
    return shown;
  }

  std::wstring folder_;
  Patched* program_ = nullptr;
  std::vector<std::wstring> told_;
};
TAPECOUNT_BOTH_RELEASES(Shipped);

TEST_P(Shipped, EveryActionWithMemoryGoneKeepsTheWindowWhole) {
  const std::wstring memory = Wide(kMemoryErrorMessage.text);
  for (const Row& row : kRows) {
    if (row.act == Act::Hover && !release().fades) {
      continue;
    }
    SCOPED_TRACE(row.name);
    const Outcome before = Run(row, 0, false), after = Run(row, 0, true);
    // The first and a later one; how many an action makes depends a little on the lengths of
    // the folder's name and the process id.
    for (const LONGLONG from : {1LL, std::max<LONGLONG>(2, (after.allocations + 1) / 2)}) {
      if (from > after.allocations && from > 1) {
        continue;
      }
      SCOPED_TRACE("allocations failing from the " + std::to_string(from) + ". of " +
                   std::to_string(after.allocations));
      const Outcome failing = Run(row, from, true);
      EXPECT_EQ(failing.failed, after.allocations > 0) << "whether an allocation failed";
      // As before the action or as after it, never between.
      EXPECT_THAT(failing.shown, ::testing::AnyOf(before.shown, after.shown));
      const bool done = failing.shown == after.shown;
      // An action left undone is said; one done all the same, a way that needs no memory,
      // need not be.
      if (failing.failed && !done && !row.quiet) {
        EXPECT_NE(failing.told.size(), 0u) << "the user is not told";
      }
      for (const std::wstring& told : failing.told) {
        const auto* own = reinterpret_cast<const wchar_t*>(row.told);
        if (own == nullptr) {
          EXPECT_EQ(told, memory);
        } else {
          EXPECT_THAT(told, ::testing::AnyOf(memory, ::testing::StartsWith(own)));
        }
      }
      EXPECT_THAT(failing.toldAfterwards, ::testing::IsEmpty());
    }
  }
}

}  // namespace
}  // namespace tapecount::testing
