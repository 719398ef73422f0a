#!/usr/bin/env python3
"""Build-time tool of the Windows program: turns an icon's XPM artwork (the same file the Qt
windows compile in) into a .ico file holding that one image, opaque, with a palette of 2**bits
colours: 8 bits for the program icon's 256 colours, 4 for the About window's 16.

    xpm_to_ico.py <artwork.xpm> <bits> <out.ico>
"""
import re
import struct
import sys


def read_xpm(path):
    with open(path, encoding="ascii") as artwork:
        text = re.sub(r"/\*.*?\*/", "", artwork.read(), flags=re.S)
    strings = re.findall(r'"([^"]*)"', text)
    width, height, count, chars = (int(v) for v in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + count]:
        words = line[chars:].split()
        value = words[words.index("c") + 1]
        colours[line[:chars]] = int(value[1:], 16) if value.startswith("#") else 0
    rows = [[row[i:i + chars] for i in range(0, width * chars, chars)]
            for row in strings[1 + count:1 + count + height]]
    return width, height, colours, rows


def pack(values, bits, stride):
    number = 0
    for value in values:
        number = number << bits | value
    return (number << (stride * 8 - len(values) * bits)).to_bytes(stride, "big")


def ico(width, height, colours, rows, bits):
    keys = list(colours)
    if len(keys) > 2**bits:
        sys.exit(f"xpm_to_ico: {len(keys)} colours do not fit in {bits} bits")
    palette = b"".join(struct.pack("<BBBx", c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF)
                       for c in colours.values()).ljust(4 << bits, b"\0")
    # Bottom-up rows of palette indices, then an all-clear AND mask: every pixel is opaque.
    pixels = b"".join(pack([keys.index(k) for k in row], bits, (width * bits + 31) // 32 * 4)
                      for row in reversed(rows))
    mask = bytes((width + 31) // 32 * 4 * height)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, 1 << bits, 0)
    image = header + palette + pixels + mask
    entry = struct.pack("<BBBBHHII", width, height, (1 << bits) % 256, 0, 1, bits, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: xpm_to_ico.py <artwork.xpm> <bits> <out.ico>")
    with open(sys.argv[3], "wb") as out:
        out.write(ico(*read_xpm(sys.argv[1]), int(sys.argv[2])))
