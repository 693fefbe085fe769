// Another program using the clipboard or a file, for the tests:
//   helper set <text>         puts the text on the clipboard as Unicode text
//   helper other              puts data of a private format only, no text
//   helper lock <path> <ms>   keeps the file open, unshared; signals "tapecount-test-held"
//   helper throw              an exception escapes a worker thread (the terminate handler's)
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <stdexcept>
#include <string>

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"throw") {
    HANDLE thread = CreateThread(
        nullptr, 0, [](void*) -> DWORD { throw std::runtime_error("escapes"); }, nullptr, 0,
        nullptr);
    WaitForSingleObject(thread, INFINITE);
    return 0;  // not reached: the whole program ends with the thread
  }
  if (command == L"set" || command == L"other") {
    const std::wstring text = command == L"set" && argc > 2 ? argv[2] : L"not text";
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    const UINT format =
        command == L"set" ? CF_UNICODETEXT : RegisterClipboardFormatW(L"tapecount-test-private");
    const bool put = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(format, block);
    CloseClipboard();
    return put ? 0 : 1;
  }
  if (command != L"lock" || argc < 4) {
    return 2;
  }
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-held");
  HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  SetEvent(held);
  Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
  CloseHandle(file);
  CloseHandle(held);
  return 0;
}
