// What the calculator needs from the window system: the entry box, the two displays, the
// mode text of the title and message boxes. The shell implements it with Win32 calls;
// tests with a fake that records what was shown.
#pragma once

#include "core/messages.h"
#include "history/text.h"

namespace tapecount {

class CalcView : public MessageSink {
 public:
  virtual Text EntryText() const = 0;
  virtual void SetEntryText(const Text& text) = 0;
  // Keyboard focus in the entry box with the caret after the last character.
  virtual void FocusEntryAtEnd() = 0;
  virtual void FocusEntry() = 0;
  virtual void SetLastEntryText(const Text& text) = 0;
  virtual void SetTotalText(const Text& text) = 0;
  // The first field of the title; setting it rebuilds the title.
  virtual void SetModeText(const Text& text) = 0;
  virtual void SetStatusText(const Text& text) = 0;
  // Puts the text on the clipboard; false when the clipboard could not be had.
  virtual bool CopyToClipboard(const Text& text) = 0;
};

}  // namespace tapecount
