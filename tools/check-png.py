#!/usr/bin/env python3
"""Checks that a file is a whole, readable PNG image (standard library only).

Usage: tools/check-png.py FILE.png

The signature, every chunk's length and CRC, the IHDR header first, at least one
IDAT, IEND last with nothing after it, and the image data inflating to exactly
the bytes the header promises (one filter byte per row). Prints the size and
exits 0, or names the first fault and exits 1.
"""

import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # colour type -> samples per pixel
# Adam7: (first column, first row, column step, row step) of each pass.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def row_bytes(width, depth, channels):
    return (width * depth * channels + 7) // 8


def expected_data_size(width, height, depth, channels, interlace):
    if not interlace:
        return height * (1 + row_bytes(width, depth, channels))
    total = 0
    for x0, y0, dx, dy in ADAM7:
        w, h = (width - x0 + dx - 1) // dx, (height - y0 + dy - 1) // dy
        if w and h:
            total += h * (1 + row_bytes(w, depth, channels))
    return total


def check(data):
    if not data.startswith(SIGNATURE):
        return "no PNG signature"
    pos, chunks, header, idat = len(SIGNATURE), [], None, b""
    while pos < len(data):
        if pos + 12 > len(data):
            return "truncated chunk at byte %d" % pos
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        end = pos + 12 + length
        if end > len(data):
            return "chunk %r runs past the end of the file" % kind
        body = data[pos + 8:pos + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[end - 4:end])[0]:
            return "bad CRC in chunk %r" % kind
        chunks.append(kind)
        if kind == b"IHDR":
            if len(chunks) != 1 or length != 13:
                return "IHDR is not the first chunk or not 13 bytes"
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos = end
        if kind == b"IEND":
            break
    if header is None:
        return "no IHDR"
    if chunks[-1] != b"IEND" or pos != len(data):
        return "no IEND at the end of the file"
    width, height, depth, colour, compression, filtering, interlace = header
    if width == 0 or height == 0 or colour not in CHANNELS or compression or filtering or interlace > 1:
        return "invalid IHDR %r" % (header,)
    if not idat:
        return "no image data"
    try:
        pixels = zlib.decompress(idat)
    except zlib.error as e:
        return "image data does not inflate: %s" % e
    want = expected_data_size(width, height, depth, CHANNELS[colour], interlace)
    if len(pixels) != want:
        return "image data holds %d bytes, the header promises %d" % (len(pixels), want)
    return "%dx%d, colour type %d, %d bits" % (width, height, colour, depth)


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        with open(sys.argv[1], "rb") as f:
            data = f.read()
    except OSError as e:
        print("check-png: %s" % e, file=sys.stderr)
        return 1
    verdict = check(data)
    ok = verdict[0].isdigit()
    print("%s: %s%s" % (sys.argv[1], "" if ok else "not a valid PNG: ", verdict))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
