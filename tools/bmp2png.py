#!/usr/bin/env python3
# A 24-bit BMP file as a PNG file, with nothing but the standard library.
#     bmp2png.py IN.bmp OUT.png
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
assert data[:2] == b"BM" and bits == 24, "not a 24-bit BMP file"
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    start = offset + (y if height < 0 else abs(height) - 1 - y) * stride
    bgr = data[start:start + width * 3]
    rgb = bytearray(bgr)
    rgb[0::3], rgb[2::3] = bgr[2::3], bgr[0::3]
    rows.append(b"\0" + bytes(rgb))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(sys.argv[2], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
