// Any bytes as a session journal: reading never fails badly, and a journal read back writes
// to bytes that read back as the same journal, and to the same bytes again.
#include <cstdint>
#include <cstdlib>

#include "shell/model/journal.h"
#include "support/same_journal.h"

#define CHECK(ok) ((ok) ? void() : std::abort())

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<tapecount::Journal> journal =
      tapecount::ReadJournal({reinterpret_cast<const char*>(data), size});
  if (!journal) {
    return 0;
  }
  const std::string bytes = tapecount::WriteJournal(*journal);
  const std::optional<tapecount::Journal> again = tapecount::ReadJournal(bytes);
  CHECK(again && tapecount::testing::SameJournal(*again, *journal));
  CHECK(tapecount::WriteJournal(*again) == bytes);
  return 0;
}
