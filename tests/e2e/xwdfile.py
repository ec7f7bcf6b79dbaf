"""Reads an X window dump (xwd, 24 or 32 bits a pixel, TrueColor): the
scenarios' screenshots, read without an image tool installed."""
import struct


def _shift(mask):
    s = 0
    while mask and not mask & 1:
        mask >>= 1
        s += 1
    return s


def read(path):
    """Returns (width, height, rows): each row a bytes object of R, G, B triples."""
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if bits_per_pixel not in (24, 32):
        raise ValueError(f"{path}: {bits_per_pixel} bits a pixel not handled")
    step = bits_per_pixel // 8
    order = "big" if byte_order else "little"
    rs, gs, bs = _shift(red_mask), _shift(green_mask), _shift(blue_mask)
    start = header_size + ncolors * 12
    # The usual layout (blue in the first byte of each pixel) is sliced; any
    # other is read pixel by pixel.
    sliced = order == "little" and (rs, gs, bs) == (16, 8, 0)
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = bytearray(3 * width)
        if sliced:
            row[0::3], row[1::3], row[2::3] = line[2::step], line[1::step], line[0::step]
        else:
            for i, x in enumerate(range(0, width * step, step)):
                v = int.from_bytes(line[x:x + step], order)
                row[3 * i:3 * i + 3] = bytes(((v >> rs) & 255, (v >> gs) & 255, (v >> bs) & 255))
        rows.append(bytes(row))
    return width, height, rows
