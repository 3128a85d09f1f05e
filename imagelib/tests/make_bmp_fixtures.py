#!/usr/bin/env python3
"""Makes the BMP reader's fixtures in a folder: files that ImageMagick writes
and files of our own, written from the file layout for what ImageMagick does
not write (top-down rows, RLE4 with deltas and padded absolute runs, 16-bit
5-5-5 without masks, fewer colours than the depth holds, a gap before the
pixel data).

For each file <name>.bmp it writes <name>.rgb, the expected pixels as R, G, B
rows top to bottom, and a line "name width height bits" in cases.txt.
ImageMagick's decoding is the expectation, except for 16-bit files, whose
words expand by the library's own rule; ImageMagick reads each of our files
once to confirm it.
    make_bmp_fixtures.py FOLDER"""
import os
import struct
import subprocess
import sys

WIDTH, HEIGHT = 29, 13  # odd: rows need padding at every depth


def ramp_pixels(width=WIDTH, height=HEIGHT):
    return [[(x * 255 // (width - 1), y * 255 // (height - 1), (x * 7 + y * 11) % 256) for x in range(width)]
            for y in range(height)]


def write_ppm(path, rows):
    data = b"".join(bytes(c for p in row for c in p) for row in rows)
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (len(rows[0]), len(rows)) + data)


def rgb_bytes(rows):
    return b"".join(bytes(c for p in row for c in p) for row in rows)


def magick_rgb(path):
    return subprocess.run(["convert", path, "-alpha", "off", "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout


def bmp(width, height, bits, pixel_data, compression=0, table=(), colors_used=None, masks=b"", gap=b""):
    """A file with a 40-byte information header; table entries are (r, g, b)."""
    table_bytes = b"".join(bytes([b, g, r, 0]) for r, g, b in table)
    offset = 14 + 40 + len(masks) + len(table_bytes) + len(gap)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixel_data), 0, 0,
                       len(table) if colors_used is None else colors_used, 0)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixel_data), 0, 0, offset)
    return head + info + masks + table_bytes + gap + pixel_data


def pad4(row):
    return row + bytes(-len(row) % 4)


def pack_indexes(indexes, bits):
    out = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(indexes), per_byte):
        byte = 0
        for k in range(per_byte):
            value = indexes[i + k] if i + k < len(indexes) else 0
            byte |= value << (8 - bits * (k + 1))
        out.append(byte)
    return bytes(out)


def stored_rows(rows, top_down=False):
    return rows if top_down else rows[::-1]


# The library's rule for 16-bit words: a channel's top bit lands on bit 7 and
# the bits below it are filled with ones.
def expand_masked(word, mask):
    mask &= 0xFFFF
    if not mask:
        return 0
    low = (mask & -mask).bit_length() - 1
    top = low
    while top < 15 and (mask >> (top + 1)) & 1:
        top += 1
    run = top - low + 1
    value = word & mask
    value = value >> (top - 7) if top >= 8 else value << (7 - top)
    fill = (1 << (8 - run)) - 1 if run < 8 else 0
    return (value & 0xFF) | fill


def expand_16bit(data, width, height, masks, top_down=False):
    """Pixels of 16-bit rows stored in data (padded rows, bottom-up unless top_down)."""
    stride = (width * 16 + 31) // 32 * 4
    rows = []
    for k in range(height):
        words = struct.unpack_from("<%dH" % width, data, k * stride)
        rows.append([tuple(expand_masked(w, m) for m in masks) for w in words])
    return rows if top_down else rows[::-1]


class RleModel:
    """RLE data with the image it stands for: a cursor from the bottom row,
    pieces clipped to the width, unreached pixels index 0."""

    def __init__(self, width, height, nibbles):
        self.width, self.height, self.nibbles = width, height, nibbles
        self.indexes = [[0] * width for _ in range(height)]
        self.row, self.column = height - 1, 0
        self.data = bytearray()

    def _put(self, values):
        for v in values:
            if 0 <= self.row and self.column < self.width:
                self.indexes[self.row][self.column] = v
            self.column += 1

    def run(self, count, value):
        self.data += bytes([count, value])
        if self.nibbles:
            self._put([(value >> 4) if i % 2 == 0 else (value & 15) for i in range(count)])
        else:
            self._put([value] * count)

    def absolute(self, values):
        if self.nibbles:
            packed = pack_indexes(values, 4)
        else:
            packed = bytes(values)
        self.data += bytes([0, len(values)]) + packed + bytes(len(packed) % 2)
        self._put(values)

    def delta(self, dx, dy):
        self.data += bytes([0, 2, dx, dy])
        self.row -= dy
        self.column += dx

    def end_of_line(self):
        self.data += bytes([0, 0])
        self.row -= 1
        self.column = 0

    def end(self):
        self.data += bytes([0, 1])


def rle4_file():
    table = [(i * 16, 255 - i * 16, (i * 53) % 256) for i in range(16)]
    m = RleModel(13, 6, True)
    m.run(5, 0x12)
    m.absolute([3, 4, 5, 6, 7])  # 3 bytes: padded
    m.absolute([8, 9, 10, 11, 12, 13])  # 3 bytes: padded
    m.end_of_line()
    m.absolute([1, 2, 3, 4])  # 2 bytes: no pad
    m.delta(3, 1)
    m.run(4, 0xF0)
    m.end_of_line()
    m.run(13, 0x5A)  # the whole row
    m.end_of_line()
    m.delta(2, 0)
    m.absolute([15, 14, 13])
    m.end_of_line()
    m.end_of_line()
    m.run(3, 0x77)
    m.end()
    pixels = [[table[i] for i in row] for row in m.indexes]
    return bmp(13, 6, 4, bytes(m.data), compression=2, table=table), pixels


