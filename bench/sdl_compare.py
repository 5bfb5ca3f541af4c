#!/usr/bin/env python3
"""Runs bench/sdl_compare in interleaved rounds and prints the median ratio of each drawing job.

Each round runs every pair of benchmarks once, ours and the other side one after the other, so
that the load of a shared machine falls on both alike; the table shows the median over the rounds
of processor time per job and the ratio ours / other, beside the target for that job.

usage: bench/sdl_compare.py [--rounds N] [--min-time SECONDS] [--binary PATH]
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

# Work, the side compared with, and the largest ratio ours / other that meets the target.
TARGETS = {
    "keyed_round_x315": ("sdl", 1.0),
    "keyed_tiles_x315": ("sdl", None),
    "blend_130x40_a100": ("sdl", 1.0),
    "turn_30x30_a64": ("general", 0.5),
    "text_fps60": ("sdl", 1.0),
    "frame": ("sdl", 0.45),
    "dense_frame": ("sdl", 0.45),
}


def run_round(binary, min_time):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    try:
        done = subprocess.run([binary, f"--benchmark_min_time={min_time}", f"--benchmark_out={path}",
                               "--benchmark_out_format=json"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              text=True, check=False)
        if done.returncode != 0:
            sys.stderr.write(done.stderr)
            raise SystemExit(1)
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
    finally:
        os.unlink(path)
    times = {}
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") == "iteration":
            scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
            times[b["name"]] = b["cpu_time"] * scale
    return times


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=3, help="rounds to take the median of (default 3)")
    parser.add_argument("--min-time", type=float, default=0.2, help="seconds per benchmark and round (default 0.2)")
    parser.add_argument("--binary", default=os.path.join(top, "build", "bench", "sdl_compare"))
    args = parser.parse_args()
    if args.rounds < 1:
        parser.error("--rounds must be at least 1")
    if not os.access(args.binary, os.X_OK):
        print(f"sdl_compare.py: {args.binary}: no such program; build the benchmarks first", file=sys.stderr)
        return 1

    rounds = [run_round(args.binary, args.min_time) for _ in range(args.rounds)]
    median = {name: statistics.median(r[name] for r in rounds if name in r) for name in rounds[0]}
    print(f"{'work':<20} {'ours us':>9} {'other us':>9} {'ratio':>6}  {'other':<8} {'target':>7}  met")
    failed = 0
    for work, (other, target) in TARGETS.items():
        ours, theirs = median.get(f"ours/{work}"), median.get(f"{other}/{work}")
        if ours is None or theirs is None:
            continue
        ratio = ours / theirs
        met = "-" if target is None else ("yes" if ratio <= target else "NO")
        failed += met == "NO"
        shown = "" if target is None else f"<={target:.2f}"
        print(f"{work:<20} {ours / 1e3:9.2f} {theirs / 1e3:9.2f} {ratio:6.2f}  {other:<8} {shown:>7}  {met}")
    frame = median.get("ours/frame")
    if frame is not None:
        print(f"composite frame: {frame / 1e3:.1f} us of processor time (target <= 100 us): "
              f"{'yes' if frame <= 100e3 else 'NO'}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
