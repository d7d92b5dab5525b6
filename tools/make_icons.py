#!/usr/bin/env python3
"""Writes the program's two icons as .ico files (16, 32 and 48 pixels, 32-bit colour).

DELICON: a closed archive box with a red cross (the program as the shell shows it).
QYXICON: the archive box with a blue band (the dialogs' icon).
Usage: make_icons.py OUTDIR
"""
import os
import struct
import sys


def box(size, accent, cross):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    m = max(1, size // 8)
    top, bottom, left, right = m + size // 8, size - m, m, size - m
    for y in range(top, bottom):
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            px[y][x] = (40, 60, 90, 255) if edge else (205, 160, 95, 255)
    # The lid and the band across the box.
    for y in range(top - size // 8, top + 1):
        for x in range(left - 1 if left > 0 else 0, min(size, right + 1)):
            px[y][x] = (40, 60, 90, 255) if y == top - size // 8 or y == top else (170, 120, 60, 255)
    band = (top + bottom) // 2
    for y in range(band - max(1, size // 16), band + max(1, size // 16) + 1):
        for x in range(left + 1, right - 1):
            px[y][x] = accent
    if cross:
        w = max(1, size // 12)
        for i in range(size // 2, size - 1):
            for d in range(-w, w + 1):
                for (x, y) in ((i + d, i), (size - 1 - i + size // 2 + d, i)):
                    if 0 <= x < size and 0 <= y < size:
                        px[y][x] = (210, 30, 30, 255)
    return px


def dib(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in px[y] for c in (p[2], p[1], p[0], p[3]))
                    for y in range(size - 1, -1, -1))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for y in range(size - 1, -1, -1):
        bits = 0
        row = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + rows + mask


def write_ico(path, images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for px in images:
        data = dib(px)
        size = len(px)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs.append(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def main():
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    write_ico(os.path.join(outdir, 'delicon.ico'), [box(s, (60, 90, 200, 255), True) for s in (16, 32, 48)])
    write_ico(os.path.join(outdir, 'qyxicon.ico'), [box(s, (60, 90, 200, 255), False) for s in (16, 32, 48)])


if __name__ == '__main__':
    main()
