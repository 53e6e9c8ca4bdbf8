// Arbitrary text for the record reader: checks.h says what its result must be.
#include "checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zel::RecordLoad load = zel::ParseRecord(text);
  zel::fuzz::CheckLoad(load, text);
  zel::fuzz::CheckReadBack(zel::ParseRecord(zel::FormatRecord(load.moves)), load.moves);
  return 0;
}
