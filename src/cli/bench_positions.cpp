// The positions of `zel-cli bench`: tournament openings, won positions for either colour (by
// fours, by threes) and positions where the side to move must defend, mostly taken from public
// puzzle collections (the sources below). Moves alternate from Black, in board notation (column
// letter, row number counted from the bottom).
//
// Sources:
//   plastovicka/Piskvork@2c3296514a37 openings.txt (GPL)
//   renju-note/quintet@d8bdf3c36669 src/mate/solve.rs (MIT)
//   junghyun397/mintaka@2a4cae050609 mintaka/tests/test_vcf.rs
//   lfz084/lfz084.github.io@b15820dbaf5a puzzle/json (no license stated)
#include "cli/bench_positions.h"

namespace zel::cli {

const std::vector<BenchPosition>& BenchPositions() {
  static const std::vector<BenchPosition> kPositions{
      {"piskvork-01", "opening", "h8 i8 i11"},
      {"piskvork-02", "opening", "h8 i9 h11"},
      {"piskvork-03", "opening", "h8 i8 h11"},
      {"piskvork-04", "opening", "h8 i9 i11"},
      {"piskvork-05", "opening", "h8 i8 k8"},
      {"piskvork-06", "opening", "h8 i9 g11"},
      {"piskvork-23", "opening", "h8 i8 i9 h9 j7"},
      {"piskvork-27", "opening", "h8 g8 h6 g9 f10"},
      {"piskvork-31", "opening", "h8 g8 j9 g9 f10"},
      {"piskvork-32", "opening", "h8 g7 h6 g9 f10"},
      {"three-h8-j8", "must defend against black, and can", "h8 i9 i8 g9 j8"},
      {"three-h8-j8-b", "must defend against black, and can", "h8 h9 i8 g7 j8"},
      {"quintet-test_vcf_black", "win by fours for black",
       "e13 f9 g10 g13 h10 h11 h12 h9 h13 i10 h8 i14 i11 i9 i8 j8 j9 k12 k10 l11 l14 l9"},
      {"quintet-test_vcf_counter", "win by fours for black", "h8 h9 i6 i5 i7 j7 j8 k6 k8 l5 l7 l8"},
      {"quintet-test_vcf_white", "win by fours for white",
       "g8 f8 g9 h10 h8 h9 i9 i10 j10 i11 j9 j12 k13 l10 m11 l12 m12 l14 m9"},
      {"mintaka-basic_vcf-1", "win by fours for black",
       "g7 g5 h8 h6 i7 i6 j10 j7 j8 j9 k8 k11 l10 l8"},
      {"mintaka-trap_vcf-2", "win by fours for white",
       "d10 e10 e13 e11 f11 f10 f14 g10 g11 g12 g9 g13 h11 g14 h15 h10 h8 h9 i10 i11 i12 j10 i9 "
       "j12 j11 j13 k10 j14 l10 k11 l13 l9 m9"},
      {"lfz084/ひとりでも楽しめる詰連珠の部屋/158", "win by fours for black",
       "f10 e10 f9 e7 g10 f11 g8 h10 h8 i11 i10 i7 i8 j10 i9 j11 j12 j8"},
      {"lfz084/一手の詰連珠HT/001", "win by fours for black",
       "f6 e5 g7 h9 h8 j6 i6 j7 i7 j9 l8 k6 m7 l9"},
      {"lfz084/一手の詰連珠HT/002", "win by fours for black",
       "g7 f7 h7 g6 h8 g8 i5 h6 i8 h9 j6 j10 j7 j4 k8 k9"},
      {"lfz084/一手の詰連珠HT/004", "win by fours for white",
       "h5 f9 h6 h9 h8 i6 i10 j7 i7 j9 j6 k5 j8 k8 k7"},
      {"lfz084/一手の詰連珠HT/007", "win by fours for white",
       "e6 f7 f9 g8 g10 g9 h11 h9 h7 i6 h8 i7 j8"},
      {"lfz084/一手の詰連珠HT/013", "win by fours for white",
       "f8 g8 g6 h7 g7 h9 g9 i7 h10 i8 h8 i9 i6 j7 k6 j9 l8"},
      {"lfz084/五子棋阶梯训练第一章/026", "win by threes for black", "g8 h6 h8 i9 j8 j11 j9 k8"},
      {"lfz084/例题演示/005", "win by threes for black",
       "g12 g11 g15 h11 g9 h12 h13 h14 h8 h7 i10 h9 i11 i8 i6 j12 i7 j6 k12 k13"},
      {"lfz084/冈部宽连珠习题/013", "win by threes for black",
       "f7 e6 f8 e7 g8 f9 h5 g5 h7 h6 h9 h8 i6 i8 j8 i9 j9 j7"},
      {"lfz084/三手胜五子棋题解/060", "win by threes for white",
       "g7 f8 g9 h7 h10 h9 h8 i9 j10 j8 j6 j9 j7 k5 k6 l6 k7"},
      {"lfz084/三手胜五子棋题解/081", "win by threes for white",
       "f9 f10 g10 g6 g9 i10 h8 i6 i7 i8 j10 i9 j9 k11 k10"},
      {"lfz084/三手胜五子棋题解/084", "win by threes for white", "g7 h9 g8 i7 h7 i9 h8"},
      {"lfz084/ひとりでも楽しめる詰連珠の部屋/038", "win in three for black",
       "f7 e7 g7 f10 g8 f8 g9 g6 h5 h6 h8 h9 j9 i9"},
      {"lfz084/ひとりでも楽しめる詰連珠の部屋/060", "win in three for black",
       "g5 f8 g7 f9 g8 g6 h8 g9 h9 i8 j10 i9 k7 j8 k8 k6"},
      {"lfz084/ひとりでも楽しめる詰連珠の部屋/158", "must defend against black",
       "f10 e10 f9 e7 g10 f11 g8 h10 h8 i11 i10 i7 i8 j10 i9 j11 j12 j8 f8"},
      {"lfz084/一手の詰連珠HT/001", "must defend against black",
       "f6 e5 g7 h9 h8 j6 i6 j7 i7 j9 l8 k6 m7 l9 j10"},
      {"lfz084/一手の詰連珠HT/002", "must defend against black",
       "g7 f7 h7 g6 h8 g8 i5 h6 i8 h9 j6 j10 j7 j4 k8 k9 k7"},
      {"lfz084/一手の詰連珠HT/004", "must defend against white",
       "h5 f9 h6 h9 h8 i6 i10 j7 i7 j9 j6 k5 j8 k8 k7 l9"},
      {"lfz084/一手の詰連珠HT/007", "must defend against white",
       "e6 f7 f9 g8 g10 g9 h11 h9 h7 i6 h8 i7 j8 i10"},
  };
  return kPositions;
}

}  // namespace zel::cli
