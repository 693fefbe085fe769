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

// A message whose texts are fixed: views of literals, so the constants below are built by
// the compiler, not by code run before the program starts; each becomes a Message when
// shown.
struct FixedMessage {
  MessageOwner owner;
  TextView text;
  std::optional<TextView> caption;
  MessageIcon icon;

  operator Message() const {
    return {owner, Text(text), caption ? std::optional<Text>(Text(*caption)) : std::nullopt, icon};
  }
};

inline constexpr FixedMessage kMemoryErrorMessage{
    MessageOwner::MainWindow, u"memory allocate error!", u"", MessageIcon::None};
inline constexpr FixedMessage kRangeErrorMessage{MessageOwner::EntryBox, u"計算範囲を超えました",
                                                 u"テープカン Error", MessageIcon::Warning};
// Clear-all copies the history to the clipboard first; it clears nothing it could not copy.
inline constexpr FixedMessage kClearRefusedMessage{
    MessageOwner::MainWindow,
    u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞが使用中のため履歴を転送できませんでした。\n履歴は消去していません。",
    u"テープカン Error", MessageIcon::Warning};
// A save that could not write the settings file changes nothing on disk, and says so.
inline Message SettingsNotSavedMessage(const Text& path) {
  return {MessageOwner::MainWindow, u"設定を保存できませんでした。\n" + path, u"テープカン Error",
          MessageIcon::Warning};
}
inline constexpr FixedMessage kStackUnderflowMessage{MessageOwner::None, u"stack underflow!\n",
                                                     std::nullopt, MessageIcon::None};

}  // namespace tapecount
