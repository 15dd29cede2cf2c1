#!/usr/bin/env python3
"""Draws the five eye pictures, the program icon and the README contact sheet.

Standard library only, integer arithmetic only, so every run on every machine
writes the same bytes. Run from anywhere: python3 resources/make_pictures.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The 16-colour VGA palette, in index order, as (r, g, b).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

EYE_W, EYE_H = 100, 40
EYE_OFFBITS = 14 + 40 + 16 * 4
EYE_FILE_SIZE = 2198


class Canvas:
    """Palette-indexed pixels, row 0 at the top."""

    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.px = [[colour] * width for _ in range(height)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def fill(self, inside, colour):
        """Paints every pixel whose centre satisfies inside(X, Y), in units of 1/UNIT px."""
        for y in range(self.height):
            for x in range(self.width):
                if inside(UNIT * x + UNIT // 2, UNIT * y + UNIT // 2):
                    self.px[y][x] = colour


# Shapes are tested in whole sub-pixel units so no rounding can differ between machines.
UNIT = 20


def units(v):
    u = round(v * UNIT)
    assert abs(u - v * UNIT) < 1e-9, v
    return u


def ellipse(cx, cy, rx, ry):
    CX, CY, RX, RY = units(cx), units(cy), units(rx), units(ry)
    return lambda X, Y: (X - CX) ** 2 * RY * RY + (Y - CY) ** 2 * RX * RX <= RX * RX * RY * RY


def line(canvas, x0, y0, x1, y1, colour, where=None):
    """Bresenham line, one pixel wide; where(x, y) may veto single pixels."""
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        if where is None or where(x0, y0):
            canvas.put(x0, y0, colour)
        if (x0, y0) == (x1, y1):
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


# Eye layout shared by all five pictures: centres, outer radii, rim width.
EYES = [(29, 20), (71, 20)]
EYE_RX, EYE_RY, RIM = 17, 18, 2
PUPIL_R = 6.5


def eyeball(c, cx, cy):
    c.fill(ellipse(cx, cy, EYE_RX, EYE_RY), BLACK)
    c.fill(ellipse(cx, cy, EYE_RX - RIM, EYE_RY - RIM), WHITE)


def pupil(c, px, py, highlight=True):
    c.fill(ellipse(px, py, PUPIL_R, PUPIL_R), BLACK)
    if highlight:
        for dx, dy in ((-3, -3), (-2, -3), (-3, -2), (-2, -2)):
            c.put(int(px) + dx, int(py) + dy, WHITE)


# Veins as polylines relative to the eye centre, running from the rim inwards.
VEINS = [
    [(-15, -1), (-12, 0), (-10, -2), (-6, -1)], [(-10, -2), (-9, -5)],
    [(-10, -12), (-9, -9), (-7, -8), (-6, -5)], [(-7, -8), (-4, -9)],
    [(-11, 12), (-9, 9), (-6, 9), (-5, 6)], [(-9, 9), (-10, 6)],
    [(15, 1), (12, 0), (10, 2), (6, 1)], [(12, 0), (10, -3), (8, -4)],
    [(8, -14), (7, -11), (4, -10), (3, -7)],
    [(11, 11), (9, 8), (6, 8), (5, 5)], [(9, 8), (11, 6)],
    [(0, 16), (1, 13), (-1, 11), (0, 9)],
    [(-3, -16), (-2, -13)],
]


def veins(c, cx, cy, mirror):
    white = lambda x, y: c.get(x, y) == WHITE
    sign = -1 if mirror else 1
    for vein in VEINS:
        for (x0, y0), (x1, y1) in zip(vein, vein[1:]):
            line(c, cx + sign * x0, cy + y0, cx + sign * x1, cy + y1, RED, white)


def open_eyes(pupil_dx, bloodshot):
    c = Canvas(EYE_W, EYE_H, SILVER)
    for i, (cx, cy) in enumerate(EYES):
        eyeball(c, cx, cy)
        if bloodshot:
            veins(c, cx, cy, mirror=(i == 1))
        dx = pupil_dx[i]
        pupil(c, cx + dx, cy)
    return c


def draw_normal():
    # at rest the pupils lean towards the nose
    return open_eyes((5, -5), bloodshot=False)


def draw_left():
    return open_eyes((-8, -8), bloodshot=True)


def draw_right():
    return open_eyes((8, 8), bloodshot=True)


def draw_win():
    c = Canvas(EYE_W, EYE_H, SILVER)
    for cx, _ in EYES:
        cy = 28
        outer = ellipse(cx, cy, 16, 13)
        inner = ellipse(cx, cy, 12.5, 9.5)
        # round caps at both feet so the strokes do not end in flat cuts
        feet = [ellipse(cx + side * 14.25, cy, 1.75, 1.75) for side in (-1, 1)]
        c.fill(lambda X, Y: (Y <= units(cy) and outer(X, Y) and not inner(X, Y))
               or any(foot(X, Y) for foot in feet), BLACK)
    return c


def draw_lose():
    c = Canvas(EYE_W, EYE_H, SILVER)
    for i, (cx, cy) in enumerate(EYES):
        eyeball(c, cx, cy)
        pupil(c, cx, cy + 7, highlight=False)
        inside = ellipse(cx, cy, EYE_RX - RIM, EYE_RY - RIM)
        # the lid edge droops towards the outer corner, which reads as sad
        outward = -1 if i == 0 else 1
        CX, LID = units(cx), units(cy - 1)

        def lid_y(X):
            return LID + outward * (X - CX) * 3 // EYE_RX

        c.fill(lambda X, Y: inside(X, Y) and Y < lid_y(X), GREY)
        c.fill(lambda X, Y: inside(X, Y) and lid_y(X) <= Y < lid_y(X) + units(2), BLACK)
    tear(c, 87, 33)
    return c


def tear(c, tx, ty):
    """A drop hanging below its point: a round bottom of radius 3 and a tapered top."""
    bulb = ellipse(tx + 0.5, ty + 0.5, 3, 3)
    BX, BY = units(tx + 0.5), units(ty + 0.5)

    def inside(X, Y):
        if bulb(X, Y):
            return True
        # a cone from the point, 6 px above the bulb centre, widening to the bulb
        top = BY - units(6)
        return top <= Y <= BY and abs(X - BX) * 2 <= Y - top

    c.fill(inside, BLUE)
    shrunk = ellipse(tx + 0.5, ty + 0.5, 2, 2)
    c.fill(lambda X, Y: shrunk(X, Y) or (BY - units(4) <= Y <= BY and abs(X - BX) * 3 <= Y - BY + units(4)), AQUA)
    c.put(tx - 1, ty - 1, WHITE)


def pack4(canvas, rows):
    """4-bit pixels, bottom row first, each row padded to whole 32-bit words."""
    stride = (4 * canvas.width + 31) // 32 * 4
    out = bytearray()
    for y in rows:
        row = bytearray()
        for x in range(0, canvas.width, 2):
            hi = canvas.get(x, y)
            lo = canvas.get(x + 1, y) if x + 1 < canvas.width else 0
            row.append(hi << 4 | lo)
        row.extend(b"\0" * (stride - len(row)))
        out += row
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<iiiHHiiiiii", 40, width, height, 1, 4, 0, image_size, 0, 0, 0, 0)


def bmp_bytes(canvas):
    pixels = pack4(canvas, range(canvas.height - 1, -1, -1))
    off = 14 + 40 + len(PALETTE) * 4
    size = off + len(pixels)
    head = struct.pack("<2sIHHI", b"BM", size, 0, 0, off)
    data = head + info_header(canvas.width, canvas.height, len(pixels)) + palette_bytes() + pixels
    check_bmp(data)
    return data


def check_bmp(data):
    bfType, bfSize, r1, r2, off = struct.unpack_from("<HiHHi", data, 0)
    biSize, w, h, planes, bits, comp = struct.unpack_from("<iiiHHi", data, 14)
    assert bfType == 0x4D42 and r1 == 0 and r2 == 0 and planes == 1
    assert (biSize, w, h, bits, comp) == (40, EYE_W, EYE_H, 4, 0)
    assert off == EYE_OFFBITS and bfSize == EYE_FILE_SIZE == len(data)
    # the finder's normal mode accepts a picture only when this equation holds
    row = (bits * w + 31) // 32
    assert row == 13 and row * h * 4 + off == bfSize
    assert data[54:118] == palette_bytes()


def ico_bytes(canvas):
    assert canvas.width == canvas.height == 32
    xor = pack4(canvas, range(31, -1, -1))
    and_mask = b"\0" * (32 // 8 * 32)  # fully opaque: the black square is part of the picture
    image = info_header(32, 64, len(xor) + len(and_mask)) + palette_bytes() + xor + and_mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    data = head + entry + image
    assert len(xor) == 512 and len(image) == 40 + 64 + 512 + 128 and len(data) == 766
    return data


# 2-px strokes, 11 rows tall; widths 8, 10 and 8 fill the icon with 2-px gaps.
LETTERS = {
    "B": ["######..",
          "#######.",
          "##...##.",
          "##...##.",
          "######..",
          "#######.",
          "##....##",
          "##....##",
          "##....##",
          "########",
          "#######."],
    "M": ["##......##",
          "###....###",
          "####..####",
          "##.####.##",
          "##..##..##",
          "##......##",
          "##......##",
          "##......##",
          "##......##",
          "##......##",
          "##......##"],
    "P": ["#######.",
          "########",
          "##....##",
          "##....##",
          "##....##",
          "########",
          "#######.",
          "##......",
          "##......",
          "##......",
          "##......"],
}


def draw_icon():
    c = Canvas(32, 32, BLACK)
    for cx in (9, 23):
        c.fill(ellipse(cx, 9, 6.5, 7.5), WHITE)
        # a 5x5 pupil near the outer right edge, one white pixel short of it
        c.fill(ellipse(cx + 2.5, 10.5, 2.6, 2.6), BLACK)
    x = 1
    for ch, colour in (("B", YELLOW), ("M", LIME), ("P", YELLOW)):
        glyph = LETTERS[ch]
        for dy, row in enumerate(glyph):
            for dx, cell in enumerate(row):
                if cell == "#":
                    c.put(x + dx, 20 + dy, colour)
        x += len(glyph[0]) + 2
    return c


def png_bytes(canvas):
    """Indexed-colour PNG; a fixed zlib level gives the same bytes with the same zlib."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + bytes(row) for row in canvas.px)
    ihdr = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 3, 0, 0, 0)
    plte = b"".join(bytes(rgb) for rgb in PALETTE)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"PLTE", plte)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def contact_sheet(pictures, icon, scale=4, gap=16):
    """The five pairs of eyes in a column beside the icon, magnified."""
    ew, eh = EYE_W * scale, EYE_H * scale
    width = gap + ew + gap + icon.width * scale + gap
    height = gap + len(pictures) * (eh + gap)
    sheet = Canvas(width, height, GREY)
    spots = [(gap, gap + i * (eh + gap), p) for i, p in enumerate(pictures)]
    spots.append((gap + ew + gap, gap, icon))
    for left, top, pic in spots:
        for y in range(pic.height * scale):
            src = pic.px[y // scale]
            dst = sheet.px[top + y]
            for x in range(pic.width * scale):
                dst[left + x] = src[x // scale]
    return sheet


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    pictures = [("normal", draw_normal()), ("left", draw_left()), ("right", draw_right()),
                ("win", draw_win()), ("lose", draw_lose())]
    for name, canvas in pictures:
        write(os.path.join(HERE, "eyes", name + ".bmp"), bmp_bytes(canvas))
    icon = draw_icon()
    write(os.path.join(HERE, "zenpiko.ico"), ico_bytes(icon))
    write(os.path.join(ROOT, "docs", "eyes.png"), png_bytes(contact_sheet([p for _, p in pictures], icon)))


if __name__ == "__main__":
    main()
