#!/usr/bin/env python3
"""Draws Vornatic's icons and hand cursor into the given folder at build time.

Nothing binary lives in the source tree: the tray icon, the program's icon and the
hand cursor are all drawn here from the same few shapes.

    make_art.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib

BLACK = (0, 0, 0)
CYAN = (177, 255, 255)  # the light square
BLUE = (7, 162, 254)    # the letter K

# The design lives on a 16 x 16 grid; larger sizes are drawn from the same shapes.
GRID = 16.0


def in_letter_k(u, v):
    """True when grid point (u, v) lies on the K (stem and two arms, about two units thick)."""
    if not 3.0 <= v < 13.0:
        return False
    if 4.0 <= u < 6.0:
        return True
    upper_arm = v < 8.5 and u >= 5.0 and 13.2 <= u + v < 15.8
    lower_arm = v >= 7.5 and u >= 5.0 and -2.8 <= u - v < -0.2
    return upper_arm or lower_arm


def colour_at(u, v):
    return BLUE if in_letter_k(u, v) else CYAN


def draw_design(size):
    """Rows of (r, g, b), top row first. The black frame is one pixel at every size. Up to
    32 x 32, the sizes of the title bar, the taskbar and the tray, each pixel takes the
    colour at its centre, so the K stays crisp in the three colours alone; larger sizes
    are antialiased by sampling each pixel on a fine grid."""
    scale = GRID / size
    samples = 1 if size <= 32 else (8 if size <= 64 else 4)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if x in (0, size - 1) or y in (0, size - 1):
                row.append(BLACK)
                continue
            total = [0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) * scale
                    v = (y + (sy + 0.5) / samples) * scale
                    c = colour_at(u, v)
                    for i in range(3):
                        total[i] += c[i]
            n = samples * samples
            row.append(tuple((t + n // 2) // n for t in total))
        rows.append(row)
    return rows


def padded(data, alignment=4):
    return data + b"\0" * (-len(data) % alignment)


def and_mask(size):
    # All zero: every pixel of the icon is opaque.
    return padded(bytes((size + 7) // 8)) * size


def dib_icon_image(rows, bits):
    """An icon image in the BMP form: header, colour rows bottom-up, then the AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    pixels = b""
    for row in reversed(rows):
        line = b""
        for r, g, b in row:
            line += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, 255))
        pixels += padded(line)
    return header + pixels + and_mask(size)


def png_image(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    size = len(rows)
    raw = b"".join(b"\0" + b"".join(bytes((r, g, b, 255)) for r, g, b in row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_file(images, kind=1, hotspots=None):
    """images: list of (width, height, colour_count, bits, data). kind 1 is an icon, 2 a cursor
    (whose directory entries carry the hot spot where an icon keeps planes and bit count)."""
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for index, (width, height, colours, bits, data) in enumerate(images):
        if kind == 2:
            field1, field2 = hotspots[index]
        else:
            field1, field2 = 1, bits
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, field1, field2, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(image[4] for image in images)


# The hand: B outline, W fill, anything else shows what lies beneath. The tip of the index
# finger is the hot spot.
HAND = [
    ".....BB...........",
    "....BWWB..........",
    "....BWWB..........",
    "....BWWB..........",
    "....BWWB..........",
    "....BWWBBB........",
    "....BWWBWWBBB.....",
    "....BWWBWWBWWBB...",
    ".BB.BWWBWWBWWBWB..",
    "BWWBBWWWWWWWWBWWB.",
    "BWWWBWWWWWWWWWWWB.",
    ".BWWBWWWWWWWWWWWB.",
    ".BWWWWWWWWWWWWWWB.",
    "..BWWWWWWWWWWWWWB.",
    "..BWWWWWWWWWWWWWB.",
    "...BWWWWWWWWWWWB..",
    "...BWWWWWWWWWWWB..",
    "....BWWWWWWWWWB...",
    "....BWWWWWWWWWB...",
    ".....BWWWWWWWB....",
    ".....BWWWWWWWB....",
    ".....BBBBBBBBB....",
]
HAND_HOTSPOT = (5, 0)


def hand_cursor():
    """A 32 x 32 monochrome cursor: XOR bits (white) over an AND mask (see-through)."""
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size):
        art = HAND[y] if y < len(HAND) else ""
        xor_bits = and_bits = 0
        for x in range(size):
            cell = art[x] if x < len(art) else "."
            bit = 1 << (size - 1 - x)
            if cell == "W":
                xor_bits |= bit
            elif cell != "B":
                and_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    data = header + palette + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    return icon_file([(size, size, 2, 1, data)], kind=2, hotspots=[HAND_HOTSPOT])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)

    # Every small-icon size from 100 % to 200 % for the tray, and the big ones besides for
    # the window, so that Windows finds each size it asks for instead of scaling another.
    tray = [(16, 16, 0, 24, dib_icon_image(draw_design(16), 24))]
    for size in (20, 24, 32):
        tray.append((size, size, 0, 32, dib_icon_image(draw_design(size), 32)))
    # The sizes from 40 up are kept as PNG, which Windows reads in an icon since Vista: as
    # bitmaps they would take 46 KB of an executable that must stay under 600 KB.
    program = list(tray)
    program.append((28, 28, 0, 32, dib_icon_image(draw_design(28), 32)))
    for size in (40, 48, 56, 64, 256):
        program.append((size, size, 0, 32, png_image(draw_design(size))))
    program.sort(key=lambda image: image[0])

    outputs = {
        "Tray.ico": icon_file(tray),
        "Vornatic.ico": icon_file(program),
        "HAND-M.CUR": hand_cursor(),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
