// A day's use in minutes: 100,000 entries typed into the real window, each followed by a
// repaint. Reports the GDI and USER objects the program holds (GetGuiResources where the
// system counts them, and everywhere the objects still free to create: what a leak would
// use up), its working set against the size of the tape's text, the clipboard transfer at
// the end, and the time per entry at the start and at the end.
// Usage: soak_bench [entries]   (runs in a scratch directory of its own)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "program.h"
#include "resource.h"
#include "shell.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double WorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// How many more objects of a kind can be made before the system refuses: every object the
// program leaks takes one away. Everything made here is released again.
template <typename Make, typename Release>
long Headroom(Make make, Release release, long cap) {
  std::vector<decltype(make())> made;
  for (long i = 0; i < cap; ++i) {
    auto object = make();
    if (object == nullptr) {
      break;
    }
    made.push_back(object);
  }
  for (auto object : made) {
    release(object);
  }
  return static_cast<long>(made.size());
}

long GdiHeadroom() {
  return Headroom([] { return CreateSolidBrush(RGB(1, 2, 3)); },
                  [](HBRUSH brush) { DeleteObject(brush); }, 200000);
}

long UserHeadroom() {
  return Headroom([] { return CreateMenu(); }, [](HMENU menu) { DestroyMenu(menu); }, 200000);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

std::wstring ClipboardText() {
  std::wstring text;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const long entries = argc > 1 ? std::atol(argv[1]) : 100000;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring directory = std::wstring(temp) + L"tapecount-soak";
  CreateDirectoryW(directory.c_str(), nullptr);
  SetCurrentDirectoryW(directory.c_str());

  tapecount::Shell shell(tapecount::kRelease134, GetModuleHandleW(nullptr));
  HWND main = tapecount::OpenMainWindow(shell, SW_SHOWNORMAL);
  if (main == nullptr) {
    std::fprintf(stderr, "the window could not be created\n");
    return 1;
  }
  Pump();
  HWND entry = shell.windows.entry;

  const DWORD gdiStart = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userStart = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  const long gdiHeadroomStart = GdiHeadroom();
  const long userHeadroomStart = UserHeadroom();
  const double memoryStart = WorkingSetMiB();

  const long window = entries / 100 > 0 ? entries / 100 : 1;  // entries timed at each end
  double startSeconds = 0, endSeconds = 0;
  std::vector<double> tenths(10, 0.0);  // the time spent in each tenth of the run
  std::size_t textUnits = 0;
  for (long i = 1; i <= entries; ++i) {
    const double begin = Now();
    for (wchar_t c : std::to_wstring(i % 10000)) {
      SendMessageW(entry, WM_CHAR, c, 1);
    }
    SendMessageW(entry, WM_KEYDOWN, VK_RETURN, 1);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const double spent = Now() - begin;
    tenths[static_cast<std::size_t>((i - 1) * 10 / entries)] += spent;
    if (i <= window) {
      startSeconds += spent;
    } else if (i > entries - window) {
      endSeconds += spent;
    }
    // The text this entry adds to the tape: both lines with their CR LF, in UTF-16.
    textUnits += static_cast<std::size_t>(GetWindowTextLengthW(shell.windows.lastEntry)) +
                 static_cast<std::size_t>(GetWindowTextLengthW(shell.windows.total)) + 4;
  }

  const double memoryEnd = WorkingSetMiB();
  const long gdiHeadroomEnd = GdiHeadroom();
  const long userHeadroomEnd = UserHeadroom();
  const DWORD gdiEnd = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userEnd = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);

  SendMessageW(main, WM_COMMAND, IDM_TRANSFER, 0);
  const std::wstring clipboard = ClipboardText();
  std::size_t rows = 0;
  for (wchar_t c : clipboard) {
    rows += c == L'\n';
  }

  std::printf("entries typed: %ld, each followed by a repaint\n", entries);
  std::printf("GDI objects (GetGuiResources): %lu at the start, %lu at the end%s\n", gdiStart,
              gdiEnd, gdiStart == 0 && gdiEnd == 0 ? " (not counted by this system)" : "");
  std::printf("USER objects (GetGuiResources): %lu at the start, %lu at the end\n", userStart,
              userEnd);
  std::printf("GDI objects still free to create: %ld at the start, %ld at the end\n",
              gdiHeadroomStart, gdiHeadroomEnd);
  std::printf("USER objects still free to create: %ld at the start, %ld at the end\n",
              userHeadroomStart, userHeadroomEnd);
  const double textMiB = static_cast<double>(textUnits * 2) / (1024.0 * 1024.0);
  std::printf(
      "working set: %.2f MiB at the start, %.2f MiB at the end: grew %.2f MiB for "
      "%.2f MiB of tape text (%.2fx)\n",
      memoryStart, memoryEnd, memoryEnd - memoryStart, textMiB,
      (memoryEnd - memoryStart) / textMiB);
  std::printf("clipboard transfer at the end: %zu rows (%ld entries and the header), %zu units\n",
              rows, entries, clipboard.size());
  std::printf(
      "time per entry: %.1f us over the first %ld, %.1f us over the last %ld: ratio %.2f "
      "(target at most 1.2)\n",
      startSeconds * 1e6 / window, window, endSeconds * 1e6 / window, window,
      endSeconds / startSeconds);
  std::printf("mean time per entry in each tenth of the run (us):");
  for (double seconds : tenths) {
    std::printf(" %.0f", seconds * 1e6 / (static_cast<double>(entries) / 10));
  }
  std::printf("\n");
  DestroyWindow(main);
  return rows == static_cast<std::size_t>(entries) + 1 ? 0 : 1;
}