def rgb555_file():
    width, height = 7, 3
    words = [0x7FFF, 0x0000, 0x7C00, 0x03E0, 0x001F, 0x1234, 0x5555]
    rows = [[words[(x + y * 2) % len(words)] for x in range(width)] for y in range(height)]
    data = b"".join(pad4(struct.pack("<%dH" % width, *row)) for row in stored_rows(rows))
    pixels = expand_16bit(data, width, height, (0x7C00, 0x03E0, 0x001F))
    return bmp(width, height, 16, data, colors_used=0), pixels


def indexed_file(width, height, bits, table, index_of, gap=b"", top_down=False):
    indexes = [[index_of(x, y) for x in range(width)] for y in range(height)]
    data = b"".join(pad4(pack_indexes(row, bits)) for row in stored_rows(indexes, top_down))
    pixels = [[table[i] for i in row] for row in indexes]
    return bmp(width, -height if top_down else height, bits, data, table=table, gap=gap), pixels


def rgb24_file(rows, top_down=False, gap=b""):
    data = b"".join(pad4(bytes(c for p in row for c in (p[2], p[1], p[0]))) for row in stored_rows(rows, top_down))
    height = len(rows)
    return bmp(len(rows[0]), -height if top_down else height, 24, data, gap=gap), rows


def own_files():
    ramp = ramp_pixels()
    return {
        "own_topdown24": (rgb24_file(ramp, top_down=True), 24),
        "own_gap24": (rgb24_file(ramp_pixels(10, 4), gap=b"\x55" * 10), 24),
        "own_rle4": (rle4_file(), 4),
        "own_rgb555": (rgb555_file(), 16),
        "own_two_colors8": (indexed_file(11, 5, 8, [(200, 10, 30), (5, 250, 60)], lambda x, y: (x + y) % 2), 8),
        "own_three_colors4": (indexed_file(9, 4, 4, [(1, 2, 3), (90, 80, 70), (250, 0, 125)],
                                           lambda x, y: (x * y) % 3), 4),
        "own_gap8": (indexed_file(6, 3, 8, [(i, 255 - i, i // 2) for i in range(0, 256, 16)],
                                  lambda x, y: (x + 5 * y) % 16, gap=b"\xAA" * 6), 8),
        "own_topdown1": (indexed_file(19, 3, 1, [(0, 0, 0), (255, 255, 255)], lambda x, y: (x // 3 + y) % 2,
                                      top_down=True), 1),
    }


def magick_files(folder):
    ramp = os.path.join(folder, "ramp.ppm")
    twelve = os.path.join(folder, "twelve.ppm")
    write_ppm(ramp, ramp_pixels())
    write_ppm(twelve, [[((x + y * 3) % 12 * 20, 255 - (x + y * 3) % 12 * 20, (x + y * 3) % 12 * 77 % 256)
                        for x in range(WIDTH)] for y in range(HEIGHT)])
    made = {
        "im_rgb24": (["convert", ramp, "-type", "TrueColor"], "BMP3", 24),
        "im_pal8": (["convert", ramp, "-colors", "200", "-type", "Palette", "-compress", "none"], "BMP3", 8),
        "im_rle8": (["convert", ramp, "-colors", "200", "-type", "Palette"], "BMP3", 8),
        "im_pal4": (["convert", twelve, "-type", "Palette"], "BMP3", 4),
        "im_pal1": (["convert", ramp, "-threshold", "50%", "-type", "Bilevel"], "BMP3", 1),
        "im_rgb565": (["convert", ramp, "-define", "bmp:subtype=RGB565"], "BMP", 16),
        "im_rgb555": (["convert", ramp, "-define", "bmp:subtype=RGB555"], "BMP", 16),
        "im_rgb32": (["convert", ramp, "-alpha", "on"], "BMP", 32),
    }
    for name, (command, coder, bits) in made.items():
        path = os.path.join(folder, name + ".bmp")
        subprocess.run(command + ["%s:%s" % (coder, path)], check=True)
        data = open(path, "rb").read()
        width, height = struct.unpack_from("<ii", data, 18)
        file_bits, compression = struct.unpack_from("<HI", data, 28)
        assert file_bits == bits, (name, file_bits)
        if bits == 16:
            offset = struct.unpack_from("<I", data, 10)[0]
            masks = struct.unpack_from("<3I", data, 54) if compression == 3 else (0x7C00, 0x03E0, 0x001F)
            expected = rgb_bytes(expand_16bit(data[offset:], width, abs(height), masks, height < 0))
        else:
            expected = magick_rgb(path)
        yield name, width, abs(height), bits, expected


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    lines = []
    for name, width, height, bits, expected in magick_files(folder):
        with open(os.path.join(folder, name + ".rgb"), "wb") as f:
            f.write(expected)
        lines.append("%s %d %d %d" % (name, width, height, bits))
    for name, ((data, pixels), bits) in own_files().items():
        path = os.path.join(folder, name + ".bmp")
        with open(path, "wb") as f:
            f.write(data)
        expected = rgb_bytes(pixels)
        with open(os.path.join(folder, name + ".rgb"), "wb") as f:
            f.write(expected)
        # ImageMagick confirms each file; 16-bit words it expands its own way.
        if bits == 16:
            size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                                  capture_output=True, text=True).stdout
            assert size == "%d %d" % (len(pixels[0]), len(pixels)), (name, size)
        elif magick_rgb(path) != expected:
            sys.exit("ImageMagick reads %s differently" % name)
        lines.append("%s %d %d %d" % (name, len(pixels[0]), len(pixels), bits))
    with open(os.path.join(folder, "cases.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
