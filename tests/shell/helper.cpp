// Another program using the clipboard or a file, for the tests:
//   helper set <text>         puts the text on the clipboard as Unicode text
//   helper other              puts data of a private format only, no text
//   helper lock <path>        keeps the file open, unshared, from "tapecount-test-held" until
//                             "tapecount-test-let-go"
//   helper throw              an exception escapes a worker thread (the terminate handler's)
#include <windows.h>

#include <cstring>
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
  if (command != L"lock" || argc < 3) {
    return 2;
  }
  HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-let-go");
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"tapecount-test-held");
  HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  SetEvent(held);
  const DWORD waited = WaitForSingleObject(letGo, 60000);  // a test that never lets go failed
  CloseHandle(file);
  return waited == WAIT_OBJECT_0 ? 0 : 3;
}
