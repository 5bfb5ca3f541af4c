#!/usr/bin/python3
"""Reads the game's words off the screen, as a player would, in each language.

Under Xvfb the game runs full screen with LANGUAGE=en, LANGUAGE=ru and LANG=C; for each, the
menu, the options screen and a play frame are photographed, the part with words is cut out,
scaled up and read by tesseract in that language, and a few words expected there must be found.

usage: tests/app/languages_ocr.py GAME [--shots DIR]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

from PIL import Image

# (name, environment, tesseract language, words expected on the menu, options screen, play frame)
CASES = [
    ("en", {"LANGUAGE": "en"}, "eng", ["Start", "Options", "Help", "Exit"], ["Options", "Command", "slowflip"],
     ["Score"]),
    ("ru", {"LANGUAGE": "ru"}, "rus", ["Старт", "Опции", "Помощь", "Выход"], ["Опции", "Командная", "slowflip"],
     ["Очки"]),
    ("C", {"LANG": "C"}, "rus", ["Старт", "Опции", "Помощь", "Выход"], ["Опции", "Командная", "slowflip"], ["Очки"]),
]
# The parts of the 640x480 screen with the words: the menu panel, the options screen's three
# lines, and the score at the top right of a play frame.
MENU = (255, 220, 385, 380)
OPTIONS = (0, 395, 640, 480)
SCORE = (440, 0, 640, 22)


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, **kwargs)


class Screen:
    def __init__(self):
        self.display = f":{150 + os.getpid() % 300}"
        self.server = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "640x480x24", "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.display)
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0:
                return
            time.sleep(0.05)
        raise RuntimeError("Xvfb did not start")

    def close(self):
        self.server.terminate()
        self.server.wait()

    def shot(self, path):
        run("import", "-window", "root", path, env=self.env)
        return Image.open(path).convert("RGB")

    def click(self, x, y):
        run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", env=self.env)
        time.sleep(0.2)
        run("xdotool", "mouseup", "1", env=self.env)

    def key(self, name):
        # Held over a few frames: the game sees a key only while a frame finds it down.
        run("xdotool", "keydown", name, env=self.env)
        time.sleep(0.2)
        run("xdotool", "keyup", name, env=self.env)

    def point(self, x, y):
        run("xdotool", "mousemove", str(x), str(y), env=self.env)

    def first_picture(self, path, timeout=20.0):
        """The first screenshot that shows anything but the empty screen (the window is up and
        drawn), or the last one taken when `timeout` seconds have passed."""
        until = time.monotonic() + timeout
        while True:
            picture = self.shot(path)
            if picture.convert("L").getextrema()[1] > 0 or time.monotonic() > until:
                return picture
            time.sleep(0.2)


def read(picture, box, language, scratch):
    """The words tesseract reads in `box` of the picture, scaled up four times first."""
    part = picture.crop(box)
    part = part.resize((part.width * 4, part.height * 4), Image.LANCZOS)
    path = os.path.join(scratch, "part.png")
    part.save(path)
    return run("tesseract", path, "-", "-l", language, "--psm", "6").stdout.decode("utf-8")


def check(what, text, words, failures):
    found = [w for w in words if w.lower() in text.lower()]
    # Optical reading may miss a word; most of them must be there.
    if len(found) < max(1, len(words) - 1):
        failures.append(f"{what}: expected {words}, read {text.strip()!r}")
    else:
        print(f"{what}: read {found}")


def play_case(screen, game, case, scratch, shots, failures):
    name, env, language, menu_words, options_words, play_words = case
    environment = {k: v for k, v in screen.env.items() if k not in ("LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES")}
    environment.update(env)
    proc = subprocess.Popen([game], cwd=os.path.dirname(game), env=environment, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        # A busy machine may take seconds to start the game; only then does it follow the pointer.
        screen.first_picture(os.path.join(shots, f"{name}-menu.png"))
        time.sleep(1.0)
        # The pointer away from the menu, whose words the game's cursor and the highlight bar would
        # cover; moved twice, so that the window sees it move wherever it stood before.
        screen.point(590, 110)
        screen.point(600, 100)
        time.sleep(0.5)
        picture = screen.shot(os.path.join(shots, f"{name}-menu.png"))
        check(f"{name} menu", read(picture, MENU, language, scratch), menu_words, failures)

        screen.click(320, 280)
        time.sleep(0.5)
        picture = screen.shot(os.path.join(shots, f"{name}-options.png"))
        check(f"{name} options", read(picture, OPTIONS, language, scratch), options_words, failures)

        # Back to the menu, away from the options item, then a new game from the first item.
        screen.key("Escape")
        screen.point(600, 100)
        time.sleep(0.3)
        screen.click(320, 240)
        time.sleep(1.0)
        picture = screen.shot(os.path.join(shots, f"{name}-play.png"))
        check(f"{name} play", read(picture, SCORE, language, scratch), play_words, failures)
    finally:
        proc.terminate()
        proc.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("game")
    parser.add_argument("--shots", help="keep the screenshots in this folder")
    args = parser.parse_args()
    failures = []
    screen = Screen()
    with tempfile.TemporaryDirectory() as scratch:
        shots = args.shots or scratch
        os.makedirs(shots, exist_ok=True)
        try:
            for case in CASES:
                play_case(screen, os.path.abspath(args.game), case, scratch, shots, failures)
        finally:
            screen.close()
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
