"""Writes an X window dump (xwd) as a PNG picture, with other dumps laid
over it at given places.

Usage: xwd2png.py IN.xwd OUT.png [LAYER.xwd X Y]...

Under Xvfb a dump of the root window shows a window's frame but may leave
its client area black; a dump of the client window laid over it at the
client's place gives the screen as the operator sees it.
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xwdfile  # noqa: E402


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def main():
    width, height, rows = xwdfile.read(sys.argv[1])
    layers = sys.argv[3:]
    for i in range(0, len(layers) - 2, 3):
        lw, lh, lrows = xwdfile.read(layers[i])
        x, y = int(layers[i + 1]), int(layers[i + 2])
        for j in range(lh):
            if 0 <= y + j < height:
                x0, x1 = max(0, x), min(width, x + lw)
                if x0 < x1:
                    row = rows[y + j]
                    rows[y + j] = row[:3 * x0] + lrows[j][3 * (x0 - x):3 * (x1 - x)] + row[3 * x1:]
    raw = b"".join(b"\0" + row for row in rows)  # filter 0 on every row
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b"")
    open(sys.argv[2], "wb").write(png)


main()
