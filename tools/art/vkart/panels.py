"""Opaque interface pictures: menu panel, highlight, status bar, gauge strip and the about picture."""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from . import fonts
from .canvas import Canvas, rgbf, to_uint8
from .sprites import ship_top

MENU_BLUE = (0, 44, 126)
BRIGHT_BLUE = (0, 86, 244)
RED = (255, 0, 0)
# The words of the pictures in each language: the stored form carries the Russian ones, and a
# language with words of its own gets its own variant of each picture that has words.
MENU_WORDS = {
    "ru": ["Старт", "Опции", "Помощь", "Выход"],
    "en": ["Start", "Options", "Help", "Exit"],
}


def menu(lang="ru"):
    """130x160 panel, 4-pixel border, one word per 40-pixel band, first letter red."""
    img = Image.new("RGB", (130, 160), BRIGHT_BLUE)
    draw = ImageDraw.Draw(img)
    draw.rectangle([4, 4, 125, 155], fill=MENU_BLUE)
    face = ImageFont.truetype(fonts.soft_bold(), 25)
    for band, word in enumerate(MENU_WORDS[lang]):
        width = face.getlength(word)
        left, top, right, bottom = face.getbbox(word)
        x = (130 - width) / 2.0
        y = band * 40 + 20 - (top + bottom) / 2.0
        draw.text((x, y), word[0], font=face, fill=RED)
        draw.text((x + face.getlength(word[0]), y), word[1:], font=face, fill=BRIGHT_BLUE)
    return np.asarray(img, np.uint8)


def highlight():
    return np.full((40, 130, 3), BRIGHT_BLUE, np.uint8)


def status_bar():
    """Bright top edge over a dark body shading to navy; the left end is cut at 45 degrees."""
    h, w = 30, 640
    y = np.arange(h, dtype=np.float32)[:, None]
    t = np.clip((y - 4) / (h - 5), 0.0, 1.0)
    body = rgbf((2, 43, 119)) * (1 - t[..., None]) + rgbf((0, 21, 61)) * t[..., None]
    out = np.broadcast_to(body, (h, w, 3)).copy()
    out[0:4] = rgbf((0, 90, 255))
    x = np.arange(w, dtype=np.float32)[None, :]
    # Bevel: the top-left corner is cut off; the bright edge follows the cut.
    cut = 10.0
    edge = x + y
    out[(edge >= cut) & (edge < cut + 5) & (y < cut)] = rgbf((0, 90, 255))
    out[np.broadcast_to(edge < cut, (h, w))] = 0.0
    # A lighter line marks the bevel itself.
    out[(edge >= cut) & (edge < cut + 1.5) & (y < cut)] = rgbf((90, 150, 255))
    return to_uint8(out * 255.0)


def gauge():
    return np.zeros((450, 10, 3), np.uint8)


ABOUT_BOX = {
    "ru": [
        "Vorkalith",
        "Версия 0.9 (альфа) от 14 сентября 2003 г.",
        "Игра сделана за одно лето небольшой",
        "командой любителей аркад.",
        "Всё написано с нуля: спрайты, вывод",
        "на экран, таймер кадров и клавиатура.",
        "Картинки нарисованы и отрендерены",
        "вручную, уровни собраны в редакторе.",
    ],
    "en": [
        "Vorkalith",
        "Version 0.9 (alpha) of 14 September 2003",
        "The game was made in one summer by a",
        "small team of arcade lovers.",
        "Everything is written from scratch: sprites,",
        "screen output, frame timer and keyboard.",
        "The pictures were drawn and rendered",
        "by hand, the levels built in the editor.",
    ],
}
ABOUT_LABEL = {"ru": "альфа · 2003", "en": "alpha · 2003"}
ABOUT_CREDITS = {
    "ru": [
        "Программирование — команда Vorkalith",
        "Графика — команда Vorkalith",
        "Уровни — команда Vorkalith",
        "Тестирование — друзья проекта",
        "Звук — в следующей версии",
    ],
    "en": [
        "Programming — the Vorkalith team",
        "Graphics — the Vorkalith team",
        "Levels — the Vorkalith team",
        "Testing — friends of the project",
        "Sound — in the next version",
    ],
}


def about(lang="ru"):
    """640x480 on black: a white-framed box of eight lines, a label with the year, credits and the ship."""
    img = Image.new("RGB", (640, 480), (0, 0, 0))
    draw = ImageDraw.Draw(img)
    title = ImageFont.truetype(fonts.sans_bold(), 28)
    body = ImageFont.truetype(fonts.sans(), 16)
    white = (255, 255, 255)

    x0, y0 = 24, 24
    y = y0 + 14
    box = ABOUT_BOX[lang]
    draw.text((x0 + 18, y), box[0], font=title, fill=white)
    y += 40
    widest = title.getlength(box[0])
    for line in box[1:]:
        draw.text((x0 + 18, y), line, font=body, fill=white)
        widest = max(widest, body.getlength(line))
        y += 23
    draw.rectangle([x0, y0, x0 + 36 + int(widest), y + 12], outline=white, width=2)

    label = ImageFont.truetype(fonts.sans_bold(), 18)
    draw.text((616 - label.getlength(ABOUT_LABEL[lang]), 28), ABOUT_LABEL[lang], font=label, fill=(200, 215, 255))

    credits = ImageFont.truetype(fonts.sans(), 15)
    for i, line in enumerate(ABOUT_CREDITS[lang]):
        draw.text((26, 346 + i * 24), line, font=credits, fill=white)

    out = np.asarray(img, np.float32) / 255.0
    ship = ship_top(size=190, ss=3)
    col, cov = ship.reduce()
    # A faint blue halo behind the ship, then the ship itself blended onto black.
    ys, xs = np.mgrid[0:190, 0:190].astype(np.float32)
    halo = np.exp(-(((xs - 95) ** 2 + (ys - 100) ** 2) / (2 * 70.0**2))) * 0.22
    left, top = 430, 272
    area = out[top : top + 190, left : left + 190]
    area[:] = np.clip(area + halo[..., None] * rgbf((40, 90, 255)), 0, 1)
    area[:] = area * (1 - cov[..., None]) + (col / 255.0) * cov[..., None]
    return to_uint8(out * 255.0)
