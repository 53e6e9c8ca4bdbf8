// zel_puzzles: the strong engine's threat solvers on a puzzle collection in the shared format
// (PUZZLE ... END blocks with BLACK, WHITE, TOMOVE and SOLUTION lines).
//
//   zel_puzzles FILE (--vcf | --vct) [--nodes N] [--ms MS] [--list]
//
// Each puzzle with a SOLUTION line (and, for VCT, a confirmed one) is set up with the side to move
// and solved within N nodes (VCF 3,000,000, VCT 300,000 unless told) and MS milliseconds (no limit
// unless told). Prints the number solved, how many VCF lines are no longer than the collection's,
// and the times; --list names every unsolved puzzle.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "alphabeta/vcf.h"
#include "alphabeta/vct.h"

namespace {

using namespace zel;
using namespace zel::ab;

Cell ParseCell(const std::string& text) {
  return CellAt({kBoardSize - std::atoi(text.c_str() + 1), text[0] - 'a'});
}

struct Puzzle {
  std::string id;
  std::vector<Cell> black, white;
  int toMove = kBlack;
  int attackerMoves = 0;  // of the collection's line; 0 when it has none
};

std::vector<Puzzle> ReadPuzzles(const char* path) {
  std::vector<Puzzle> puzzles;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string key, word;
    words >> key;
    if (key == "PUZZLE") puzzles.push_back({});
    if (puzzles.empty()) continue;
    Puzzle& p = puzzles.back();
    if (key == "PUZZLE") words >> p.id;
    if (key == "TOMOVE") p.toMove = line.find("white") != std::string::npos ? kWhite : kBlack;
    while ((key == "BLACK" || key == "WHITE") && words >> word)
      (key == "BLACK" ? p.black : p.white).push_back(ParseCell(word));
    const std::size_t moves = line.find("attacker_moves=");
    if (key.starts_with("SOLUTION") && moves != std::string::npos &&
        line.find("UNCONFIRMED") == std::string::npos) {
      p.attackerMoves = std::atoi(line.c_str() + moves + 15);
    }
  }
  return puzzles;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: zel_puzzles FILE (--vcf | --vct) [--nodes N] [--ms MS] [--list]\n");
    return 2;
  }
  const bool vct = std::string(argv[2]) == "--vct";
  std::int64_t nodes = vct ? 300'000 : 3'000'000;
  long ms = 0;
  bool list = false;
  for (int k = 3; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--nodes" && k + 1 < argc) nodes = std::atoll(argv[++k]);
    if (arg == "--ms" && k + 1 < argc) ms = std::atol(argv[++k]);
    if (arg == "--list") list = true;
  }
  VcfSolver vcfSolver(std::size_t{32} << 20);
  VctSolver vctSolver(std::size_t{32} << 20);
  int tried = 0, solved = 0, shortest = 0, overSecond = 0;
  double total = 0, slowest = 0;
  std::string slowestId;
  for (const Puzzle& puzzle : ReadPuzzles(argv[1])) {
    if (puzzle.attackerMoves == 0) continue;
    PatternBoard board;
    for (const Cell c : puzzle.black)
      board.Put(c, kBlack);
    for (const Cell c : puzzle.white)
      board.Put(c, kWhite);
    board.SetSideToMove(puzzle.toMove);
    vcfSolver.Clear();
    vctSolver.Clear();
    const auto start = std::chrono::steady_clock::now();
    const Deadline deadline = ms > 0 ? start + std::chrono::milliseconds(ms) : Deadline::max();
    const Cell move = vct ? vctSolver.Solve(board, 12, nodes, deadline)
                          : vcfSolver.Solve(board, 120, nodes, deadline);
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ++tried;
    total += elapsed;
    overSecond += elapsed > 1000;
    if (elapsed > slowest) {
      slowest = elapsed;
      slowestId = puzzle.id;
    }
    if (move == kNoCell) {
      if (list) std::printf("unsolved %s\n", puzzle.id.c_str());
      continue;
    }
    ++solved;
    if (!vct && static_cast<int>(vcfSolver.Line().size() + 1) / 2 <= puzzle.attackerMoves) {
      ++shortest;
    }
  }
  std::printf("%d puzzles: %d solved (%.1f%%)", tried, solved, tried ? 100.0 * solved / tried : 0);
  if (!vct) std::printf(", %d with a line no longer than the collection's", shortest);
  std::printf("\n%.0f ms in all, %.1f ms on average, %d over 1 s, slowest %.0f ms (%s)\n", total,
              tried ? total / tried : 0, overSecond, slowest, slowestId.c_str());
  return 0;
}
