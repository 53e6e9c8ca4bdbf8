#include "patterns/segment.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "patterns/board.h"
#include "patterns/line_codes.h"
#include "patterns/window_tables.h"

namespace zel {
namespace {

// The stone mask of a window drawn as text, first cell first: X is an own stone; '.' and 'T'
// (a target cell) hold none.
constexpr unsigned Mask(std::string_view cells) {
  unsigned mask = 0;
  for (char cell : cells)
    mask = mask << 1 | (cell == 'X' ? 1U : 0U);
  return mask;
}

constexpr void Raise(PatternValue& code, int value) {
  if (code < value) code = static_cast<PatternValue>(value);
}

void Demote(PatternValue& code, int from, int to) {
  if (code == from) code = static_cast<PatternValue>(to);
}

// What the windows of one step raise their cells to; 0 raises nothing.
template <int kCells>
using Raises = std::array<PatternValue, kCells>;

// Step (a): the five-cell window of cells i to i + 4, by its stone mask.
constexpr Raises<5> FiveCellRaises(unsigned mask) {
  Raises<5> raise{};
  const int stones = std::popcount(mask);
  if (stones == 1) {
    const int stonePos = 4 - std::countr_zero(mask);  // 0 = the window's first cell
    if (stonePos <= 3) {
      for (int pos = 0; pos <= 3; ++pos) {
        if (pos != stonePos) Raise(raise[pos], kSingle);
      }
    }
  } else if (stones == 2) {
    for (int pos = 0; pos < 5; ++pos) {
      if ((mask >> (4 - pos) & 1U) == 0) Raise(raise[pos], kClosedThree);
    }
  }
  for (const WindowPair& pair : kWindowTables.fiveCell[mask]) {
    if (pair.position > 0) Raise(raise[pair.position - 1], pair.code);
  }
  return raise;
}

// Steps (a) and (b) together: the five-cell window of cells i to i + 4 and the six-cell window
// of cells i - 1 to i + 4, by the six cells' stone mask. Both windows only raise codes, so one
// table entry does the work of the two in either order.
constexpr Raises<6> SixCellRaises(unsigned mask) {
  Raises<6> raise{};
  const Raises<5> five = FiveCellRaises(mask & 0x1fU);
  for (int pos = 0; pos < 5; ++pos)
    raise[pos + 1] = five[pos];
  if ((mask & 0b100001U) == 0 && std::popcount(mask) == 1) {
    const int stonePos = 5 - std::countr_zero(mask);  // 1 to 4, counted from the first cell
    for (int pos = 1; pos <= 4; ++pos) {
      const int distance = pos > stonePos ? pos - stonePos : stonePos - pos;
      if (distance == 1 || distance == 2) Raise(raise[pos], kOpenTwo);
      if (distance == 3) Raise(raise[pos], kSingle);
    }
  }
  for (const WindowPair& pair : kWindowTables.sixCell[mask]) {
    if (pair.position > 0) Raise(raise[pair.position - 1], pair.code);
  }
  return raise;
}

template <int kCells, unsigned kMasks>
constexpr std::array<Raises<kCells>, kMasks> RaiseTable(Raises<kCells> (*raises)(unsigned)) {
  std::array<Raises<kCells>, kMasks> table{};
  for (unsigned mask = 0; mask < kMasks; ++mask)
    table[mask] = raises(mask);
  return table;
}

constexpr auto kFiveCellRaises = RaiseTable<5, 32>(FiveCellRaises);
constexpr auto kSixCellRaises = RaiseTable<6, 64>(SixCellRaises);

// One pass over the segment. At step i the register holds the stones of cells i - 6 to i + 4,
// cell i + 4 in the lowest bit; every window is the register masked to its width, shifted so
// that its last cell is the lowest bit. The register is read off a copy of the stone mask with
// the cells in reverse order: cell k sits at bit kTopBit - k.
class SegmentPass {
 public:
  SegmentPass(unsigned stones, int length, int colour, PatternValue* codes)
      : stones_(stones), codes_(codes), length_(length), black_(colour == kBlack) {
    for (unsigned rest = stones; rest != 0; rest &= rest - 1)
      reversed_ |= 1U << (kTopBit - std::countr_zero(rest));
  }

