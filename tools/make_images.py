#!/usr/bin/env python3
"""Draws the item's pictures: resources/vantrel.ico (resource 112) and the
two image strips vantrelcb.png (check states) and vantrelpo.png (task
importance at cells 1-3, busy status at cells 4-7). Square cells as tall as
the image; the top-left pixel (magenta) is the transparent colour.
Run it from the repository root after changing a picture."""
import struct
import zlib

MAGENTA = (255, 0, 255)
CELL = 16


def png(path, width, height, pixels):
    raw = b"".join(b"\x00" + bytes(c for px in pixels[y * width:(y + 1) * width] for c in px)
                   for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def strip(cells):
    width = CELL * len(cells)
    pixels = [MAGENTA] * (width * CELL)
    for i, draw in enumerate(cells):
        for y in range(CELL):
            for x in range(CELL):
                c = draw(x, y)
                if c is not None:
                    pixels[y * width + i * CELL + x] = c
    return width, pixels


def box(inner=None):
    def draw(x, y):
        if x in (2, 13) and 2 <= y <= 13 or y in (2, 13) and 2 <= x <= 13:
            return (230, 230, 230)
        if 3 <= x <= 12 and 3 <= y <= 12:
            return inner(x, y) if inner else (40, 40, 40)
        return None
    return draw


def tick(x, y):
    on = (y == x + 2 and 5 <= x <= 7) or (y == 17 - x and 7 <= x <= 11) or \
         (y == x + 3 and 5 <= x <= 7) or (y == 18 - x and 7 <= x <= 11)
    return (120, 255, 120) if on else (40, 40, 40)


def cross(x, y):
    on = abs(x - y) <= 0 or abs(x + y - 15) <= 0
    return (255, 200, 80) if on and 4 <= x <= 11 else (40, 40, 40)


def mark(colour, bars):
    def draw(x, y):
        if 7 - bars <= x <= 8 + bars and 2 <= y <= 10 and (x - 7 + bars) % 3 != 2:
            return colour
        if 7 <= x <= 8 and 12 <= y <= 13:
            return colour
        return None
    return draw


def bar(colour, striped=False):
    def draw(x, y):
        if 5 <= x <= 10 and 1 <= y <= 14:
            if x in (5, 10) or y in (1, 14):
                return (230, 230, 230)
            if striped and (x + y) % 3:
                return (230, 230, 230)
            return colour
        return None
    return draw


def icon(path):
    """A calendar page with a red band: 16 and 32 pixels, 32-bit BMP images."""
    images = []
    for size in (16, 32):
        rows = []
        for y in range(size):
            row = []
            for x in range(size):
                edge = x in (1, size - 2) or y in (2, size - 2)
                inside = 1 <= x <= size - 2 and 2 <= y <= size - 2
                if not inside:
                    row.append((0, 0, 0, 0))
                elif y < 2 + size // 4:
                    row.append((40, 40, 220, 255))  # BGRA: red band
                elif edge:
                    row.append((80, 80, 80, 255))
                elif (x // (size // 8)) % 2 == (y // (size // 8)) % 2 and y > size // 2:
                    row.append((200, 160, 60, 255))
                else:
                    row.append((250, 250, 250, 255))
            rows.append(row)
        xor = b"".join(bytes(c for px in row for c in px) for row in reversed(rows))
        mask_row = ((size + 31) // 32) * 4
        and_mask = b"\x00" * (mask_row * size)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask),
                             0, 0, 0, 0)
        images.append((size, header + xor + and_mask))
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for size, body in images:
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(path, "wb") as f:
        f.write(data + b"".join(body for _, body in images))


if __name__ == "__main__":
    w, px = strip([lambda x, y: None, box(), box(tick), box(cross)])
    png("resources/vantrelcb.png", w, CELL, px)
    w, px = strip([lambda x, y: None,
                   mark((150, 150, 255), 0), mark((230, 230, 230), 0), mark((255, 80, 80), 1),
                   bar((255, 255, 255)), bar((80, 140, 255), True), bar((80, 140, 255)),
                   bar((170, 80, 200))])
    png("resources/vantrelpo.png", w, CELL, px)
    icon("resources/vantrel.ico")
