#!/usr/bin/env python3
"""How soon pbrain-zel answers a stop: starts a long search (60 s a turn), sends STOP (or YXSTOP)
after a while, and times the answer from the stop's sending to the move's arrival."""
import argparse
import statistics
import subprocess
import time


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--engine", default="build/src/brain/pbrain-zel")
    parser.add_argument("--trials", type=int, default=20)
    parser.add_argument("--command", default="STOP", choices=["STOP", "YXSTOP"])
    args = parser.parse_args()

    engine = subprocess.Popen([args.engine], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True, bufsize=1)

    def send(line):
        engine.stdin.write(line + "\n")
        engine.stdin.flush()

    def answer():
        while True:
            line = engine.stdout.readline()
            if not line:
                raise SystemExit("the engine left")
            if not line.startswith(("MESSAGE", "DEBUG")):
                return line.strip()

    send("START 15")
    answer()
    send("INFO timeout_turn 60000")
    latencies = []
    for trial in range(args.trials):
        send("RESTART")
        answer()
        send("BEGIN")
        answer()
        send("TURN 8,8")
        # Stops at different points of the search: 0.2 to 1.1 s into it.
        time.sleep(0.2 + 0.05 * (trial % 19))
        sent = time.monotonic()
        send(args.command)
        move = answer()
        latencies.append((time.monotonic() - sent) * 1000)
        print(f"trial {trial + 1}: {move} after {latencies[-1]:.1f} ms")
    send("END")
    engine.wait()
    print(f"{args.command} to the answer, {len(latencies)} trials: median "
          f"{statistics.median(latencies):.1f} ms, max {max(latencies):.1f} ms")


if __name__ == "__main__":
    main()
