// The program's start-up and its message loop.
#include "history/tape.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"
#include "shell.h"

namespace tapecount {

namespace {

std::wstring LoadText(HINSTANCE instance, UINT id) {
  wchar_t text[50] = {};
  LoadStringW(instance, id, text, 50);
  return text;
}

bool RegisterMainClass(HINSTANCE instance, const std::wstring& className) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT));
  windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAPECOUNT_SMALL));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN);
  windowClass.lpszClassName = className.c_str();
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool AcquireSingleInstance() {
  Program& program = TheProgram();
  ReadSingleInstanceSetting();
  // Created whether the guard is on or not, so a running copy with the guard off still
  // stops a later copy whose guard is on.
  program.mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  if (program.singleInstance && GetLastError() == ERROR_ALREADY_EXISTS) {
    Beep(1000, 50);
    return false;
  }
  return true;
}

HWND OpenMainWindow(HINSTANCE instance, int show) {
  Program& program = TheProgram();
  program.instance = instance;
  program.windowName = LoadText(instance, IDS_WINDOW_NAME);
  program.className = LoadText(instance, IDS_CLASS_NAME);
  if (!RegisterMainClass(instance, program.className)) {
    return nullptr;
  }
  HWND window = CreateWindowExW(
      0, program.className.c_str(), program.windowName.c_str(),
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
      CW_USEDEFAULT, 0, kInitialWidth, kInitialHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return nullptr;
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  LoadSettings();
  return window;
}

int RunMessageLoop() {
  HACCEL accelerators = LoadAcceleratorsW(TheProgram().instance, MAKEINTRESOURCEW(IDR_MAIN));
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
    HWND viewer = HasShell() ? TheShell().viewer : nullptr;
    if (viewer != nullptr && IsDialogMessageW(viewer, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int TapecountMain(HINSTANCE instance, int show) {
  if (!AcquireSingleInstance()) {
    return 0;
  }
  if (OpenMainWindow(instance, show) == nullptr) {
    return 0;
  }
  return RunMessageLoop();
}

}  // namespace tapecount
