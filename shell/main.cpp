// Placeholder entry point: links the core so the Windows build and its tests are in place.
#include <windows.h>

#include "core/calculator.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return 0;
}
