// The message boxes and status texts the program shows, with their exact texts.
#pragma once

#include <optional>

#include "core/text.h"

namespace tapecount {

enum class MessageOwner { MainWindow, EntryBox, None };
enum class MessageIcon { None, Warning, Error };

// A message box's texts are views of the program's literals, or of a Text that lives while
// the box is shown; each ends where its string ends, so its terminator follows it. So the
// constants below are built by the compiler, not by code run before the program starts, and
// showing one takes no memory: not even the box that says memory ran out.
struct Message {
  MessageOwner owner;
  TextView text;
  std::optional<TextView> caption;  // none: the platform's default title shows
  MessageIcon icon;

  bool operator==(const Message& other) const {
    return owner == other.owner && text == other.text && caption == other.caption &&
           icon == other.icon;
  }
};

inline constexpr char16_t kTransferDoneStatus[] = u"テプカン: 履歴をｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送しました";
inline constexpr char16_t kTransferFailedStatus[] =
    u"テプカン: ｸﾘｯﾌﾟﾎﾞｰﾄﾞが使用中のため履歴を転送できませんでした";

inline constexpr Message kMemoryErrorMessage{MessageOwner::MainWindow, u"memory allocate error!",
                                             u"", MessageIcon::None};
inline constexpr Message kRangeErrorMessage{MessageOwner::EntryBox, u"計算範囲を超えました",
                                            u"テープカン Error", MessageIcon::Warning};
// Clear-all copies the history to the clipboard first; it clears nothing it could not copy.
inline constexpr Message kClearRefusedMessage{
    MessageOwner::MainWindow,
    u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞが使用中のため履歴を転送できませんでした。\n履歴は消去していません。",
    u"テープカン Error", MessageIcon::Warning};
inline constexpr Message kStackUnderflowMessage{MessageOwner::None, u"stack underflow!\n",
                                                std::nullopt, MessageIcon::None};
inline constexpr Message kImeReleaseErrorMessage{MessageOwner::EntryBox, u"ImmReleaseContext Error",
                                                 u"テープカン Error", MessageIcon::Warning};
inline constexpr Message kNoDefaultPrinterMessage{
    MessageOwner::MainWindow, u"No default printer selected.", u"Print", MessageIcon::Error};
// The printer refused the job or one of its pages: nothing of it is printed.
inline constexpr Message kPrintFailedMessage{MessageOwner::MainWindow, u"印刷できませんでした。",
                                             u"テープカン Error", MessageIcon::Warning};

// A save that could not write the settings file changes nothing on disk, and says so: the
// text names the file, and must live while the box is shown.
inline Text SettingsNotSavedText(const Text& path) {
  return u"設定を保存できませんでした。\n" + path;
}
inline Message SettingsNotSavedMessage(const Text& text) {
  return {MessageOwner::MainWindow, text, u"テープカン Error", MessageIcon::Warning};
}

}  // namespace tapecount
