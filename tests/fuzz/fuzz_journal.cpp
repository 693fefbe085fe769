// Any bytes as a journal: a journal read back writes bytes that read back as the same.
#include <cstdint>

#include "fuzz/check.h"
#include "shell/model/journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<tapecount::Journal> journal =
      tapecount::ReadJournal({reinterpret_cast<const char*>(data), size});
  if (journal) {
    const std::string bytes = tapecount::WriteJournal(*journal);
    const std::optional<tapecount::Journal> again = tapecount::ReadJournal(bytes);
    CHECK(again && again->entries.size() == journal->entries.size() &&
          tapecount::WriteJournal(*again) == bytes);
  }
  return 0;
}
