// The message boxes and status texts the program shows, with their exact texts.
#pragma once

#include <optional>

#include "core/text.h"

namespace tapecount {

enum class MessageOwner { MainWindow, EntryBox, None };
enum class MessageIcon { None, Warning, Error };

struct Message {
  MessageOwner owner;
  Text text;
  std::optional<Text> caption;  // none: the platform's default title shows
  MessageIcon icon;

  bool operator==(const Message& other) const {
    return owner == other.owner && text == other.text && caption == other.caption &&
           icon == other.icon;
  }
};

inline constexpr char16_t kTransferDoneStatus[] = u"テプカン: 履歴をｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送しました";
inline constexpr char16_t kTransferFailedStatus[] =
    u"テプカン: ｸﾘｯﾌﾟﾎﾞｰﾄﾞが使用中のため履歴を転送できませんでした";

inline const Message kMemoryErrorMessage{MessageOwner::MainWindow, u"memory allocate error!", u"",
                                         MessageIcon::None};
inline const Message kRangeErrorMessage{MessageOwner::EntryBox, u"計算範囲を超えました",
                                        u"テープカン Error", MessageIcon::Warning};
// Clear-all copies the history to the clipboard first; it clears nothing it could not copy.
inline const Message kClearRefusedMessage{
    MessageOwner::MainWindow,
    u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞが使用中のため履歴を転送できませんでした。\n履歴は消去していません。",
    u"テープカン Error", MessageIcon::Warning};
// A save that could not write the settings file changes nothing on disk, and says so.
inline Message SettingsNotSavedMessage(const Text& path) {
  return {MessageOwner::MainWindow, u"設定を保存できませんでした。\n" + path, u"テープカン Error",
          MessageIcon::Warning};
}
inline const Message kStackUnderflowMessage{MessageOwner::None, u"stack underflow!\n", std::nullopt,
                                            MessageIcon::None};
inline const Message kImeReleaseErrorMessage{MessageOwner::EntryBox, u"ImmReleaseContext Error",
                                             u"テープカン Error", MessageIcon::Warning};
inline const Message kNoDefaultPrinterMessage{
    MessageOwner::MainWindow, u"No default printer selected.", u"Print", MessageIcon::Error};

}  // namespace tapecount
