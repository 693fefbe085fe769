// The common dialogs (page setup, print, colour, font), from comdlg32.dll loaded the first
// time one opens: most runs open none, and the library with those it loads in turn costs
// every start-up several milliseconds. A dialog fails as if cancelled when the library
// cannot be had.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "handles.h"

namespace tapecount {

class CommonDialogs {
  struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Release(HMODULE module) { FreeLibrary(module); }
  };

  template <typename Function, typename... Arguments>
  DWORD Call(const char* name, Arguments... arguments) {
    if (!library_) {
      library_.Reset(LoadLibraryW(L"comdlg32.dll"));
    }
    const auto function = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(library_ ? GetProcAddress(library_.Get(), name) : nullptr));
    return function != nullptr ? static_cast<DWORD>(function(arguments...)) : 0;
  }

  Owned<HMODULE, LibraryTraits> library_;

 public:
  bool PageSetupDialog(PAGESETUPDLGW* record) {
    return Call<BOOL(WINAPI*)(PAGESETUPDLGW*)>("PageSetupDlgW", record) != 0;
  }
  bool PrintDialog(PRINTDLGW* record) {
    return Call<BOOL(WINAPI*)(PRINTDLGW*)>("PrintDlgW", record) != 0;
  }
  bool ColourDialog(CHOOSECOLORW* record) {
    return Call<BOOL(WINAPI*)(CHOOSECOLORW*)>("ChooseColorW", record) != 0;
  }
  bool FontDialog(CHOOSEFONTW* record) {
    return Call<BOOL(WINAPI*)(CHOOSEFONTW*)>("ChooseFontW", record) != 0;
  }
  DWORD LastError() { return Call<DWORD(WINAPI*)()>("CommDlgExtendedError"); }
};

}  // namespace tapecount
