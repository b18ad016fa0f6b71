#!/usr/bin/env python3
"""Draws the program's bitmaps, icon and cursors into resources/.

Run once after changing a drawing; the outputs are committed so the build
needs nothing but windres. Pure standard library: BMP, ICO and CUR files
are written by hand.
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def canvas(w, h, color):
    return [[color for _ in range(w)] for _ in range(h)]


def rect(img, x0, y0, x1, y1, color):
    for y in range(max(0, y0), min(len(img), y1 + 1)):
        for x in range(max(0, x0), min(len(img[0]), x1 + 1)):
            img[y][x] = color


def frame(img, x0, y0, x1, y1, color):
    rect(img, x0, y0, x1, y0, color)
    rect(img, x0, y1, x1, y1, color)
    rect(img, x0, y0, x0, y1, color)
    rect(img, x1, y0, x1, y1, color)


def bmp24(img):
    h, w = len(img), len(img[0])
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in img[y]:
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def dib32_with_mask(img, transparent):
    """DIB for icons and cursors: 32-bit XOR image plus 1-bit AND mask."""
    h, w = len(img), len(img[0])
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for c in img[y]:
            if c == transparent:
                xor += b"\0\0\0\0"
            else:
                r, g, b = c
                xor += bytes((b, g, r, 255))
    mask_row = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x, c in enumerate(img[y]):
            if c == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    return info + xor + andm


def icon_file(img, transparent, cursor=None):
    h, w = len(img), len(img[0])
    dib = dib32_with_mask(img, transparent)
    kind = 2 if cursor else 1
    head = struct.pack("<HHH", 0, kind, 1)
    if cursor:
        hx, hy = cursor
        entry = struct.pack("<BBBBHHII", w, h, 0, 0, hx, hy, len(dib), 22)
    else:
        entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(dib), 22)
    return head + entry + dib


WHITE, BLACK = (255, 255, 255), (0, 0, 0)
MAGENTA = (255, 0, 255)
RED = (200, 0, 0)
FACE = (192, 192, 192)
YELLOW, DARKYELLOW = (255, 214, 64), (176, 128, 0)
BLUE, NAVY = (40, 110, 210), (16, 40, 110)
GREY, DARK = (160, 160, 160), (96, 96, 96)
GREEN = (20, 140, 60)


def folder(up=False):
    img = canvas(16, 16, WHITE)
    rect(img, 1, 3, 6, 4, DARKYELLOW)
    rect(img, 1, 5, 14, 13, YELLOW)
    frame(img, 1, 5, 14, 13, DARKYELLOW)
    if up:
        for i in range(4):
            rect(img, 8 - i, 7 + i, 8 + i, 7 + i, NAVY)
        rect(img, 7, 10, 9, 12, NAVY)
    return img


def page(lines=False, link=False):
    img = canvas(16, 16, WHITE)
    rect(img, 3, 1, 12, 14, WHITE)
    frame(img, 3, 1, 12, 14, DARK)
    rect(img, 10, 1, 12, 3, GREY)
    if lines:
        for y in (5, 7, 9, 11):
            rect(img, 5, y, 10, y, NAVY)
    elif not link:
        rect(img, 6, 6, 9, 9, GREY)
    if link:
        rect(img, 5, 10, 9, 11, GREEN)
        rect(img, 8, 8, 9, 13, GREEN)
        rect(img, 5, 7, 6, 11, GREEN)
    return img


def disk():
    img = canvas(16, 16, WHITE)
    rect(img, 1, 5, 14, 11, GREY)
    frame(img, 1, 5, 14, 11, DARK)
    rect(img, 3, 9, 6, 9, GREEN)
    rect(img, 9, 7, 12, 7, DARK)
    return img


# 5x7 capitals for the splash title.
FONT = {
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    " ": ["00000"] * 7,
}


def text(img, x, y, s, scale, color):
    for ch in s:
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "1":
                    rect(img, x + gx * scale, y + gy * scale,
                         x + gx * scale + scale - 1, y + gy * scale + scale - 1, color)
        x += 6 * scale


def splash():
    w, h = 377, 277
    img = canvas(w, h, WHITE)
    for y in range(h):
        t = y / (h - 1)
        c = (int(16 + 30 * t), int(40 + 70 * t), int(110 + 100 * t))
        rect(img, 0, y, w - 1, y, c)
    frame(img, 0, 0, w - 1, h - 1, WHITE)
    # Two arrows, one each way, for moving files.
    for i in range(14):
        rect(img, 150 + i, 60 - (13 - i), 150 + i, 60 + (13 - i), YELLOW)
        rect(img, 226 - i, 96 - (13 - i), 226 - i, 96 + (13 - i), YELLOW)
    rect(img, 110, 55, 150, 65, YELLOW)
    rect(img, 226, 91, 266, 101, YELLOW)
    text(img, 30, 140, "VELTRO", 8, WHITE)
    text(img, 98, 210, "LITE", 6, YELLOW)
    text(img, 250, 248, "FTP", 3, WHITE)
    return img


def app_icon():
    img = canvas(32, 32, MAGENTA)
    rect(img, 2, 2, 29, 29, BLUE)
    frame(img, 2, 2, 29, 29, NAVY)
    text(img, 9, 6, "V", 3, WHITE)
    rect(img, 6, 26, 25, 27, YELLOW)
    return img


def split_cursor(horizontal, variant=False):
    img = canvas(32, 32, MAGENTA)
    if horizontal:
        rect(img, 15, 4, 16, 27, BLACK)
        for i in range(5):
            rect(img, 8 + i, 15 - i, 8 + i, 16 + i, BLACK if not variant else NAVY)
            rect(img, 23 - i, 15 - i, 23 - i, 16 + i, BLACK if not variant else NAVY)
        rect(img, 8, 15, 23, 16, BLACK)
    else:
        rect(img, 4, 15, 27, 16, BLACK)
        for i in range(5):
            rect(img, 15 - i, 8 + i, 16 + i, 8 + i, BLACK)
            rect(img, 15 - i, 23 - i, 16 + i, 23 - i, BLACK)
        rect(img, 15, 8, 16, 23, BLACK)
    return img


def wait_cursor():
    img = canvas(32, 32, MAGENTA)
    rect(img, 8, 2, 23, 3, BLACK)
    rect(img, 8, 28, 23, 29, BLACK)
    for i in range(12):
        rect(img, 9 + i // 2, 4 + i, 22 - i // 2, 4 + i, YELLOW if i > 6 else WHITE)
        rect(img, 9 + i // 2, 27 - i, 22 - i // 2, 27 - i, YELLOW if i < 5 else WHITE)
    frame(img, 8, 2, 23, 29, BLACK)
    return img


def arrow(img):
    # The usual pointer: its tip at (0, 0).
    for y in range(16):
        rect(img, 0, y, min(y, 10), y, BLACK)
        if 2 <= y <= 13:
            rect(img, 1, y, min(y - 1, 9), y, WHITE)
    rect(img, 4, 16, 6, 20, BLACK)
    rect(img, 5, 15, 5, 19, WHITE)


def drag_cursor(several=False):
    img = canvas(32, 32, MAGENTA)
    arrow(img)
    pages = [(14, 16), (18, 20)] if several else [(16, 18)]
    for x, y in pages:
        rect(img, x, y, x + 9, y + 11, WHITE)
        frame(img, x, y, x + 9, y + 11, BLACK)
        for line in range(3):
            rect(img, x + 2, y + 3 + line * 3, x + 7, y + 3 + line * 3, NAVY)
    return img


def nodrop_cursor():
    img = canvas(32, 32, MAGENTA)
    for y in range(32):
        for x in range(32):
            d = ((x - 15.5) ** 2 + (y - 15.5) ** 2) ** 0.5
            if 9 <= d <= 13 or (d < 13 and abs((x - 15.5) - (y - 15.5)) < 2.2):
                img[y][x] = RED if d < 12.5 else BLACK
    return img


def main():
    files = {
        "splash.bmp": bmp24(splash()),
        "bmpdir.bmp": bmp24(folder()),
        "bmpdup.bmp": bmp24(folder(up=True)),
        "bmptxt.bmp": bmp24(page(lines=True)),
        "bmpunk.bmp": bmp24(page()),
        "bmplnk.bmp": bmp24(page(link=True)),
        "bmpdsk.bmp": bmp24(disk()),
        "app_main.ico": icon_file(app_icon(), MAGENTA),
        "splith.cur": icon_file(split_cursor(True), MAGENTA, cursor=(15, 15)),
        "splith1.cur": icon_file(split_cursor(True, True), MAGENTA, cursor=(15, 15)),
        "splitv.cur": icon_file(split_cursor(False), MAGENTA, cursor=(15, 15)),
        "mywait.cur": icon_file(wait_cursor(), MAGENTA, cursor=(15, 15)),
        "drag.cur": icon_file(drag_cursor(), MAGENTA, cursor=(0, 0)),
        "dragmult.cur": icon_file(drag_cursor(True), MAGENTA, cursor=(0, 0)),
        "nodrop.cur": icon_file(nodrop_cursor(), MAGENTA, cursor=(15, 15)),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
