// Release 1.27.
#include <windows.h>

#include "program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  return tapecount::TapecountMain(instance, commandLine, show, tapecount::kRelease127);
}
