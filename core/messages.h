// The message boxes the core shows, with their exact texts, and the sink they go to.
#pragma once

#include <optional>

#include "history/text.h"

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

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(const Message& message) = 0;
};

inline const Message kMemoryErrorMessage{MessageOwner::MainWindow, u"memory allocate error!", u"",
                                         MessageIcon::None};
inline const Message kRangeErrorMessage{MessageOwner::EntryBox, u"計算範囲を超えました",
                                        u"テープカン Error", MessageIcon::Warning};
inline const Message kStackUnderflowMessage{MessageOwner::None, u"stack underflow!\n", std::nullopt,
                                            MessageIcon::None};

}  // namespace tapecount
