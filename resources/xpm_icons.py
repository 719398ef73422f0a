#!/usr/bin/env python3
"""Build-time tool: turns icon artwork in XPM (the files the windows compile in, and those drawn
for each size a desktop shows) into the icon files of the packages.

    xpm_icons.py ico <out.ico> <bits> <artwork.xpm>...
        one .ico file holding every image given, in that order, for the Windows program. Opaque
        artwork keeps a palette of 2**bits colours: 8 bits for the program icon's 256 colours, 4
        for the About window's 16. Artwork with transparent pixels ("None") is stored with an
        alpha channel, as Windows shows icons on any ground; a 256-pixel image as PNG, the form
        Windows keeps its large icons in.
    xpm_icons.py png <out-dir> <icon-name> <drawn.xpm>...
        the desktop theme's icons of the Linux package, out-dir/hicolor/NxN/apps/<icon-name>.png,
        each square artwork as drawn for N x N pixels.
"""
import os
import re
import struct
import sys
import zlib


def read_xpm(path):
    with open(path, encoding="ascii") as artwork:
        text = re.sub(r"/\*.*?\*/", "", artwork.read(), flags=re.S)
    strings = re.findall(r'"([^"]*)"', text)
    width, height, count, chars = (int(v) for v in strings[0].split()[:4])
    colours = {}
    for line in strings[1:1 + count]:
        words = line[chars:].split()
        value = words[words.index("c") + 1]
        colours[line[:chars]] = (int(value[1:], 16) if value.startswith("#")
                                 else None if value.lower() == "none" else 0)
    rows = [[row[i:i + chars] for i in range(0, width * chars, chars)]
            for row in strings[1 + count:1 + count + height]]
    if len(rows) != height or any(len(row) != width for row in rows):
        sys.exit(f"xpm_icons: {path} is not {width} x {height}")
    return width, height, colours, rows


def pack(values, bits, stride):
    number = 0
    for value in values:
        number = number << bits | value
    return (number << (stride * 8 - len(values) * bits)).to_bytes(stride, "big")


def mask(width, height, clear):
    """The AND mask, bottom row first: a set bit lets the ground show through."""
    stride = (width + 31) // 32 * 4
    return b"".join(pack([int(clear(x, y)) for x in range(width)], 1, stride)
                    for y in reversed(range(height)))


def header(width, height, bits, size, colours):
    # The height counts the pixels and the mask below them.
    return struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, size, 0, 0, colours, 0)


def indexed(width, height, colours, rows, bits):
    keys = list(colours)
    if len(keys) > 2**bits:
        sys.exit(f"xpm_icons: {len(keys)} colours do not fit in {bits} bits")
    palette = b"".join(struct.pack("<BBBx", c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF)
                       for c in colours.values()).ljust(4 << bits, b"\0")
    stride = (width * bits + 31) // 32 * 4
    pixels = b"".join(pack([keys.index(k) for k in row], bits, stride) for row in reversed(rows))
    clear = mask(width, height, lambda x, y: False)
    head = header(width, height, bits, len(pixels) + len(clear), 1 << bits)
    return head + palette + pixels + clear


def argb(width, height, colours, rows):
    def bgra(key):
        c = colours[key]
        return b"\0\0\0\0" if c is None else struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF,
                                                         c >> 16 & 0xFF, 0xFF)
    pixels = b"".join(bgra(k) for row in reversed(rows) for k in row)
    clear = mask(width, height, lambda x, y: colours[rows[y][x]] is None)
    return header(width, height, 32, len(pixels) + len(clear), 0) + pixels + clear


def png(width, height, colours, rows):
    def rgba(key):
        c = colours[key]
        return b"\0\0\0\0" if c is None else struct.pack(">I", c << 8 | 0xFF)
    raw = b"".join(b"\0" + b"".join(rgba(k) for k in row) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def image(width, height, colours, rows, bits):
    """The image's bytes and its bits per pixel."""
    if None not in colours.values():
        return indexed(width, height, colours, rows, bits), bits
    if width >= 256:
        return png(width, height, colours, rows), 32
    return argb(width, height, colours, rows), 32


def ico(artworks, bits):
    entries, images = b"", b""
    offset = 6 + 16 * len(artworks)
    for width, height, colours, rows in artworks:
        data, depth = image(width, height, colours, rows, bits)
        count = (1 << depth) % 256 if depth < 8 else 0
        # A width or height of 256 is written 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, count, 0, 1, depth,
                               len(data), offset + len(images))
        images += data
    return struct.pack("<HHH", 0, 1, len(artworks)) + entries + images


def theme(out_dir, name, paths):
    for path in paths:
        width, height, colours, rows = read_xpm(path)
        if width != height:
            sys.exit(f"xpm_icons: {path} is not square")
        folder = f"{out_dir}/hicolor/{width}x{width}/apps"
        os.makedirs(folder, exist_ok=True)
        with open(f"{folder}/{name}.png", "wb") as out:
            out.write(png(width, height, colours, rows))


if __name__ == "__main__":
    if len(sys.argv) < 5 or sys.argv[1] not in ("ico", "png"):
        sys.exit("usage: xpm_icons.py ico <out.ico> <bits> <artwork.xpm>...\n"
                 "       xpm_icons.py png <out-dir> <icon-name> <drawn.xpm>...")
    if sys.argv[1] == "png":
        theme(sys.argv[2], sys.argv[3], sys.argv[4:])
    else:
        with open(sys.argv[2], "wb") as out:
            out.write(ico([read_xpm(path) for path in sys.argv[4:]], int(sys.argv[3])))
