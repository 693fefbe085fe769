#include "program.h"

#include <new>

#include "main_window.h"
#include "resource.h"
#include "session.h"
#include "settings.h"
#include "shell.h"
#include "wide.h"

namespace tapecount {

namespace {

// The string whole, read in place (a string resource need not end with a terminator); empty
// when there is none.
std::wstring LoadText(HINSTANCE instance, UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

bool RegisterMainClass(HINSTANCE instance, const std::wstring& className) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT));
  // The small icon's own image for the caption's size (LoadIconW would take its 32-pixel
  // image, for the caption to shrink); if it cannot be loaded, Windows shrinks the large one.
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT_SMALL), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN);
  windowClass.lpszClassName = className.c_str();
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The C++ runtime makes a thread's exception state the first time the thread throws (MinGW's
// with malloc): were that throw the one saying memory ran out, the program would end there.
// So the window thread throws once at its start, while there is memory.
void MakeExceptionState() noexcept {
  try {
    throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

Shell::Shell(const Release& release, HINSTANCE instance) : release(release), instance(instance) {}

bool AcquireSingleInstance(Shell& shell) {
  ReadSingleInstanceSetting(shell);
  // Created whether the guard is on or not, so a running copy with the guard off still
  // stops a later copy whose guard is on.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  const DWORD error = GetLastError();
  shell.mutex.Reset(mutex);
  // A copy run by another user, or elevated, keeps this one from opening its mutex at all.
  const bool otherCopy =
      error == ERROR_ALREADY_EXISTS || (mutex == nullptr && error == ERROR_ACCESS_DENIED);
  if (shell.model.SingleInstance() && otherCopy) {
    Beep(1000, 50);
    return false;
  }
  return true;
}

HWND OpenMainWindow(Shell& shell, int show) {
  shell.windowName = LoadText(shell.instance, IDS_WINDOW_NAME);
  shell.className = LoadText(shell.instance, IDS_CLASS_NAME);
  if (shell.className.empty() || !RegisterMainClass(shell.instance, shell.className)) {
    return nullptr;
  }
  HWND window = CreateWindowExW(
      0, shell.className.c_str(), shell.windowName.c_str(),
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
      CW_USEDEFAULT, 0, kInitialSize.width, kInitialSize.height, nullptr, nullptr, shell.instance,
      &shell);
  if (window == nullptr) {
    return nullptr;
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  // Once the window has its size, so the tape fills the rows it has.
  if (shell.restart) {
    RestoreTape(shell, *shell.restart);
  }
  LoadSettings(shell);
  return window;
}

int RunMessageLoop(Shell& shell) {
  HACCEL accelerators = LoadAcceleratorsW(shell.instance, MAKEINTRESOURCEW(IDR_MAIN));
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) {
      return 0;
    }
    // Accelerators go to the message's own window: from the entry box, to the entry box.
    if (TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
      continue;
    }
    HWND viewer = shell.windows.viewer;
    if (viewer != nullptr && IsDialogMessageW(viewer, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int TapecountMain(HINSTANCE instance, const wchar_t* commandLine, int show,
                  const Release& release) noexcept {
  MakeExceptionState();
  // Without memory for its start the program ends as when its window cannot be made.
  try {
    Shell shell(release, instance);
    shell.restart = TakeRestartRequest(commandLine);
    if (!AcquireSingleInstance(shell)) {
      return 0;
    }
    if (OpenMainWindow(shell, show) == nullptr) {
      return 0;
    }
    return RunMessageLoop(shell);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

}  // namespace tapecount
