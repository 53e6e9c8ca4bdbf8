#!/usr/bin/env python3
"""Turns the third-party puzzle collections into game records for zel-cli.

  puzzles.py records PUZZLE_FILE OUT_DIR [--type VCF] [--max-moves 8]
      writes OUT_DIR/<n>.txt for every puzzle whose stones can be written as a record with the
      attacker to move, and OUT_DIR/index.tsv (file, id, attacker, attacker_moves, solution).
  puzzles.py vcf-share PUZZLE_FILE ZEL_CLI [--max-moves 8] [--level 10]
      runs `zel-cli search` on each such VCF puzzle and reports the share solved and the time.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time


def parse(path):
    puzzle = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("PUZZLE "):
                puzzle = {"id": line[7:], "black": [], "white": [], "solution": None}
            elif puzzle is None:
                continue
            elif line == "END":
                yield puzzle
                puzzle = None
            else:
                key, _, rest = line.partition(" ")
                if key in ("BLACK", "WHITE"):
                    puzzle[key.lower()] = rest.split()
                elif key in ("TYPE", "ATTACKER", "TOMOVE"):
                    puzzle[key.lower()] = rest.strip()
                elif key.startswith("SOLUTION") and puzzle["solution"] is None:
                    fields = dict(f.split("=", 1) for f in rest.split() if "=" in f)
                    moves = rest.split("line=", 1)[1].split(" end=")[0].split()
                    puzzle["solution"] = {"attacker_moves": int(fields["attacker_moves"]),
                                          "line": moves}


def point(rif):
    """RIF notation (column letter, row number from the bottom) to (row, column)."""
    return 15 - int(rif[1:]), ord(rif[0]) - ord("a")


def record_moves(puzzle):
    """The stones interleaved Black first, or None when the attacker would not be to move."""
    black, white = puzzle["black"], puzzle["white"]
    to_move = "black" if len(black) == len(white) else "white" if len(black) == len(white) + 1 else None
    if to_move is None or to_move != puzzle.get("attacker"):
        return None
    moves = []
    for k in range(len(black) + len(white)):
        moves.append(black[k // 2] if k % 2 == 0 else white[k // 2])
    return [point(m) for m in moves]


def record_text(moves):
    digit = lambda v: chr(48 + v) if v < 10 else chr(55 + v)
    label = lambda r: chr(49 + r) if r < 9 else chr(56 + r)
    lines = [f"{k + 1:3d}  {digit(r)} {digit(c)}  {label(r)} {chr(97 + c)}\n"
             for k, (r, c) in enumerate(moves)]
    return "".join(lines) + "\n"


def selected(path, kind, max_moves):
    for puzzle in parse(path):
        if kind and puzzle.get("type") != kind:
            continue
        sol = puzzle["solution"]
        if sol is None or sol["attacker_moves"] > max_moves:
            continue
        moves = record_moves(puzzle)
        if moves is not None:
            yield puzzle, moves


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["records", "vcf-share"])
    parser.add_argument("puzzles")
    parser.add_argument("target")
    parser.add_argument("--type", default="VCF")
    parser.add_argument("--max-moves", type=int, default=8)
    parser.add_argument("--level", type=int, default=10)
    args = parser.parse_args()

    if args.command == "records":
        os.makedirs(args.target, exist_ok=True)
        with open(os.path.join(args.target, "index.tsv"), "w") as index:
            for n, (puzzle, moves) in enumerate(selected(args.puzzles, args.type, args.max_moves)):
                name = f"{n}.txt"
                with open(os.path.join(args.target, name), "w") as f:
                    f.write(record_text(moves))
                sol = puzzle["solution"]
                index.write(f"{name}\t{puzzle['id']}\t{puzzle['attacker']}\t"
                            f"{sol['attacker_moves']}\t{' '.join(sol['line'])}\n")
        return

    solved = total = 0
    times = []
    with tempfile.TemporaryDirectory() as tmp:
        for puzzle, moves in selected(args.puzzles, "VCF", args.max_moves):
            path = os.path.join(tmp, "move.txt")
            with open(path, "w") as f:
                f.write(record_text(moves))
            start = time.perf_counter()
            out = subprocess.run([args.target, "search", path, "--level", str(args.level),
                                  "--seed", "1"], capture_output=True, text=True, check=True)
            times.append(time.perf_counter() - start)
            value = int(out.stdout.split()[2])
            win = 3 if puzzle["attacker"] == "black" else -3
            total += 1
            solved += value == win
    times.sort()
    print(f"{solved}/{total} solved ({100.0 * solved / max(total, 1):.1f}%), "
          f"total {sum(times):.1f} s, median {1000 * times[len(times) // 2]:.1f} ms, "
          f"max {1000 * times[-1]:.0f} ms")


if __name__ == "__main__":
    sys.exit(main())
