// Feeds arbitrary text to the record reader. Whatever it holds, the reader must return sound
// moves with a stop that agrees with them and a one-line description; the moves must load into
// a game whose state stays sound; and the record written for them must read back as the same
// moves, ending normally.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "files/record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zel::RecordLoad load = zel::ParseRecord(text);
  zel::fuzz::CheckLoad(load, text);
  zel::fuzz::CheckGame(load.moves);
  zel::fuzz::CheckReadBack(zel::ParseRecord(zel::FormatRecord(load.moves)), load.moves,
                           "FormatRecord");
  return 0;
}
