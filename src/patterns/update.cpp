#include "patterns/update.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "patterns/line_codes.h"
#include "patterns/lines.h"
#include "patterns/segment.h"

#if defined(__SSE2__) && !defined(ZEL_PORTABLE_LINES)
#include <emmintrin.h>
#endif

namespace zel {
namespace {

// Each colour's stones along one line, bit t for cell t.
struct LineStones {
  unsigned black;
  unsigned white;
};

// The first n cells of a line, as a vector mask: kFirstCells[n] has its first n bytes set.
constexpr auto kFirstCells = [] {
  std::array<std::array<PatternValue, kSegmentBlock>, kSegmentBlock + 1> masks{};
  for (int n = 0; n <= kSegmentBlock; ++n) {
    for (int t = 0; t < n; ++t)
      masks[n][t] = 0xff;
  }
  return masks;
}();

#if defined(__SSE2__) && !defined(ZEL_PORTABLE_LINES)

// Sixteen codes of a line, cell t in lane t, in a vector register: a line's codes are compared
// and written together.
class LineVector {
 public:
  static LineVector Load(const PatternValue* p) {
    return LineVector(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  static LineVector Zero() { return LineVector(_mm_setzero_si128()); }
  void Store(PatternValue* p) const { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v_); }

  friend LineVector operator|(LineVector a, LineVector b) {
    return LineVector(_mm_or_si128(a.v_, b.v_));
  }
  // The cells of a that b leaves clear.
  friend LineVector AndNot(LineVector a, LineVector b) {
    return LineVector(_mm_andnot_si128(b.v_, a.v_));
  }

  // The cells, bit t for cell t, where the two differ, and where a code is a threat.
  unsigned Differs(LineVector other) const {
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v_, other.v_))) & 0xffffU;
  }
  unsigned Threats() const {
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpgt_epi8(v_, _mm_set1_epi8(kThreatThreshold))));
  }

 private:
  explicit LineVector(__m128i v) : v_(v) {}
  __m128i v_;
};

#else

// The same in two 64-bit words, for machines without SSE2 (and for testing this path on those
// with it): a byte's high bit says what a vector lane's compare would.
class LineVector {
 public:
  static LineVector Load(const PatternValue* p) {
    LineVector v;
    std::memcpy(v.words_.data(), p, sizeof v.words_);
    return v;
  }
  static LineVector Zero() { return LineVector(); }
  void Store(PatternValue* p) const { std::memcpy(p, words_.data(), sizeof words_); }

  friend LineVector operator|(LineVector a, LineVector b) {
    return Combine(a, b, [](std::uint64_t x, std::uint64_t y) { return x | y; });
  }
  friend LineVector AndNot(LineVector a, LineVector b) {
    return Combine(a, b, [](std::uint64_t x, std::uint64_t y) { return x & ~y; });
  }

  unsigned Differs(LineVector other) const {
    return Cells(NonZeroBytes(words_[0] ^ other.words_[0]),
                 NonZeroBytes(words_[1] ^ other.words_[1]));
  }
  unsigned Threats() const {
    // Codes stay below 0x80, so the sum never carries from one byte into the next.
    constexpr std::uint64_t kAddend = (0x80 - (kThreatThreshold + 1)) * kLowBits;
    return Cells(words_[0] + kAddend, words_[1] + kAddend);
  }

 private:
  static constexpr std::uint64_t kLowBits = 0x0101010101010101;
  static constexpr std::uint64_t kHighBits = 0x8080808080808080;

  template <typename Op>
  static LineVector Combine(LineVector a, LineVector b, Op op) {
    LineVector v;
    v.words_ = {op(a.words_[0], b.words_[0]), op(a.words_[1], b.words_[1])};
    return v;
  }
  // The high bit of each byte where the byte is not zero.
  static std::uint64_t NonZeroBytes(std::uint64_t word) {
    return ((word & ~kHighBits) + ~kHighBits) | word;
  }
  // Gathers the high bits of the bytes of both words into bits 0 to 15.
  static unsigned Cells(std::uint64_t low, std::uint64_t high) {
    auto pack = [](std::uint64_t word) {
      return static_cast<unsigned>(((word & kHighBits) >> 7) * 0x0102040810204080 >> 56);
    };
    return pack(low) | pack(high) << 8;
  }

  std::array<std::uint64_t, 2> words_{};
};
static_assert(std::endian::native == std::endian::little, "byte t of a line is cell t");

#endif

// Cells first to last - 1 of a line, as a vector mask.
LineVector CellRange(int first, int last) {
  return AndNot(LineVector::Load(kFirstCells[last].data()),
                LineVector::Load(kFirstCells[first].data()));
}

// The codes of the segment of cells start to end - 1 in those cells, and 0 (blocked) in the
// others: a segment shorter than five is blocked throughout. The segment's block is loaded as
// if it began at cell 0; the cells before `start` are cleared, and those past the segment are 0
// in the block.
LineVector SegmentCodes(unsigned own, int start, int end, int colour) {
  const int length = end - start;
  if (length < 5) return LineVector::Zero();
  const PatternValue* block = SegmentBlock(own >> start & ((1U << length) - 1), length, colour);
  return AndNot(LineVector::Load(block - start), LineVector::Load(kFirstCells[start].data()));
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

  // The new codes of cells first to last - 1, and 0 elsewhere; an opponent stone at the changed
  // point splits them into two segments, and its own cell is blocked.
  const LineVector codes = (opponent >> at & 1U) != 0 ? SegmentCodes(own, first, at, colour) |
                                                            SegmentCodes(own, at + 1, last, colour)
                                                      : SegmentCodes(own, first, last, colour);

  PatternValue* const cells = pos.Codes(colour).data() + kLineStart[line.dir][line.number];
  const LineVector old = LineVector::Load(cells);
  const LineVector updated = AndNot(old, CellRange(first, last)) | codes;
  updated.Store(cells);
  return old.Differs(updated) & (old.Threats() | updated.Threats()) &
         ~(stones.black | stones.white);
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
