#!/usr/bin/env python3
"""Tunes the strong engine's evaluation weights by self-play (SPSA).

Each iteration perturbs every tuned weight by +c or -c at random, plays one opening twice (each
side once with each colour) between the two perturbed engines with zel_match, and moves the
weights toward the side that scored better. The engines read their weights from the environment
variable ZEL_WEIGHTS (the side to move's 11 line-pattern and 11 threat-class weights, then the
waiting side's), so nothing is rebuilt.

  scripts/tune.py --engine build/src/brain/pbrain-zel --match build/bench/zel_match \\
      --iterations 400 --ms 50 [--openings FILE] [--seed S] [--start W,W,...]

Prints the weights every 20 iterations and at the end, as a ZEL_WEIGHTS value.
"""

import argparse
import os
import random
import re
import subprocess
import tempfile

# The built-in weights (src/alphabeta/evaluate.cpp), in ZEL_WEIGHTS order.
DEFAULT = [0, -2, 5, 25, 32, 47, 62, 160, 0, 0, 0,
           0, -2, -29, -37, -19, -8, 96, 60, 460, 674, 574,
           0, -2, 5, 17, 28, 25, 55, 96, 0, 0, 0,
           0, -9, -22, -20, -16, 1, 35, 43, 164, 260, 158]


def load_openings(path):
    with open(path, encoding="utf-8") as f:
        return [line for line in f if line.strip() and not line.startswith("#")
                and line.split("\t")[2].strip() != "-"]


def play_pair(args, opening, plus, minus):
    """The score of `plus` over two games of one opening: -1 to 1."""
    with tempfile.TemporaryDirectory() as tmp:
        openings = os.path.join(tmp, "opening.tsv")
        with open(openings, "w", encoding="utf-8") as f:
            f.write(opening)
        def engine(weights):
            return "env ZEL_WEIGHTS=%s %s --strong" % (",".join(str(round(w)) for w in weights),
                                                    args.engine)
        out = subprocess.run([args.match, engine(plus), engine(minus), "--games", "2",
                              "--time-per-move", str(args.ms), "--openings", openings,
                              "--out", os.path.join(tmp, "games")],
                             capture_output=True, text=True, check=True).stdout
    m = re.search(r"A wins (\d+), losses (\d+)", out)
    return (int(m.group(1)) - int(m.group(2))) / 2


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--engine", required=True)
    parser.add_argument("--match", required=True)
    parser.add_argument("--iterations", type=int, default=400)
    parser.add_argument("--ms", type=int, default=50)
    parser.add_argument("--openings", default="bench/openings.tsv")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--start", help="the weights to start from, as ZEL_WEIGHTS")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    theta = [float(w) for w in (args.start.split(",") if args.start else DEFAULT)]
    # Weights the evaluation never reads (fives and the like) stay at zero.
    tuned = [i for i, w in enumerate(theta) if w != 0]
    openings = load_openings(args.openings)
    total = 0.0
    for k in range(args.iterations):
        # The perturbation shrinks slowly and the step faster, as SPSA prescribes.
        c_scale = 0.2 / (1 + k) ** 0.101
        step = 0.6 / (1 + k / 50) ** 0.602
        delta = {i: rng.choice((-1, 1)) for i in tuned}
        size = {i: max(1.0, abs(theta[i]) * c_scale) for i in tuned}
        plus, minus = list(theta), list(theta)
        for i in tuned:
            plus[i] += size[i] * delta[i]
            minus[i] -= size[i] * delta[i]
        result = play_pair(args, rng.choice(openings), plus, minus)
        total += abs(result)
        for i in tuned:
            theta[i] += step * size[i] * result * delta[i]
        if (k + 1) % 20 == 0 or k + 1 == args.iterations:
            print("iteration %d (decided pairs %.0f): ZEL_WEIGHTS=%s" %
                  (k + 1, total, ",".join(str(round(w)) for w in theta)), flush=True)


if __name__ == "__main__":
    main()
