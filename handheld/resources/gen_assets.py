#!/usr/bin/env python3
"""Generates Kestrum's binary resources: the icons, the four strip bitmaps
and the completion chime. Everything is computed from integers and fixed
formulas, so running the script again writes identical bytes.

    python3 gen_assets.py [output-folder]     (default: the folder of this script)
"""
import math
import os
import struct
import sys

# The 16-colour palette of the icons (the classic VGA order), as (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREEN, NAVY, SILVER, GREY, GREEN, BLUE, WHITE = 0, 2, 4, 7, 8, 10, 12, 15
TRANSPARENT = None


def icon_image(size, pixels):
    """One icon image: BITMAPINFOHEADER (height doubled), palette, 4-bit
    colour rows and the 1-bit transparency mask, both bottom-up."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(size):
            c = pixels[y][x]
            if c is TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << 4 if x % 2 == 0 else c
        xor += row
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def icon_file(images):
    """An .ico file holding the given (size, pixels) images."""
    blobs = [icon_image(size, pixels) for size, pixels in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (size, _), blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def canvas(size):
    return [[TRANSPARENT] * size for _ in range(size)]


def disk(px, cx, cy, r, colour):
    n = len(px)
    for y in range(n):
        for x in range(n):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                px[y][x] = colour


def ring(px, cx, cy, r_out, r_in, colour):
    n = len(px)
    for y in range(n):
        for x in range(n):
            d = (x - cx) ** 2 + (y - cy) ** 2
            if r_in * r_in < d <= r_out * r_out:
                px[y][x] = colour


def thick_line(px, x0, y0, x1, y1, width, colour):
    steps = int(4 * max(abs(x1 - x0), abs(y1 - y0), 1))
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        y = y0 + (y1 - y0) * i / steps
        for dy in range(width):
            for dx in range(width):
                xi, yi = int(round(x)) + dx, int(round(y)) + dy
                if 0 <= xi < len(px) and 0 <= yi < len(px):
                    px[yi][xi] = colour


def app_icon(size):
    """Icon 101: a blue disk with a white sweep, the program's mark."""
    px = canvas(size)
    s = size / 16
    disk(px, 7.5 * s, 7.5 * s, 7.4 * s, NAVY)
    disk(px, 7.5 * s, 7.5 * s, 6.2 * s, BLUE)
    width = max(1, size // 10)
    thick_line(px, 4 * s, 11 * s, 11 * s, 4 * s, width, WHITE)
    thick_line(px, 4 * s, 11 * s, 9 * s, 11 * s, width, WHITE)
    return px


def done_icon():
    """Icon 114: a green tick on a white disk."""
    px = canvas(16)
    disk(px, 7.5, 7.5, 7.4, DARK_GREEN)
    disk(px, 7.5, 7.5, 6.3, WHITE)
    thick_line(px, 3.5, 7.5, 6.5, 10.5, 2, GREEN)
    thick_line(px, 6.5, 10.5, 11, 4, 2, GREEN)
    return px


def pending_icon():
    """Icon 115: an open grey ring with a dot, a task still to do."""
    px = canvas(16)
    ring(px, 7.5, 7.5, 7.4, 5.6, GREY)
    disk(px, 7.5, 7.5, 2.2, SILVER)
    return px


def strip_bitmap(left, right, width=240, height=4):
    """A 24-bit bottom-up .bmp whose every row runs from left to right (R, G, B):
    the end columns hold exactly the end colours."""
    row = bytearray()
    for x in range(width):
        r, g, b = (a + ((z - a) * x * 2 + (width - 1)) // (2 * (width - 1)) if z >= a
                   else a - ((a - z) * x * 2 + (width - 1)) // (2 * (width - 1))
                   for a, z in zip(left, right))
        row += bytes((b, g, r))
    row += bytes((-len(row)) % 4)
    pixels = bytes(row) * height
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


RATE = 22050
CHIME_SAMPLES = 11227


def chime():
    """WAVE 107: PCM, mono, 22,050 Hz, 8-bit, 11,227 samples (about half a
    second): two bell-like notes, E6 then B6, each with a soft attack and an
    exponential decay, plus a quiet octave partial."""
    notes = [(0, 1318.51), (2600, 1975.53)]
    samples = bytearray()
    for n in range(CHIME_SAMPLES):
        value = 0.0
        for start, freq in notes:
            if n < start:
                continue
            t = (n - start) / RATE
            envelope = min(1.0, t / 0.004) * math.exp(-t * 7.0)
            value += envelope * (math.sin(2 * math.pi * freq * t) + 0.25 * math.sin(4 * math.pi * freq * t))
        # Fade the last 20 ms so the sound ends on silence.
        tail = (CHIME_SAMPLES - n) / (0.02 * RATE)
        value *= min(1.0, tail) * 0.45
        samples.append(max(0, min(255, 128 + int(round(value * 127)))))
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE, 1, 8)
    data = bytes(samples) + (b'\0' if len(samples) % 2 else b'')
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(samples)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


WHITE_RGB = (255, 255, 255)
PALE_AQUA = (204, 240, 238)
PALE_BLUE = (214, 227, 246)

ASSETS = {
    'kestrum.ico': lambda: icon_file([(16, app_icon(16)), (32, app_icon(32))]),
    'done.ico': lambda: icon_file([(16, done_icon())]),
    'pending.ico': lambda: icon_file([(16, pending_icon())]),
    'strip112.bmp': lambda: strip_bitmap(WHITE_RGB, PALE_AQUA),
    'strip113.bmp': lambda: strip_bitmap(WHITE_RGB, PALE_BLUE),
    'strip116.bmp': lambda: strip_bitmap(PALE_BLUE, WHITE_RGB),
    'strip117.bmp': lambda: strip_bitmap(PALE_AQUA, WHITE_RGB),
    'chime.wav': chime,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    for name, make in ASSETS.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(make())


if __name__ == '__main__':
    main()
