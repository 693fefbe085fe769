// Start-up cost against its floors, a kept tape's restore, and the program's memory after
// start-up and after 10,000 entries typed through its real entry box. Runs under Wine (or on
// Windows).
// Usage: startup_bench <tapecount.exe> <plain_window.exe> <minimal_window.exe> [pairs]
//                      [repeats] [entries] [restores]
// The floor is the same window built plainly (plain_window); the empty window is shown
// beside it. Each repeat starts tapecount and the plain window alternately, `pairs` times.
// Each of `restores` rounds starts tapecount with no tape, then with kept tapes of 10,000 and
// 100,000 entries.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/amount.h"
#include "shell/model/journal.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Widen(const char* path) {
  std::wstring wide;
  if (path[0] == '/') {
    wide = L"Z:";  // a Unix path, as Wine sees it
  }
  for (const char* c = path; *c; ++c) {
    wide += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  }
  return wide;
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindTopWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  // The program's main window, or the floor's.
  const std::wstring name = className;
  if (processId == search->processId &&
      (name == L"TPCT" || name == L"PlainWindow" || name == L"MinimalWindow")) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TopWindowOf(DWORD processId) {
  Search search{processId, nullptr};
  EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Under Wine, WaitForInputIdle can return before the program has a window: wait until its
// main window exists and its message loop answers.
void WaitUntilIdle(const PROCESS_INFORMATION& info) {
  WaitForInputIdle(info.hProcess, 10000);
  for (;;) {
    if (HWND window = TopWindowOf(info.dwProcessId)) {
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
        return;
      }
    }
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "the program ended before it was idle\n");
      std::exit(1);
    }
    Sleep(0);
  }
}

struct Started {
  PROCESS_INFORMATION info{};
  double seconds = 0;
};

Started Start(const std::wstring& program, const std::wstring& directory,
              const wchar_t* arguments = L"") {
  Started started;
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const double begin = Now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &started.info)) {
    std::fprintf(stderr, "cannot start %ls\n", program.c_str());
    std::exit(1);
  }
  WaitUntilIdle(started.info);
  started.seconds = Now() - begin;
  return started;
}

void Stop(Started& started) {
  if (HWND window = TopWindowOf(started.info.dwProcessId)) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(started.info.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(started.info.hProcess, 1);
  }
  CloseHandle(started.info.hThread);
  CloseHandle(started.info.hProcess);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double WorkingSetMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

double StartOnce(const std::wstring& program, const std::wstring& directory) {
  Started started = Start(program, directory);
  Stop(started);
  return started.seconds * 1000;
}

// A kept tape as the session's end writes it, of amounts like those typed below, and the total
// it ends with.
struct KeptTape {
  std::string bytes;
  std::wstring total = L"0";
};
KeptTape MakeKeptTape(int entries) {
  tapecount::Journal journal;
  double total = 0;
  tapecount::Text totalText = u"0";
  for (int i = 1; i <= entries; ++i) {
    const double value = i % 1000 + 0.25;
    total += value;
    totalText = tapecount::FormatAmount(total);
    journal.entries.push_back(
        {u'+', false, value, tapecount::FormatAmount(value) + u"\t" + totalText});
  }
  return {entries > 0 ? tapecount::WriteJournal(journal) : "",
          std::wstring(totalText.begin(), totalText.end())};
}

// Start-up until the tape is shown and the program idle, in ms; no entries: a start with no tape.
double RestoreOnce(const std::wstring& program, const std::wstring& directory,
                   const KeptTape& tape) {
  const std::wstring path = directory + L"\\kept-tape.txt";
  std::wstring arguments;
  if (!tape.bytes.empty()) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, tape.bytes.data(), static_cast<DWORD>(tape.bytes.size()), &written, nullptr);
    CloseHandle(file);
    arguments = L"/restore \"" + path + L"\"";
  }
  Started started = Start(program, directory, arguments.c_str());
  // Idle is not enough: Wine can answer another process's message inside a call the replay
  // makes. Shown: the total display shows the tape's total, and the loop answers.
  const double begin = Now();
  HWND main = TopWindowOf(started.info.dwProcessId);
  HWND total =
      FindWindowExW(main, FindWindowExW(main, nullptr, L"Static", nullptr), L"Static", nullptr);
  wchar_t shown[64] = {};
  for (;;) {
    GetWindowTextW(total, shown, 64);
    if (tape.total == shown) {
      break;
    }
    if (Now() - begin > 120) {
      std::fprintf(stderr, "the tape's total %ls was not shown\n", tape.total.c_str());
      std::exit(1);
    }
    WaitUntilIdle(started.info);
  }
  const double seconds = started.seconds + (Now() - begin);
  Stop(started);
  if (!tape.bytes.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "the tape was not taken back\n");
    std::exit(1);
  }
  return seconds * 1000;
}

