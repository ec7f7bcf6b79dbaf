"""Counts the pixels of one colour in an X window dump (xwd, 24/32 bits, TrueColor).

Usage: xwdcount.py FILE R G B       -> prints the count
       xwdcount.py FILE R G B box   -> prints the count and the pixels' bounding
                                       box "COUNT X0 Y0 X1 Y1" (all -1 when none)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xwdfile  # noqa: E402


def main():
    path, want = sys.argv[1], bytes(int(v) for v in sys.argv[2:5])
    box = len(sys.argv) > 5 and sys.argv[5] == "box"
    try:
        width, height, rows = xwdfile.read(path)
    except ValueError:
        print("-1 -1 -1 -1 -1" if box else -1)
        return
    count = 0
    x0 = y0 = x1 = y1 = -1
    for y, row in enumerate(rows):
        for x in range(width):
            if row[3 * x:3 * x + 3] == want:
                count += 1
                if box:
                    x0 = x if x0 < 0 else min(x0, x)
                    x1 = max(x1, x)
                    y0 = y if y0 < 0 else y0
                    y1 = y
    print(f"{count} {x0} {y0} {x1} {y1}" if box else count)


main()
