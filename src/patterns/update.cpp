#include "patterns/update.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "patterns/line_codes.h"
#include "patterns/lines.h"
#include "patterns/segment.h"

namespace zel {
namespace {

// Each colour's stones along one line, bit t for cell t.
struct LineStones {
  unsigned black;
  unsigned white;
};

// One colour's codes along a line, cell t in byte t, held in a register: the sixteen bytes of a
// line's codes are compared and written together.
__extension__ typedef unsigned __int128 LineCodes;
static_assert(std::endian::native == std::endian::little, "byte t of a line is cell t");

// The codes of the segment of cells start to end - 1 in bytes start to end - 1, and 0
// (blocked) in the others: a segment shorter than five is blocked throughout.
LineCodes SegmentCodes(unsigned own, int start, int end, int colour) {
  const int length = end - start;
  if (length < 5) return 0;
  LineCodes codes;
  std::memcpy(&codes, SegmentBlock(own >> start & ((1U << length) - 1), length, colour),
              sizeof codes);
  return codes << (8 * start);
}

// All bits of bytes first to last - 1.
LineCodes CellRange(int first, int last) {
  return ((LineCodes{1} << (8 * last)) - 1) & ~((LineCodes{1} << (8 * first)) - 1);
}

// Eight bytes at a time: bit k of the result tells about byte k of the word.
constexpr std::uint64_t kLowBits = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Gathers the high bit of each byte into bits 0 to 7.
constexpr unsigned PackHighBits(std::uint64_t word) {
  return static_cast<unsigned>(((word & kHighBits) >> 7) * 0x0102040810204080 >> 56);
}

// The bytes that are not zero.
constexpr unsigned NonZeroBytes(std::uint64_t word) {
  return PackHighBits(((word & ~kHighBits) + ~kHighBits) | word);
}

// The bytes that hold a threat code (above 6). Codes stay below 0x80, so the sum never carries
// from one byte into the next.
constexpr unsigned ThreatBytes(std::uint64_t word) {
  return PackHighBits(word + (0x80 - (kThreatThreshold + 1)) * kLowBits);
}

// The same over the sixteen cells of a line.
unsigned NonZeroCells(LineCodes codes) {
  return NonZeroBytes(static_cast<std::uint64_t>(codes)) |
         NonZeroBytes(static_cast<std::uint64_t>(codes >> 64)) << 8;
}
unsigned ThreatCells(LineCodes codes) {
  return ThreatBytes(static_cast<std::uint64_t>(codes)) |
         ThreatBytes(static_cast<std::uint64_t>(codes >> 64)) << 8;
}

// Re-evaluates one colour's codes along one line; returns the cells to re-examine, bit t for
// cell t.
//
// Only the cells between the opponent's nearest stones on either side of the changed point can
// change: a segment's codes depend on its own cells alone, and every other segment of the line
// is what it was when an earlier update (the first one on this line saw the line whole)
// evaluated it. The new codes of those cells go into the line's sixteen bytes in one write; the
// bytes past the line's end belong to the next line and are written back as they were.
//
// An empty point's mark and threat counts follow from its threat codes alone, so only a point
// whose code here changes to or from a threat needs re-examining: any other keeps all four
// codes, as no other line through the changed point passes through it.
unsigned EvaluateLine(Position& pos, const Line& line, const LineStones& stones, int colour) {
  const unsigned own = colour == kBlack ? stones.black : stones.white;
  const unsigned opponent = colour == kBlack ? stones.white : stones.black;
  const int at = line.at;
  const unsigned before = opponent & ((1U << at) - 1);
  const unsigned after = opponent & ~((2U << at) - 1);
  const int first = std::bit_width(before);
  const int last = after != 0 ? std::countr_zero(after) : line.length;

  // The new codes of cells first to last - 1; an opponent stone at the changed point splits
  // them into two segments, and its own cell is blocked.
  const LineCodes codes = (opponent >> at & 1U) != 0 ? SegmentCodes(own, first, at, colour) |
                                                           SegmentCodes(own, at + 1, last, colour)
                                                     : SegmentCodes(own, first, last, colour);

  PatternValue* const cells = pos.Codes(colour).data() + kLineStart[line.dir][line.number];
  LineCodes old;
  std::memcpy(&old, cells, sizeof old);
  const LineCodes range = CellRange(first, last);
  const LineCodes updated = (old & ~range) | (codes & range);
  std::memcpy(cells, &updated, sizeof updated);

  const unsigned changed = NonZeroCells(old ^ updated);
  return changed & (ThreatCells(old) | ThreatCells(updated)) & ~(stones.black | stones.white);
}

// What one code adds to a point's tallies: its bit in a threat mask (for direction 0), and
// whether it is a threat, a four (straight or not) and an open three.
struct CodeShare {
  ThreatMask maskBit;
  std::uint8_t threat;
  std::uint8_t four;
  std::uint8_t three;
};

constexpr std::array<CodeShare, 16> kCodeShares = [] {
  std::array<CodeShare, 16> shares{};
  for (int code = kThreatThreshold + 1; code <= kDoubleFourInLine; ++code)
    shares[code].threat = 1;
  shares[kOpenThree].maskBit = 1U << kThreeGroup;
  shares[kFour].maskBit = 1U << kFourGroup;
  shares[kStraightFour].maskBit = 1U << kStraightFourGroup;
  shares[kFive].maskBit = 1U << kFiveGroup;
  shares[kFour].four = shares[kStraightFour].four = 1;
  shares[kOpenThree].three = 1;
  return shares;
}();

// Rewrites Black's mark and both colours' threat counts and masks of an empty point from its
// codes, adding up each code's share rather than branching on it.
void Reexamine(Position& pos, int r, int c) {
  const auto& spots = kLineSpots[r][c];
  int value = kEmpty;
  int fours = 0;
  int threes = 0;
  int blackThreats = 0;
  int whiteThreats = 0;
  unsigned blackMask = 0;
  unsigned whiteMask = 0;
  for (int d = 0; d < kDirections; ++d) {
    const int b = pos.blackCodes[spots[d].cell];
    const CodeShare& black = kCodeShares[b & 0xf];
    const CodeShare& white = kCodeShares[pos.whiteCodes[spots[d].cell] & 0xf];
    fours += black.four;
    threes += black.three;
    blackThreats += black.threat;
    whiteThreats += white.threat;
    blackMask |= static_cast<unsigned>(black.maskBit) << d;
    whiteMask |= static_cast<unsigned>(white.maskBit) << d;
    // An overline or a double four in one line (rare): the last such direction decides.
    if (b >= kOverline) value = b == kOverline ? kOverlineMark : kForbiddenMark;
  }
  if (fours >= 2 || threes >= 2) value = kForbiddenMark;
  pos.board[r][c] = static_cast<BoardValue>(value);
  const bool threatened = blackThreats + whiteThreats > 0;
  for (int d = 0; d < kDirections; ++d) {
    std::uint16_t& mask = pos.threatLines[d][spots[d].number];
    const auto bit = static_cast<std::uint16_t>(1U << spots[d].at);
    mask = static_cast<std::uint16_t>(threatened ? mask | bit : mask & ~bit);
  }
  pos.blackCounts[r][c] = static_cast<PatternValue>(blackThreats + whiteThreats);
  pos.whiteCounts[r][c] = static_cast<PatternValue>(whiteThreats);
  pos.blackThreatMasks[r][c] = static_cast<ThreatMask>(blackMask);
  pos.whiteThreatMasks[r][c] = static_cast<ThreatMask>(whiteMask);
}

}  // namespace

void UpdatePatterns(Position& pos, int row, int col, int stone) {
  assert(OnBoard(row, col));
  assert(stone == 0 || stone == kBlack || stone == kWhite);
  pos.board[row][col] = static_cast<BoardValue>(stone);
  // A stone's point lists no threats. (Its threat counts are left as they were: its codes say
  // it makes none.)
  if (stone != 0) pos.blackThreatMasks[row][col] = pos.whiteThreatMasks[row][col] = 0;

  for (int dir = 0; dir < kDirections; ++dir) {
    const Line line = LineAt(row, col, dir);
    std::uint16_t& black = pos.blackLines[dir][line.number];
    std::uint16_t& white = pos.whiteLines[dir][line.number];
    const auto bit = static_cast<std::uint16_t>(1U << line.at);
    black = static_cast<std::uint16_t>(stone == kBlack ? black | bit : black & ~bit);
    white = static_cast<std::uint16_t>(stone == kWhite ? white | bit : white & ~bit);
    const LineStones stones{black, white};
    // A cell of this line other than the changed point lies on no other line through that
    // point: its codes are final once both colours' are written, and it is re-examined once
    // whichever colour's code changed.
    const unsigned recheck =
        (EvaluateLine(pos, line, stones, kBlack) | EvaluateLine(pos, line, stones, kWhite)) &
        ~(1U << line.at);
    for (unsigned rest = recheck; rest != 0; rest &= rest - 1) {
      const int t = std::countr_zero(rest);
      Reexamine(pos, line.Row(t), line.Col(t));
    }
  }
  // The changed point lies on all four lines; a stone's point is not re-examined.
  if (stone == 0) Reexamine(pos, row, col);
}

}  // namespace zel
