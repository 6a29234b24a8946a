#!/usr/bin/env python3
"""Writes installer/InstallerIcon.cpp, the pixel table of icon 131, from Icon131.png beside this script.

The PNG is the icon's source art: 8-bit RGBA, not interlaced. Run this again after editing it.
"""
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent


def read_rgba(path):
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    offset, idat = 8, b""
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 6, 0), "only 8-bit RGBA without interlacing"
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytes(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up, corner = previous[i], previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def main():
    width, height, rows = read_rgba(HERE / "Icon131.png")
    pixels = []
    for row in rows:
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels.append(f"0x{a:02X}{r:02X}{g:02X}{b:02X}u")
    lines = [", ".join(pixels[i:i + 8]) + "," for i in range(0, len(pixels), 8)]
    body = "\n".join("    " + line for line in lines)
    (HERE.parent / "InstallerIcon.cpp").write_text(f"""// InstallerIcon: icon 131, written by resources/MakeIconTable.py from resources/Icon131.png.

#include "installer/InstallerIcon.h"

namespace {{

const DWORD ICON_PIXELS[] = {{
{body}
}};

}} // namespace

const n_Platform::s_IconTemplate INSTALLER_ICON = {{IDR_MAINFRAME, {width}, {height}, ICON_PIXELS}};
""")


if __name__ == "__main__":
    main()
