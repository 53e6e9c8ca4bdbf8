// Arbitrary text for the trace reader (checks.h says what its result must be), which reads the
// moves as the record reader does, up to a node listing after an empty line.
#include "checks.h"
#include "files/trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zel;
  using fuzz::Check;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const RecordLoad trace = ParseTrace(text);
  fuzz::CheckLoad(trace, text);
  const RecordLoad record = ParseRecord(text);
  const std::string both = DescribeLoad(trace) + "\" against \"" + DescribeLoad(record);
  Check(trace.moves.size() <= record.moves.size() &&
            std::equal(trace.moves.begin(), trace.moves.end(), record.moves.begin()),
        "the trace reader's moves are not the record reader's first: \"" + both);
  const auto normal = [](RecordStop s) {
    return s == RecordStop::kEnd || s == RecordStop::kNoMoves;
  };
  if (!normal(trace.stop)) {  // an early stop is the record reader's own
    Check(trace.moves.size() == record.moves.size() && trace.stop == record.stop &&
              trace.line == record.line && trace.found == record.found,
          "the trace reader stops early otherwise: \"" + both);
  } else if (!normal(record.stop) && trace.moves.size() == record.moves.size()) {
    // The listing began where the record reader stopped: after an empty line, and not at text
    // after a move, whose move both readers keep.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::vector<std::string_view> lines = fuzz::SplitLines(text);
    const size_t at = static_cast<size_t>(record.line);
    Check(record.stop != RecordStop::kTrailingText && at >= 2 && at <= lines.size() &&
              lines[at - 2].find_first_not_of(" \t\v\f") == std::string_view::npos,
          "the trace reader ends normally at a line after no empty line: \"" + both);
  }
  // Nodes of the input's first bytes, four to a node: every depth, point and value a node holds.
  std::vector<TraceEntry> nodes;
  for (size_t i = 0; i + 4 <= std::min<size_t>(size, 1024); i += 4)
    nodes.push_back({data[i], data[i + 1], data[i + 2], static_cast<std::int8_t>(data[i + 3])});
  fuzz::CheckReadBack(ParseTrace(FormatTrace(trace.moves, {}, false)), trace.moves);
  for (const bool brief : {false, true})
    fuzz::CheckReadBack(ParseTrace(FormatTrace(trace.moves, nodes, brief)), trace.moves);
  return 0;
}
