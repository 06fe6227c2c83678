#!/usr/bin/env python3
"""Writes the window icon's pixels as a C++ header, screens/icon_pixels.h.

The game builds its window icon from these pixels, compiled in, so that
start-up decodes no image file. The header is kept in the source tree: after
changing tavrix-48.png, run this again and commit both files. The build runs no
program of its own to make the header; a test (--check) fails while the kept
header is not what this script makes from the PNG.

    python3 data/icons/make_pixels.py [--check] [ICON.png HEADER.h]

Without file names it reads data/icons/tavrix-48.png and writes
screens/icon_pixels.h. With --check it writes nothing and exits with status 1
when HEADER.h differs from what it would write.

The pixels are non-premultiplied ARGB32 (0xAARRGGBB), row by row, eight to a
line. Python's standard library only: the PNG is decoded with zlib and struct.
It reads non-interlaced PNGs of 8 bits a sample (grey, grey with alpha, RGB,
RGBA) and palette PNGs of 1, 2, 4 or 8 bits, with their transparency (tRNS);
other PNGs are refused. Gamma and colour chunks are ignored: the samples are
taken as they are.
"""

import os
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
GREY, RGB, PALETTE, GREY_ALPHA, RGBA = 0, 2, 3, 4, 6
CHANNELS = {GREY: 1, RGB: 3, PALETTE: 1, GREY_ALPHA: 2, RGBA: 4}


class PngError(Exception):
    pass