  void Run() {
    std::fill(codes_, codes_ + length_, PatternValue{kBase});
    if (stones_ == 0) return;
    // Only the steps whose register holds an own stone apply anything.
    const int firstStep = std::max(0, std::countr_zero(stones_) - 4);
    const int lastStep = std::min(length_ - 4, static_cast<int>(std::bit_width(stones_)) - 1 + 6);
    for (int i = firstStep; i <= lastStep; ++i) {
      register_ = reversed_ >> (kTopBit - 4 - i) & 0x7ffU;  // past the end: no own stone
      if (register_ == 0) continue;
      if (i == 0) FirstWindow();
      if (i >= 1 && i <= length_ - 5) Windows(i);
      // Every rule of step (c) needs three own stones in the register.
      if (black_ && i >= 2 && AtLeastThree(register_)) BlackRules(i);
    }
  }

 private:
  static constexpr int kTopBit = 20;

  static bool AtLeastThree(unsigned bits) {
    bits &= bits - 1;
    bits &= bits - 1;
    return bits != 0;
  }

  bool OwnStone(int cell) const { return cell >= 0 && (stones_ >> cell & 1U) != 0; }
  PatternValue& Code(int cell) { return codes_[cell]; }

  // Step (a) alone: the first step has no six-cell window.
  void FirstWindow() {
    const Raises<5>& raise = kFiveCellRaises[register_ & 0x1fU];
    for (int pos = 0; pos < 5; ++pos)
      Raise(Code(pos), raise[pos]);
  }

  // Steps (a) and (b): the windows of cells i - 1 to i + 4; then, for Black, the overline.
  void Windows(int i) {
    const unsigned mask = register_ & 0x3fU;
    const Raises<6>& raise = kSixCellRaises[mask];
    for (int pos = 0; pos < 6; ++pos)
      Raise(Code(i - 1 + pos), raise[pos]);
    if (black_) {
      if (const int pos = kWindowTables.overline[mask]; pos > 0) Code(i + pos - 2) = kOverline;
    }
  }

  // Step (c), Black only: the overline rules that demote threes and fours whose only way on
  // is an overline, and the double fours inside one line.
  void BlackRules(int i) {
    RuleTableA(i);
    if (i <= length_ - 5) RuleTableB(i);
    RuleTableC(i);
  }

  // Window: cells i - 2 to i + 3.
  void RuleTableA(int i) {
    const bool first = i == 2;
    const bool last = i == length_ - 4;
    switch ((register_ >> 1) & 0x3fU) {
      case Mask("T.XX.X"):
      case Mask("TX.X.X"):
        Demote(Code(i - 2), kOpenThree, kClosedThree);
        break;
      case Mask("TXXX.X"):
        Demote(Code(i - 2), kStraightFour, kFour);
        if (first) Code(i - 2) = kDeadFour;
        break;
      case Mask("X.T.XX"):
        Demote(Code(i), kOpenThree, kClosedThree);
        break;
      case Mask("XTTX.X"):
        Demote(Code(i - 1), kOpenThree, kClosedThree);
        Demote(Code(i), kOpenThree, kClosedThree);
        break;
      case Mask("X.TXXX"):
        Demote(Code(i), kStraightFour, kFour);
        if (first) Code(i - 1) = kDeadFour;
        if (last) Code(i) = kDeadFour;
        break;
      case Mask("X.XTTX"):
        Demote(Code(i + 1), kOpenThree, kClosedThree);
        Demote(Code(i + 2), kOpenThree, kClosedThree);
        break;
      case Mask("X.X.XT"):
        Demote(Code(i + 3), kOpenThree, kClosedThree);
        break;
      case Mask("X.XTXX"):
        Demote(Code(i + 1), kStraightFour, kFour);
        break;
      case Mask("X.XX.T"):
        Demote(Code(i + 3), kOpenThree, kClosedThree);
        break;
      case Mask("XTXXTX"):
        Demote(Code(i - 1), kStraightFour, kFour);
        Demote(Code(i + 2), kStraightFour, kFour);
        break;
      case Mask("X.XXXT"):
        Demote(Code(i + 3), kStraightFour, kFour);
        break;
      case Mask("XX.T.X"):
        Demote(Code(i + 1), kOpenThree, kClosedThree);
        break;
      case Mask("XXTX.X"):
        Demote(Code(i), kStraightFour, kFour);
        break;
      case Mask("XXXT.X"):
        Demote(Code(i + 1), kStraightFour, kFour);
        if (first) Code(i + 1) = kDeadFour;
        if (last) Code(i + 2) = kDeadFour;
        break;
      default:
        break;
    }
  }

