// Another program using the clipboard or a file, for the tests:
//   helper set <text>         puts the text on the clipboard as Unicode text
//   helper other              puts data of a private format only, no text
//   helper hold <ms>          keeps the clipboard open; signals the event
//                             "tapecount-test-clipboard-held" once it has it
//   helper lock <path> <ms>   keeps the file open with no sharing; signals the event
//                             "tapecount-test-file-locked" once it has it
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

bool PutOnClipboard(UINT format, const void* data, SIZE_T bytes) {
  if (!OpenClipboard(nullptr)) {
    return false;
  }
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(block), data, bytes);
  GlobalUnlock(block);
  const bool put = SetClipboardData(format, block) != nullptr;
  CloseClipboard();
  return put;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wcscmp(argv[1], L"set") == 0) {
    const std::wstring text = argv[2];
    return PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)) ? 0
                                                                                             : 1;
  }
  if (argc >= 2 && std::wcscmp(argv[1], L"other") == 0) {
    const char data[] = "not text";
    return PutOnClipboard(RegisterClipboardFormatW(L"tapecount-test-private"), data, sizeof data)
               ? 0
               : 1;
  }
  if (argc >= 3 && std::wcscmp(argv[1], L"hold") == 0) {
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-clipboard-held");
    // Held by a window, as programs hold it: Wine lets two openers without a window share it.
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    while (!OpenClipboard(window)) {
      Sleep(1);
    }
    SetEvent(held);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    CloseClipboard();
    DestroyWindow(window);
    CloseHandle(held);
    return 0;
  }
  if (argc >= 4 && std::wcscmp(argv[1], L"lock") == 0) {
    HANDLE locked = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-file-locked");
    HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    SetEvent(locked);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
    CloseHandle(file);
    CloseHandle(locked);
    return file == INVALID_HANDLE_VALUE ? 1 : 0;
  }
  return 2;
}