def read_chunks(data):
    """Yields (type, body) for each chunk, checking each chunk's CRC."""
    if not data.startswith(SIGNATURE):
        raise PngError("not a PNG file")
    pos = len(SIGNATURE)
    while pos < len(data):
        if pos + 8 > len(data):
            raise PngError("truncated chunk header")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        end = pos + 8 + length
        if end + 4 > len(data):
            raise PngError("truncated %s chunk" % kind.decode("latin-1"))
        body = data[pos + 8:end]
        (crc,) = struct.unpack(">I", data[end:end + 4])
        if zlib.crc32(kind + body) != crc:
            raise PngError("bad CRC in the %s chunk" % kind.decode("latin-1"))
        yield kind, body
        if kind == b"IEND":
            return
        pos = end + 4
    raise PngError("no IEND chunk")


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, height, stride, bpp):
    """Undoes the PNG row filters; returns the rows' bytes."""
    if len(raw) < height * (stride + 1):
        raise PngError("image data too short")
    rows = []
    prior = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + prior[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + prior[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                up_left = prior[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + paeth(left, prior[i], up_left)) & 0xFF
        elif kind != 0:
            raise PngError("unknown row filter %d" % kind)
        rows.append(row)
        prior = row
    return rows


def decode(data):
    """Returns (width, height, pixels): the pixels as ARGB32 integers, row by row."""
    header = None
    palette = None
    transparency = None
    idat = bytearray()
    for kind, body in read_chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body) - 2, 3)]
        elif kind == b"tRNS":
            transparency = bytes(body)
        elif kind == b"IDAT":
            idat += body
    if header is None:
        raise PngError("no IHDR chunk")
    width, height, depth, colour, compression, filtering, interlace = header
    if colour not in CHANNELS or compression != 0 or filtering != 0:
        raise PngError("unknown colour type or method")
    if interlace != 0:
        raise PngError("interlaced PNGs are not read")
    if depth != 8 and not (colour == PALETTE and depth in (1, 2, 4)):
        raise PngError("%d-bit samples of colour type %d are not read" % (depth, colour))
    if colour == PALETTE and palette is None:
        raise PngError("palette image without a PLTE chunk")

    bits = CHANNELS[colour] * depth
    stride = (width * bits + 7) // 8
    rows = unfilter(zlib.decompress(bytes(idat)), height, stride, max(1, bits // 8))

    if colour == PALETTE:
        alphas = list(transparency or b"") + [0xFF] * (len(palette) - len(transparency or b""))
        table = [(alphas[i] << 24) | (r << 16) | (g << 8) | b for i, (r, g, b) in enumerate(palette)]
    key = None
    if transparency is not None and colour == GREY:
        (key,) = struct.unpack(">H", transparency[:2])
    elif transparency is not None and colour == RGB:
        key = struct.unpack(">HHH", transparency[:6])

    pixels = []
    for row in rows:
        for x in range(width):
            if colour == PALETTE:
                per_byte = 8 // depth
                index = (row[x // per_byte] >> ((per_byte - 1 - x % per_byte) * depth)) & ((1 << depth) - 1)
                if index >= len(table):
                    raise PngError("palette index %d out of range" % index)
                pixels.append(table[index])
                continue
            if colour == GREY:
                v = row[x]
                # A transparent grey is 0x00000000 in Qt's reading of such PNGs.
                r, g, b, a = (0, 0, 0, 0) if v == key else (v, v, v, 0xFF)
            elif colour == GREY_ALPHA:
                v, a = row[2 * x], row[2 * x + 1]
                r, g, b = v, v, v
            elif colour == RGB:
                r, g, b = row[3 * x:3 * x + 3]
                a = 0 if (r, g, b) == key else 0xFF
            else:
                r, g, b, a = row[4 * x:4 * x + 4]
            pixels.append((a << 24) | (r << 16) | (g << 8) | b)
    return width, height, pixels


def header_text(png_name, size, pixels):
    lines = [
        "// The %d x %d window icon as non-premultiplied ARGB32 pixels, row by row." % (size, size),
        "// Written from data/icons/%s by data/icons/make_pixels.py: run it again after" % png_name,
        "// changing the PNG (a test fails while this file and the PNG differ).",
        "#pragma once",
        "",
        "#include <cstdint>",
        "",
        "namespace tavrix::screens {",
        "",
        "inline constexpr int kIconSize = %d;" % size,
        "// clang-format off",
        "inline constexpr std::uint32_t kIconPixels[kIconSize * kIconSize] = {",
    ]
    for start in range(0, len(pixels), 8):
        lines.append("    " + "".join("0x%08xu," % p for p in pixels[start:start + 8]))
    lines += ["};", "// clang-format on", "", "}  // namespace tavrix::screens", ""]
    return "\n".join(lines).encode("ascii")


def main(argv):
    args = argv[1:]
    check = "--check" in args
    args = [a for a in args if a != "--check"]
    here = os.path.dirname(os.path.abspath(__file__))
    if not args:
        header = os.path.normpath(os.path.join(here, "..", "..", "screens", "icon_pixels.h"))
        args = [os.path.join(here, "tavrix-48.png"), header]
    if len(args) != 2 or any(a.startswith("-") for a in args):
        sys.stderr.write("usage: make_pixels.py [--check] [ICON.png HEADER.h]\n")
        return 2
    png_path, header_path = args

    try:
        with open(png_path, "rb") as f:
            width, height, pixels = decode(f.read())
    except (OSError, PngError, zlib.error) as e:
        sys.stderr.write("make_pixels.py: cannot read the image %s: %s\n" % (png_path, e))
        return 1
    if width != height:
        sys.stderr.write("make_pixels.py: %s is %d x %d, not square\n" % (png_path, width, height))
        return 1
    text = header_text(os.path.basename(png_path), width, pixels)

    if check:
        try:
            with open(header_path, "rb") as f:
                kept = f.read()
        except OSError as e:
            sys.stderr.write("make_pixels.py: cannot read %s: %s\n" % (header_path, e))
            return 1
        if kept != text:
            sys.stderr.write("make_pixels.py: %s is not what %s gives; run: python3 data/icons/make_pixels.py\n"
                             % (header_path, png_path))
            return 1
        print("%s matches %s" % (header_path, png_path))
        return 0

    with open(header_path, "wb") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