void MeasureRestores(const std::wstring& program, const std::wstring& directory, int rounds) {
  const int sizes[] = {0, 10000, 100000};
  KeptTape tapes[std::size(sizes)];
  std::vector<double> times[std::size(sizes)];
  for (std::size_t s = 0; s < std::size(sizes); ++s) {
    tapes[s] = MakeKeptTape(sizes[s]);
  }
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t s = 0; s < std::size(sizes); ++s) {
      times[s].push_back(RestoreOnce(program, directory, tapes[s]));
    }
  }
  const double none = Median(times[0]);
  std::printf("a kept tape shown, start-up to idle, median of %d starts: no tape %.0f ms", rounds,
              none);
  for (std::size_t s = 1; s < std::size(sizes); ++s) {
    const double t = Median(times[s]);
    std::printf("; %d entries %.0f ms (+%.0f)", sizes[s], t, t - none);
  }
  std::printf(" (target for 100000: at most +1000)\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: %s <tapecount.exe> <plain_window.exe> <minimal_window.exe> "
                 "[pairs] [repeats] [entries] [restores]\n",
                 argv[0]);
    return 2;
  }
  const std::wstring program = Widen(argv[1]);
  const std::wstring plain = Widen(argv[2]);
  const std::wstring empty = Widen(argv[3]);
  const int pairs = argc > 4 ? std::atoi(argv[4]) : 31;
  const int repeats = argc > 5 ? std::atoi(argv[5]) : 3;
  const int entries = argc > 6 ? std::atoi(argv[6]) : 10000;
  const int restores = argc > 7 ? std::atoi(argv[7]) : 5;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring directory = std::wstring(temp) + L"tapecount-bench";
  CreateDirectoryW(directory.c_str(), nullptr);

  StartOnce(program, directory);  // the first start of each loads more than the rest
  StartOnce(plain, directory);
  std::vector<double> ratios;
  for (int repeat = 0; repeat < repeats; ++repeat) {
    std::vector<double> programTimes, plainTimes, emptyTimes;
    for (int i = 0; i < pairs; ++i) {
      // Which goes first alternates, so neither always follows the other.
      if (i % 2 == 0) {
        programTimes.push_back(StartOnce(program, directory));
        plainTimes.push_back(StartOnce(plain, directory));
      } else {
        plainTimes.push_back(StartOnce(plain, directory));
        programTimes.push_back(StartOnce(program, directory));
      }
      if (i % 3 == 0) {
        emptyTimes.push_back(StartOnce(empty, directory));
      }
    }
    const double programMedian = Median(programTimes), plainMedian = Median(plainTimes);
    ratios.push_back(programMedian / plainMedian);
    std::printf(
        "start-up to idle, median of %d alternating pairs: tapecount %.1f ms, the same window "
        "built plainly %.1f ms: ratio %.3f (target at most 1.05); an empty window %.1f ms\n",
        pairs, programMedian, plainMedian, ratios.back(), Median(emptyTimes));
  }
  std::printf("ratio over %d repeats: median %.3f, from %.3f to %.3f\n", repeats, Median(ratios),
              *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()));

  MeasureRestores(program, directory, restores);

  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(program.c_str(), GetFileExInfoStandard, &attributes);
  std::printf("program size: %.1f KiB\n", attributes.nFileSizeLow / 1024.0);

  Started s = Start(program, directory);
  std::printf("working set after start-up: %.2f MiB\n", WorkingSetMiB(s.info.hProcess));
  HWND main = TopWindowOf(s.info.dwProcessId);
  HWND entry = FindWindowExW(main, nullptr, L"Edit", nullptr);
  const double begin = Now();
  for (int i = 1; i <= entries; ++i) {
    for (wchar_t c : std::to_wstring(i % 1000)) {
      SendMessageW(entry, WM_CHAR, c, 1);
    }
    SendMessageW(entry, WM_KEYDOWN, VK_RETURN, 1);
  }
  const double elapsed = Now() - begin;
  std::printf("%d entries typed in %.2f s (%.0f us each); working set after them: %.2f MiB\n",
              entries, elapsed, elapsed * 1e6 / entries, WorkingSetMiB(s.info.hProcess));
  wchar_t total[100] = {};
  // The statics in creation order: the last-entry display, then the total display.
  HWND lastEntry = FindWindowExW(main, nullptr, L"Static", nullptr);
  GetWindowTextW(FindWindowExW(main, lastEntry, L"Static", nullptr), total, 100);
  std::printf("total shown: %ls\n", total);
  Stop(s);
  return 0;
}
