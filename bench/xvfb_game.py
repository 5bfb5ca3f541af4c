#!/usr/bin/env python3
"""Starts the real game under Xvfb and reports how it presents, in the menu and in play.

For each screen size: presented frames per second, processor use as a percentage of one core
(from /proc/PID/stat over the measuring time), peak resident memory, and the time from starting
the program to its first presented frame. The game reports its presents on standard error when
VORKALITH_FRAME_REPORT=1. Play is started by pressing the mouse button on the menu's first item with xdotool.

usage: bench/xvfb_game.py [--seconds S] [--sizes WxH,...] [--game PATH]
"""
import argparse
import os
import subprocess
import sys
import threading
import time

TICKS = os.sysconf("SC_CLK_TCK")


class Game:
    def __init__(self, program, display):
        env = dict(os.environ, DISPLAY=display, VORKALITH_FRAME_REPORT="1")
        self.started = time.time()
        self.proc = subprocess.Popen([program], cwd=os.path.dirname(program), env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True)
        self.first = None
        self.frames = []  # (count, epoch ms)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.proc.stderr:
            parts = line.split()
            if len(parts) == 2 and parts[0] == "first-frame":
                self.first = int(parts[1])
                self.frames.append((1, self.first))
            elif len(parts) == 3 and parts[0] == "frames":
                self.frames.append((int(parts[1]), int(parts[2])))

    def cpu_seconds(self):
        with open(f"/proc/{self.proc.pid}/stat", encoding="ascii") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS

    def peak_rss_mb(self):
        with open(f"/proc/{self.proc.pid}/status", encoding="ascii") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024
        return 0.0

    def measure(self, seconds):
        """Frames per second and percent of a core over the next `seconds`."""
        time.sleep(1.1)
        count0, ms0 = self.frames[-1]
        cpu0, wall0 = self.cpu_seconds(), time.time()
        time.sleep(seconds)
        count1, ms1 = self.frames[-1]
        cpu1, wall1 = self.cpu_seconds(), time.time()
        fps = (count1 - count0) * 1000 / (ms1 - ms0) if ms1 > ms0 else 0.0
        return fps, 100 * (cpu1 - cpu0) / (wall1 - wall0)

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


def free_display():
    for n in range(90, 190):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise SystemExit("xvfb_game.py: no free X display number")


def run_size(program, width, height, seconds):
    n = free_display()
    xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    game = None
    try:
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                break
            time.sleep(0.05)
        game = Game(program, f":{n}")
        deadline = time.time() + 15
        while game.first is None and time.time() < deadline and game.proc.poll() is None:
            time.sleep(0.01)
        if game.first is None:
            print(f"xvfb_game.py: {width}x{height}: the game presented no frame", file=sys.stderr)
            return None
        first_ms = game.first - game.started * 1000
        menu = game.measure(seconds)
        env = dict(os.environ, DISPLAY=f":{n}")
        subprocess.run(["xdotool", "mousemove", str(width // 2), str(height // 2)], env=env, check=False)
        # The menu reads the button as held at a frame, so it stays down for a few frames.
        for step in ("mousedown", "mouseup"):
            time.sleep(0.2)
            subprocess.run(["xdotool", step, "1"], env=env, check=False)
        play = game.measure(seconds)
        return first_ms, menu, play, game.peak_rss_mb()
    finally:
        if game is not None:
            game.stop()
        xvfb.terminate()
        xvfb.wait()


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=10, help="measuring time per phase (default 10)")
    parser.add_argument("--sizes", default="640x480,1280x1024,1920x1080", help="screen sizes, WxH comma-separated")
    parser.add_argument("--game", default=os.path.join(top, "build", "run", "vorkalith"))
    args = parser.parse_args()
    try:
        sizes = [tuple(int(v) for v in s.split("x")) for s in args.sizes.split(",")]
    except ValueError:
        parser.error(f"--sizes: not WxH: {args.sizes}")
    if not os.access(args.game, os.X_OK):
        print(f"xvfb_game.py: {args.game}: no such program; build the game first", file=sys.stderr)
        return 1
    # The virtual X server and the pointer driver.
    subprocess.run([os.path.join(top, "tools", "install-packages.sh"), "xvfb", "xdotool"], check=True,
                   stdout=subprocess.DEVNULL)
    print(f"{'screen':<10} {'first ms':>8} {'menu fps':>8} {'menu cpu%':>9} {'play fps':>8} {'play cpu%':>9} "
          f"{'peak MB':>7}")
    failed = False
    for width, height in sizes:
        result = run_size(args.game, width, height, args.seconds)
        if result is None:
            failed = True
            continue
        first_ms, (menu_fps, menu_cpu), (play_fps, play_cpu), rss = result
        print(f"{width}x{height:<6} {first_ms:8.0f} {menu_fps:8.1f} {menu_cpu:9.1f} {play_fps:8.1f} {play_cpu:9.1f} "
              f"{rss:7.1f}", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
