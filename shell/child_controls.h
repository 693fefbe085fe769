// The main window's handles, and the table its child controls are made from: the program
// makes them from it, and so does the plain window the start-up benchmark measures it against.
#pragma once

#include <windows.h>

namespace tapecount {

// The main window and its children.
struct ShellWindows {
  HWND main = nullptr;
  HWND entry = nullptr;
  HWND lastEntry = nullptr;
  HWND total = nullptr;
  HWND totalLabel = nullptr;
  HWND inputPane = nullptr;
  HWND totalPane = nullptr;
  HWND status = nullptr;
  HWND viewer = nullptr;               // the clipboard viewer, while it is open
  HWND nextClipboardViewer = nullptr;  // the viewer after ours in the clipboard chain
  HMENU menu = nullptr;
};

// The system's font, or one of the two sizes of the controls' own.
enum class ControlFont { System, Large, Small };

struct ChildControl {
  HWND ShellWindows::*handle;
  const wchar_t* className;
  DWORD extendedStyle;
  DWORD style;  // besides WS_CHILD | WS_VISIBLE
  const wchar_t* text;
  int x, y, width, height;
  ControlFont font;
};

// Created in this order; the panes are laid out by the size handling, and shown by the model.
inline constexpr ChildControl kChildControls[] = {
    {&ShellWindows::entry, L"EDIT", WS_EX_CLIENTEDGE, ES_NUMBER, L"", 10, 10, 125, 30,
     ControlFont::Large},
    {&ShellWindows::lastEntry, L"STATIC", WS_EX_CLIENTEDGE, 0, L"0", 135, 10, 125, 30,
     ControlFont::Large},
    {&ShellWindows::total, L"STATIC", WS_EX_CLIENTEDGE, 0, L"0", 60, 50, 200, 30,
     ControlFont::Large},
    {&ShellWindows::totalLabel, L"STATIC", WS_EX_WINDOWEDGE, 0, L"合計", 10, 50, 50, 30,
     ControlFont::System},
    {&ShellWindows::inputPane, L"STATIC", WS_EX_CLIENTEDGE, 0, L"", 0, 0, 0, 0, ControlFont::Small},
    {&ShellWindows::totalPane, L"STATIC", WS_EX_CLIENTEDGE, 0, L"", 0, 0, 0, 0, ControlFont::Small},
};

// One of the controls' own fonts (not the system's); null when it cannot be made.
inline HFONT CreateControlFont(ControlFont font) {
  const bool large = font == ControlFont::Large;
  return CreateFontW(large ? 24 : 18, large ? 10 : 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, L"MS　ゴシック");
}

}  // namespace tapecount
