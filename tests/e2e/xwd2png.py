"""Writes an X window dump (xwd) as a PNG picture.

Usage: xwd2png.py IN.xwd OUT.png
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
    raw = b"".join(b"\0" + row for row in rows)  # filter 0 on every row
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b"")
    open(sys.argv[2], "wb").write(png)


main()
