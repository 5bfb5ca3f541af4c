#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses from the project's own files.

    tests/fuzz/make_seeds.py BUILD      (after tools/setup.sh test has built into BUILD)

Level seeds are compiled levels from BUILD/run; picture seeds are the stored pictures of
assets/pictures with a drawing head, plus a few small crafted blocks of the other depths;
form seeds are the main form packed by BUILD/tools/formpack with one small picture in place
of every picture (and once with none); key seeds are the form's key-assignment table;
sim seeds are simulator scripts.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.normpath(os.path.join(HERE, '..', '..'))
PICTURES = os.path.join(TOP, 'assets', 'pictures')
CORPUS = os.path.join(HERE, 'corpus')


def write(harness, name, data):
    os.makedirs(os.path.join(CORPUS, harness), exist_ok=True)
    with open(os.path.join(CORPUS, harness, name), 'wb') as f:
        f.write(data)


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def head(flags=2, pw=0, ph=0, sw=0, sh=0, angle=32, alpha=128):
    return bytes([flags, pw & 255, ph & 255, sw & 255, sh & 255, angle, alpha])


def dib40(w, h, bits, table, rows):
    colours = len(table) // 4 if bits <= 8 else 0
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(rows), 0, 0, colours, 0) + table + rows


def stored(cls, data):
    return bytes([len(cls)]) + cls.encode() + data


def pictures():
    pic = lambda name: read(os.path.join(PICTURES, name))
    write('picture', 'graphic0-24bit-dib', head() + pic('GraphicList-0.pic'))
    write('picture', 'graphic3-8bit-dib', head(flags=3) + pic('GraphicList-3.pic'))
    write('picture', 'world0-bitmap-tiles', head(pw=30, ph=30) + pic('WorldList-0.pic'))
    write('picture', 'world1-gaps', head(flags=1, pw=20, ph=10, sw=5, sh=-3) + pic('WorldList-1.pic'))
    one = dib40(9, -2, 1, struct.pack('<II', 0x000000, 0xFFFFFF), bytes([0xAA, 0x80, 0, 0, 0x55, 0, 0, 0]))
    write('picture', 'small-1bit-topdown', head(pw=3, ph=1) + stored('TDIB', one))
    table = b''.join(struct.pack('<I', i * 0x111111) for i in range(16))
    four = dib40(3, 2, 4, table, bytes([0x12, 0x30, 0, 0, 0xAB, 0xC0, 0, 0]))
    write('picture', 'small-4bit', head(flags=1, pw=1, ph=1) + stored('TDIB', four))
    old = struct.pack('<IHHHH', 12, 2, 2, 1, 24) + bytes([1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0])
    write('picture', 'small-oldheader', head() + stored('TDIB', old))


def keys():
    text = read(os.path.join(TOP, 'assets', 'form', 'MainForm.txt')).decode()
    codes = [int(c) for c in re.search(r'Keyboard\.Assigns = ints32\(([^)]*)\)', text).group(1).split()]
    block = struct.pack('<%di' % len(codes), *codes)
    write('keys', 'default-table', block)
    write('keys', 'default-table-arrows-held', block + bytes([200, 203, 35, 57, 28]))
    odd = list(codes)
    odd[0:5] = [-1, 256, 0x7FFFFFFF, -0x80000000, 255]
    write('keys', 'odd-codes', struct.pack('<%di' % len(odd), *odd) + bytes([255, 0, 1, 40, 26]))
    write('keys', 'short-block', block[:100])


def levels(build):
    run = os.path.join(build, 'run')
    for n in (1, 7, 24):
        write('level', '%02d' % n, read(os.path.join(run, '%d.vrk' % n)))
    # Level 1 steered: right, down, left, up, each for a few frames.
    write('level', '01-steered', read(os.path.join(run, '1.vrk')) + bytes([8] * 6 + [2] * 6 + [4] * 6 + [1] * 6))
    write('level', 'short', read(os.path.join(run, '3.vrk'))[:200])
    write('level', 'many-mines', bytes([2, 3, 4, 5] * 88))


def forms(build):
    source = read(os.path.join(TOP, 'assets', 'form', 'MainForm.txt')).decode()
    with tempfile.TemporaryDirectory() as work:
        # The packer reads pictures relative to the source, so the two small ones go beside it.
        shutil.copy(os.path.join(PICTURES, 'GraphicList-3.pic'), os.path.join(work, 'small.pic'))
        shutil.copy(os.path.join(PICTURES, 'WorldList-0.pic'), os.path.join(work, 'tiles.pic'))
        def pack(text, name, options=()):
            path = os.path.join(work, 'MainForm.txt')
            with open(path, 'w') as f:
                f.write(text)
            out = os.path.join(work, name)
            subprocess.run([os.path.join(build, 'tools', 'formpack'), *options, path, out], check=True)
            write('form', name, read(out))

        def smaller(match):
            return 'file("%s")' % ('tiles.pic' if 'WorldList' in match.group(1) else 'small.pic')

        pack(re.sub(r'file\("([^"]*)"\)', smaller, source), 'small-pictures')
        pack(re.sub(r'\n\s*Picture\.Data = file\("[^"]*"\)', '', source), 'no-pictures')


def scripts():
    """Simulator scripts: the menu tour of the demo tests and one line of every command."""
    write('sim', 'menu-tour.sim', read(os.path.join(TOP, 'tests', 'demos', 'menu-tour.sim')))
    write('sim', 'every-command.sim', b'utc 09:15:00.132\nclock 4000\nforeground 1\narg -sf\narg\n'
          b'level 1.vrk 352 0123456789abcdef\ntick 17\nframes 2\nkey left down\nscankey 205 up\n'
          b'mouse 300 230\nbutton down\nbutton up 3 -5 7\nfocus out\nfocus in\nforeground 0\n'
          b'event expose\nevent focus-in\ntick 60hz\nstate\nframes 1\nevent quit\nframes 1\n')
    write('sim', 'crlf-comments.sim', b'# a comment\r\nframes 1 # run\r\n\tstate\r\n')


def main():
    if len(sys.argv) != 2:
        print('usage: tests/fuzz/make_seeds.py BUILD', file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    pictures()
    keys()
    levels(build)
    forms(build)
    scripts()
    return 0


if __name__ == '__main__':
    sys.exit(main())
