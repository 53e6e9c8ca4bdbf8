#!/usr/bin/env python3
"""Fits the strong engine's evaluation weights to game outcomes.

Reads the positions that build/bench/zel_positions prints from game records (the side to move's
result, its colour, the move number, then the counts that the weights multiply) and finds the
weights whose evaluation, through a logistic, best predicts the results: the squared error of
1 / (1 + exp(-eval / K)) against the result, with K first chosen to fit the starting weights best
(so that the weights keep their scale) and then held, or given. A small pull of each weight
back to its start keeps the rare patterns' weights, which the positions barely show, near it;
the built-in weights were fitted with K 800. Every fifth block of 50 positions is held
out and its error printed beside the fitted ones'. The weights that no quiet position can show
(dead lines, fives, overlines, double fours, no threat) keep their values.

  build/bench/zel_positions RECORD... > positions.txt
  scripts/fit_weights.py positions.txt [--start W,W,...] [--steps 3000] [--rate 0.5] [--l2 1e-7] [--k K]

Prints the fitted weights as a ZEL_WEIGHTS value. Needs numpy (Debian: python3-numpy).
"""

import argparse

import numpy as np

from tune import DEFAULT

TERMS = 22                      # 11 line patterns, then 11 threat classes
FIXED = (0, 8, 9, 10, 11)       # dead, five, overline, double four; threat "none"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("positions")
    parser.add_argument("--start", help="the weights to start from (the built-in ones)")
    parser.add_argument("--steps", type=int, default=3000)
    parser.add_argument("--rate", type=float, default=0.5)
    parser.add_argument("--l2", type=float, default=1e-7,
                        help="the pull of each weight back to its start")
    parser.add_argument("--k", type=float, help="the logistic's scale, held (else fitted)")
    args = parser.parse_args()

    data = np.loadtxt(args.positions, ndmin=2)
    result = data[:, 0]
    counts = data[:, 3:]
    # The evaluation is the side to move's weights times its counts less the waiting side's.
    design = np.hstack([counts[:, :TERMS], -counts[:, TERMS:]])
    start = np.array([float(w) for w in args.start.split(",")] if args.start else DEFAULT)
    free = np.ones(2 * TERMS, bool)
    for role in (0, TERMS):
        free[[role + i for i in FIXED]] = False

    def error(w, k, rows=slice(None)):
        p = 1 / (1 + np.exp(-(design[rows] @ w) / k))
        return np.mean((result[rows] - p) ** 2)

    # K by a coarse scan, then a ternary search around the best.
    scan = [50, 100, 200, 400, 800, 1600, 3200]
    k = scan[int(np.argmin([error(start, s) for s in scan]))]
    lo, hi = k / 2, k * 2
    for _ in range(40):
        a, b = lo + (hi - lo) / 3, hi - (hi - lo) / 3
        lo, hi = (lo, b) if error(start, a) < error(start, b) else (a, hi)
    k = args.k or (lo + hi) / 2

    held = (np.arange(len(result)) // 50) % 5 == 0
    train = ~held
    print("%d positions, K %.0f" % (len(result), k))

    # Adam on the squared error over the training rows.
    w = start.copy()
    m = np.zeros_like(w)
    v = np.zeros_like(w)
    x, y = design[train], result[train]
    for step in range(1, args.steps + 1):
        p = 1 / (1 + np.exp(-(x @ w) / k))
        grad = -2 * ((y - p) * p * (1 - p)) @ x / k / len(y) + 2 * args.l2 * (w - start)
        grad[~free] = 0
        m = 0.9 * m + 0.1 * grad
        v = 0.999 * v + 0.001 * grad * grad
        w -= args.rate * (m / (1 - 0.9 ** step)) / (np.sqrt(v / (1 - 0.999 ** step)) + 1e-12)
    print("error: training %.5f -> %.5f, held out %.5f -> %.5f" % (
        error(start, k, train), error(w, k, train), error(start, k, held), error(w, k, held)))
    print(",".join(str(int(round(x))) for x in w))


if __name__ == "__main__":
    main()
