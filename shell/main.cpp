// Release 1.34.
#include <windows.h>

#include "program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  return tapecount::TapecountMain(instance, commandLine, show, tapecount::kRelease134);
}
