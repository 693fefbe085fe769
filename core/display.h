// The one interface through which the portable code shows things and asks the window
// system for things. The Win32 shell implements it; the tests implement it with a fake that
// records what was shown and resizes synchronously, as the real window does.
// Showing never takes memory of the program's own (the texts are handed over as they are),
// so the model can always show what it has done, and that it ran out of memory.
#pragma once

#include "core/messages.h"
#include "core/text.h"

namespace tapecount {

enum class PaneId { Input, Total };

struct PaneRect {
  int x, y, width, height;
  bool operator==(const PaneRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

struct WindowSize {
  int width, height;
  bool operator==(const WindowSize& o) const { return width == o.width && height == o.height; }
};

// The menu items whose marks the program sets.
enum class MenuItem { AutoExpand, AutoMode, Topmost, Transparency, SaveSettings, SingleInstance };
// A menu item's whole state.
enum class ItemState { Unchecked, Checked, Grayed };

enum class Fade { In, Out };

// A fade as the window model plans it: `steps` steps, `stepMs` apart, after a wait of `waitMs`.
// Each step is handed back by its index; the model knows the alpha of each.
struct FadePlan {
  Fade fade;
  unsigned session;  // the model drops steps of a session it has ended
  int waitMs;
  int steps;
  int stepMs;
};

class Display {
 public:
  virtual ~Display() = default;

  // The entry box.
  virtual Text EntryText() const = 0;
  virtual void SetEntryText(const Text& text) = 0;
  virtual void FocusEntry() = 0;
  // Focus with the caret after the last character.
  virtual void FocusEntryAtEnd() = 0;

  // The displays, the history panes, the title, the status bar and the menu marks.
  virtual void SetLastEntryText(const Text& text) = 0;
  virtual void SetTotalText(const Text& text) = 0;
  virtual void SetPaneText(PaneId pane, TextTail text) = 0;
  virtual void MovePane(PaneId pane, const PaneRect& rect) = 0;
  virtual void SetTitle(const Text& text) = 0;
  virtual void SetStatusText(const Text& text) = 0;
  // Lets the status bar lay itself out along the bottom of a client area of this size.
  virtual void LayoutStatusBar(int clientWidth, int clientHeight) = 0;
  virtual void SetItemState(MenuItem item, ItemState state) = 0;

  // The main window's outer size (frame included) as the window system has it now.
  virtual WindowSize OuterSize() const = 0;
  // A new outer size without moving, in the topmost band or out of it. When the size
  // changes, the size handling (WindowModel::Sized) runs inside the call.
  virtual void PlaceWindow(WindowSize size, bool topmost) = 0;
  // Makes the window layered, if it is not yet, and shows it with this alpha.
  virtual void SetAlpha(int alpha) = 0;
  virtual void CapturePointer() = 0;
  virtual void ReleasePointer() = 0;
  // Starts a fade on a thread of its own: after its wait it hands back each step
  // (WindowModel::FadeStep), then its end (WindowModel::FadeEnded). One fade steps at a time:
  // a fade waits for the one before it to end. False when no thread can be had.
  virtual bool StartFade(const FadePlan& plan) = 0;
  // Fades of any other session stop at their next step.
  virtual void StopFades(unsigned liveSession) = 0;
  // The room below the window is measured off the window thread; the result comes back as
  // WindowModel::ScreenRowLimitComputed with this generation.
  virtual void StartScreenRowCheck(unsigned generation) = 0;
  // Destroys the main window: the program ends.
  virtual void Close() = 0;

  virtual void ShowMessage(const Message& message) = 0;
  // False when the clipboard could not be had.
  virtual bool CopyToClipboard(const Text& text) = 0;
};

}  // namespace tapecount
