#!/usr/bin/python3
"""Checks that the pictures under assets/ are the plain 16-colour BMPs the build expects.

Every picture must be a Windows bitmap with a 40-byte info header, 4 bits per pixel,
no compression, exactly 16 palette entries, pixel data at byte 118, rows bottom-up
and padded to 4 bytes, a positive height and the size the game lays out. Beyond the
headers it checks what a paint-program edit could quietly break: the computer's
hands must mirror the player's, and the game's pictures must keep an exact black
background, black being the transparent colour where pictures are drawn keyed.

Prints OK and exits 0 when every file passes; otherwise lists the faults and exits 1.
"""

import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FILE_HEADER = 14
INFO_HEADER = 40
PALETTE_SIZE = 16
DATA_OFFSET = FILE_HEADER + INFO_HEADER + 4 * PALETTE_SIZE

EXPECTED = {}
for index in range(7):
    EXPECTED["game/result%d.bmp" % index] = (133, 100)
for index in range(6):
    EXPECTED["game/hand%d.bmp" % index] = (70, 100)
for name in ("bar_top", "bar_bottom"):
    EXPECTED["game/%s.bmp" % name] = (519, 16)
for name in ("bar_left", "bar_right"):
    EXPECTED["game/%s.bmp" % name] = (19, 203)
EXPECTED["game/logo.bmp"] = (163, 50)
for kind in ("check_checked", "check_unchecked", "option_selected", "option_unselected"):
    for suffix in ("", "_disabled"):
        EXPECTED["controls/%s%s.bmp" % (kind, suffix)] = (20, 20)

# Pictures drawn on the black board, whose corners are background.
BLACK_CORNERS = [name for name in EXPECTED
                 if re.match(r"game/(result\d|hand\d|logo)\.bmp$", name)]

# File names become C identifiers.
NAME_PATTERN = re.compile(r"[a-z0-9_]+\.bmp$")


class Bitmap:
    """A parsed 4-bit bitmap: size, palette and rows of indices, top-down."""

    def __init__(self, width, height, palette, rows):
        self.width = width
        self.height = height
        self.palette = palette
        self.rows = rows

    def colour(self, x, y):
        return self.palette[self.rows[y][x]]


def parse(path, expected_size, faults):
    """Answers a Bitmap, or None after adding to faults when the file is unfit."""
    def fault(message):
        faults.append("%s: %s" % (os.path.relpath(path, ROOT), message))

    with open(path, "rb") as handle:
        data = handle.read()
    if len(data) < DATA_OFFSET:
        fault("only %d bytes, shorter than the headers and palette" % len(data))
        return None

    signature, file_size, reserved1, reserved2, offset = struct.unpack_from("<2sIHHI", data, 0)
    (info_size, width, height, planes, bit_count, compression, image_size,
     x_ppm, y_ppm, colours_used, colours_important) = \
        struct.unpack_from("<IiiHHIIiiII", data, FILE_HEADER)

    checks = [
        (signature == b"BM", "signature %r is not BM" % signature),
        (file_size == len(data), "header says %d bytes, file has %d" % (file_size, len(data))),
        (reserved1 == 0 and reserved2 == 0, "reserved header fields are not zero"),
        (offset == DATA_OFFSET, "pixel data at %d, expected %d" % (offset, DATA_OFFSET)),
        (info_size == INFO_HEADER, "info header of %d bytes, expected 40" % info_size),
        (planes == 1, "%d planes, expected 1" % planes),
        (bit_count == 4, "%d bits per pixel, expected 4" % bit_count),
        (compression == 0, "compression %d, expected 0 (BI_RGB)" % compression),
        (colours_used == PALETTE_SIZE, "%d palette entries used, expected 16" % colours_used),
        (colours_important <= PALETTE_SIZE, "%d important colours" % colours_important),
        (height > 0, "height %d is not positive (rows must be bottom-up)" % height),
        ((width, height) == expected_size,
         "size %d x %d, expected %d x %d" % ((width, height) + expected_size)),
    ]
    for passed, message in checks:
        if not passed:
            fault(message)
    if width <= 0 or height <= 0 or bit_count != 4 or offset != DATA_OFFSET:
        return None

    stride = ((width + 1) // 2 + 3) // 4 * 4
    if image_size not in (0, stride * height):
        fault("image size field %d, expected %d" % (image_size, stride * height))
    if len(data) != DATA_OFFSET + stride * height:
        fault("%d bytes, expected %d for %d rows of %d bytes"
              % (len(data), DATA_OFFSET + stride * height, height, stride))
        return None

    palette = []
    for entry in range(PALETTE_SIZE):
        blue, green, red, unused = data[FILE_HEADER + INFO_HEADER + 4 * entry:][:4]
        if unused != 0:
            fault("palette entry %d has a non-zero fourth byte" % entry)
        palette.append((red, green, blue))

    rows = []
    for stored in range(height):
        start = DATA_OFFSET + stored * stride
        row = []
        for x in range(width):
            byte = data[start + x // 2]
            row.append(byte >> 4 if x % 2 == 0 else byte & 0x0f)
        rows.append(row)
    rows.reverse()
    return Bitmap(width, height, palette, rows)


def check_content(bitmaps, faults):
    for index in range(3):
        player = bitmaps.get("game/hand%d.bmp" % index)
        computer = bitmaps.get("game/hand%d.bmp" % (5 - index))
        if player is None or computer is None:
            continue
        mirrored = all(player.colour(x, y) == computer.colour(player.width - 1 - x, y)
                       for y in range(player.height) for x in range(player.width))
        if not mirrored:
            faults.append("assets/game/hand%d.bmp is not assets/game/hand%d.bmp mirrored"
                          % (5 - index, index))

    for name in BLACK_CORNERS:
        bitmap = bitmaps.get(name)
        if bitmap is None:
            continue
        corners = [(0, 0), (bitmap.width - 1, 0), (0, bitmap.height - 1),
                   (bitmap.width - 1, bitmap.height - 1)]
        if any(bitmap.colour(x, y) != (0, 0, 0) for x, y in corners):
            faults.append("assets/%s: background corners are not exactly black" % name)


def main():
    assets = os.path.join(ROOT, "assets")
    faults = []
    found = set()
    for folder in ("game", "controls"):
        directory = os.path.join(assets, folder)
        if not os.path.isdir(directory):
            faults.append("missing folder assets/%s" % folder)
            continue
        for entry in sorted(os.listdir(directory)):
            if entry.lower().endswith(".bmp"):
                found.add("%s/%s" % (folder, entry))

    for name in sorted(found):
        if not NAME_PATTERN.match(os.path.basename(name)):
            faults.append("assets/%s: name must be lower-case letters, digits and "
                          "underscores" % name)
    for name in sorted(found - set(EXPECTED)):
        faults.append("assets/%s is not a picture the game knows" % name)
    for name in sorted(set(EXPECTED) - found):
        faults.append("assets/%s is missing" % name)

    bitmaps = {}
    for name in sorted(found & set(EXPECTED)):
        bitmap = parse(os.path.join(assets, name), EXPECTED[name], faults)
        if bitmap is not None:
            bitmaps[name] = bitmap

    check_content(bitmaps, faults)

    if faults:
        for line in faults:
            print(line)
        print("%d fault(s)" % len(faults))
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
