"""Counts the pixels of one colour in an X window dump (xwd, 24/32 bits, TrueColor).

Usage: xwdcount.py FILE R G B       -> prints the count
       xwdcount.py FILE R G B box   -> prints the count and the pixels' bounding
                                       box "COUNT X0 Y0 X1 Y1" (all -1 when none)
"""
import struct
import sys


def main():
    path, r, g, b = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    box = len(sys.argv) > 5 and sys.argv[5] == "box"
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if bits_per_pixel != 32:
        print("-1 -1 -1 -1 -1" if box else -1)
        return
    start = header_size + ncolors * 12
    fmt = "<I" if byte_order == 0 else ">I"

    def shift(mask):
        s = 0
        while mask and not mask & 1:
            mask >>= 1
            s += 1
        return s

    rs, gs, bs = shift(red_mask), shift(green_mask), shift(blue_mask)
    want = (r << rs) | (g << gs) | (b << bs)
    mask = red_mask | green_mask | blue_mask
    count = 0
    x0 = y0 = x1 = y1 = -1
    for y in range(height):
        row = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        for x, (v,) in enumerate(struct.iter_unpack(fmt, row)):
            if v & mask == want:
                count += 1
                if box:
                    x0 = x if x0 < 0 else min(x0, x)
                    x1 = max(x1, x)
                    y0 = y if y0 < 0 else y0
                    y1 = y
    print(f"{count} {x0} {y0} {x1} {y1}" if box else count)


main()
