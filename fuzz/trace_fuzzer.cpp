// Feeds arbitrary text to the trace reader. The same expectations as for the record reader
// (see record_fuzzer.cpp), and besides: the trace reader reads the moves as the record reader
// does, up to a node listing after an empty line; and a trace file written for the moves, with
// or without nodes, reads back as the same moves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "checks.h"
#include "files/record.h"
#include "files/trace.h"

namespace {

using zel::RecordLoad;
using zel::RecordStop;

// Nodes made of the input's first bytes, four to a node (depth, row, column, value), so that
// the trace writer meets every depth, point and value a node can hold.
std::vector<zel::TraceEntry> NodesFrom(std::span<const std::uint8_t> bytes) {
  std::vector<zel::TraceEntry> nodes;
  for (size_t i = 0; i + 4 <= std::min<size_t>(bytes.size(), 1024); i += 4) {
    nodes.push_back({.depth = bytes[i],
                     .row = bytes[i + 1],
                     .col = bytes[i + 2],
                     .value = static_cast<std::int8_t>(bytes[i + 3])});
  }
  return nodes;
}

// A line of nothing but white space, which both readers pass over.
bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\v\f") == std::string_view::npos;
}

bool EndsNormally(const RecordLoad& load) {
  return load.stop == RecordStop::kEnd || load.stop == RecordStop::kNoMoves;
}

// The trace reader against the record reader on the same text: the same moves up to where a node
// listing begins, which ends the moves normally; an early stop is the record reader's own.
void CompareWithRecordReader(const RecordLoad& trace, std::string_view text) {
  const RecordLoad record = zel::ParseRecord(text);
  const bool prefix = trace.moves.size() <= record.moves.size() &&
                      std::equal(trace.moves.begin(), trace.moves.end(), record.moves.begin());
  if (!prefix) {
    zel::fuzz::Fail("the trace reader's " + std::to_string(trace.moves.size()) +
                    " moves are not the first of the record reader's " +
                    std::to_string(record.moves.size()));
  }
  if (EndsNormally(trace)) {
    if (EndsNormally(record) || trace.moves.size() < record.moves.size()) return;
    // The listing began at the line where the record reader stopped: a line after an empty
    // line, and not a move with text after it, whose move both readers keep.
    if (record.stop == RecordStop::kTrailingText) {
      zel::fuzz::Fail("the trace reader ends normally at text after a move: " +
                      zel::DescribeLoad(record));
    }
    std::string_view body = text;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    const std::vector<std::string_view> lines = zel::fuzz::SplitLines(body);
    if (record.line < 2 || static_cast<size_t>(record.line) > lines.size() ||
        !IsBlank(lines[static_cast<size_t>(record.line) - 2])) {
      zel::fuzz::Fail("the trace reader ends normally at a line after no empty line: " +
                      zel::DescribeLoad(record));
    }
    return;
  }
  if (trace.moves.size() != record.moves.size() || trace.stop != record.stop ||
      trace.line != record.line || trace.found != record.found) {
    zel::fuzz::Fail("the trace reader stops early otherwise than the record reader: \"" +
                    zel::DescribeLoad(trace) + "\" against \"" + zel::DescribeLoad(record) + "\"");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RecordLoad load = zel::ParseTrace(text);
  zel::fuzz::CheckLoad(load, text);
  zel::fuzz::CheckGame(load.moves);
  CompareWithRecordReader(load, text);

  zel::fuzz::CheckReadBack(zel::ParseTrace(zel::FormatTrace(load.moves, {}, false)), load.moves,
                           "FormatTrace without nodes");
  const std::vector<zel::TraceEntry> nodes = NodesFrom({data, size});
  for (const bool shortTrace : {false, true}) {
    zel::fuzz::CheckReadBack(zel::ParseTrace(zel::FormatTrace(load.moves, nodes, shortTrace)),
                             load.moves, "FormatTrace with nodes");
  }
  return 0;
}
