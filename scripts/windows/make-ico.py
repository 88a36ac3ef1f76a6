#!/usr/bin/env python3
"""Packs square PNG pictures into one Windows icon file (PNG entries, read since Windows Vista).

    make-ico.py OUT.ico 16.png 32.png 48.png 256.png
"""
import struct
import sys


def png_size(data: bytes) -> int:
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG picture")
    width, height = struct.unpack(">II", data[16:24])
    if width != height or not 1 <= width <= 256:
        raise ValueError(f"{width}x{height}: an icon picture is square, 256 pixels at most")
    return width


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    pictures = []
    for name in sys.argv[2:]:
        with open(name, "rb") as f:
            data = f.read()
        try:
            pictures.append((png_size(data), data))
        except ValueError as e:
            print(f"{name}: {e}", file=sys.stderr)
            return 1
    pictures.sort(key=lambda p: p[0])
    header = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries = b""
    for size, data in pictures:
        # A size of 256 is written as 0; planes 1, 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(header + entries + b"".join(data for _, data in pictures))
    return 0


if __name__ == "__main__":
    sys.exit(main())