  // Window: cells i - 3 to i + 4. A four whose five would need a stone next to an own stone
  // beyond the window is dead; a later window that shows a real five raises it back to 8.
  void RuleTableB(int i) {
    const unsigned window = register_ & 0xffU;
    const bool roomBefore = i >= 4 && !OwnStone(i - 4);
    if (window == Mask(".XTX.XX.") && roomBefore && Code(i - 1) == kFour) Code(i - 1) = kDeadFour;
    if (window == Mask(".XXT.XX.") && roomBefore && Code(i) == kFour) Code(i) = kDeadFour;
    if (window == Mask(".XX.TXX.") && Code(i + 1) == kFour) Code(i + 1) = kDeadFour;
    if (window == Mask(".XX.XTX.") && Code(i + 2) == kFour) Code(i + 2) = kDeadFour;
  }

  // Nine-, ten- and eleven-cell windows ending at cell i + 4: two fours in one line.
  void RuleTableC(int i) {
    switch (register_ & 0x1ffU) {
      case Mask(".X.TXX.X."):
        Code(i - 1) = kDoubleFourInLine;
        break;
      case Mask(".X.XTX.X."):
        Code(i) = kDoubleFourInLine;
        break;
      case Mask(".X.XXT.X."):
        Code(i + 1) = kDoubleFourInLine;
        break;
      default:
        break;
    }
    const unsigned ten = register_ & 0x3ffU;
    if (ten == Mask(".XX.TX.XX.")) Code(i - 1) = kDoubleFourInLine;
    if (ten == Mask(".XX.XT.XX.")) Code(i) = kDoubleFourInLine;
    if ((register_ & 0x7ffU) == Mask(".XXX.T.XXX.")) Code(i - 1) = kDoubleFourInLine;
  }

  unsigned stones_;
  PatternValue* codes_;
  int length_;
  bool black_;
  unsigned reversed_ = 0;
  unsigned register_ = 0;
};

// The codes of every segment met so far, for both colours: room for all 131,008 segments of 5
// to 15 cells at 16 bytes each (2 MB, written only where a segment has been met). A search
// evaluates the same few segments over and over, and a look-up costs a tenth of a pass. The
// blocks lie in one run of bytes after a block's worth of padding, so that the bytes before any
// block can be read too.
class SegmentMemo {
 public:
  // calloc, unlike a zeroing constructor, leaves the pages untouched until a segment is met:
  // a short run (one zel-cli command) pays for the few it meets, not for 2 MB.
  SegmentMemo()
      : bytes_(static_cast<PatternValue*>(std::calloc(2 * kPerColour + 1, kSegmentBlock))) {
    if (!bytes_) throw std::bad_alloc();
  }

  const PatternValue* Codes(unsigned stones, int length, int colour) {
    const size_t entry = (colour == kBlack ? 0 : kPerColour) + (size_t{1} << length) - 32 + stones;
    PatternValue* const block = bytes_.get() + (entry + 1) * kSegmentBlock;
    // Every cell of a segment of five or more has room for a five, so a filled block's first
    // code is never kBlocked (0); the bytes past the segment stay 0.
    if (block[0] == kBlocked) Fill(block, stones, length, colour);
    return block;
  }

 private:
  // Kept out of line: the look-up of a segment met before stays small.
  [[gnu::noinline]] static void Fill(PatternValue* block, unsigned stones, int length, int colour) {
    SegmentPass(stones, length, colour, block).Run();
    assert(block[0] != kBlocked);
  }

  // Segments of length 5 to L - 1 take 2^5 + ... + 2^(L-1) = 2^L - 32 entries.
  static constexpr size_t kPerColour = (size_t{1} << (kMaxSegment + 1)) - 32;

  struct Free {
    void operator()(PatternValue* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<PatternValue[], Free> bytes_;
};

}  // namespace

const PatternValue* SegmentBlock(unsigned stones, int length, int colour) {
  assert(length >= 5 && length <= kMaxSegment && stones >> length == 0);
  // Each thread fills its own memo, so that no two threads ever write one.
  static thread_local SegmentMemo memo;
  return memo.Codes(stones, length, colour);
}

int EvaluateSegment(std::span<const int> stones, int colour, std::span<int> codes) {
  if (stones.size() < 5) return -1;
  assert(codes.size() >= stones.size() && stones.size() <= kMaxSegment);
  unsigned mask = 0;
  for (size_t k = 0; k < stones.size(); ++k)
    mask |= (stones[k] != 0 ? 1U : 0U) << k;
  const int length = static_cast<int>(stones.size());
  const PatternValue* block = SegmentBlock(mask, length, colour);
  std::copy(block, block + length, codes.begin());
  return 0;
}

}  // namespace zel
