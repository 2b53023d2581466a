#!/usr/bin/env python3
"""Turns a 24/32-bit xwd window dump into a PNG and says whether it shows a picture.

Usage: xwd_to_png.py IN.xwd OUT.png  -- exits 1 when the dump is unreadable or of one colour."""
import struct
import sys
import zlib


def main():
    data = open(sys.argv[1], "rb").read()
    header_size, version, _fmt, depth, width, height = struct.unpack(">6I", data[:24])
    if version != 7:
        print("not an xwd dump")
        return 1
    bits_per_pixel, bytes_per_line = struct.unpack(">2I", data[44:52])
    byte_order = struct.unpack(">I", data[28:32])[0]
    ncolors = struct.unpack(">I", data[76:80])[0]
    offset = header_size + ncolors * 12
    if bits_per_pixel != 32:
        print("unexpected pixel size", bits_per_pixel)
        return 1
    rows = []
    colours = set()
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + width * 4]
        row = bytearray()
        for x in range(width):
            p = line[x * 4: x * 4 + 4]
            b, g, r = (p[0], p[1], p[2]) if byte_order == 0 else (p[3], p[2], p[1])
            row += bytes((r, g, b))
            if len(colours) < 64:
                colours.add((r, g, b))
        rows.append(b"\x00" + bytes(row))
    png = b"\x89PNG\r\n\x1a\n"

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png += chunk(b"IHDR", struct.pack(">2I5B", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6))
    png += chunk(b"IEND", b"")
    open(sys.argv[2], "wb").write(png)
    print(f"{width}x{height}, {len(colours)}+ colours")
    return 0 if len(colours) > 8 else 1


if __name__ == "__main__":
    sys.exit(main())
