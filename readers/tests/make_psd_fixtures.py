#!/usr/bin/env python3
"""Makes the PSD reader's fixtures in the working folder: ramps written by
ImageMagick (8 and 16 bits, packed and raw) and files of our own writer for
the cases ImageMagick does not write. The reference samples are the ramps.
Thumbnail resources take the JPEG fixtures' thumb.jpg from the same folder.
    make_psd_fixtures.py"""
import os
import struct
import subprocess

WIDTH, HEIGHT = 67, 29  # odd sizes: rows of odd byte counts


def ramp(x, y, channel, maxval):
    return ((x * 3 + y * 5) * maxval // (3 * (WIDTH - 1) + 5 * (HEIGHT - 1)),
            y * maxval // (HEIGHT - 1),
            (WIDTH - 1 - x) * maxval // (WIDTH - 1))[channel]


def write_pnm(path, channels, maxval):
    data = bytearray()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            for c in range(channels):
                v = ramp(x, y, c, maxval)
                data += bytes([v]) if maxval < 256 else v.to_bytes(2, "big")
    magic = b"P6" if channels == 3 else b"P5"
    with open(path, "wb") as f:
        f.write(magic + b"\n%d %d\n%d\n" % (WIDTH, HEIGHT, maxval) + data)


def packbits(row):
    out, i = bytearray(), 0
    while i < len(row):
        run = 1
        while i + run < len(row) and run < 128 and row[i + run] == row[i]:
            run += 1
        if run > 1:
            out += bytes([257 - run, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 128 and (i + 1 >= len(row) or row[i + 1] != row[i]):
            i += 1
        out += bytes([i - start - 1]) + row[start:i]
    return bytes(out)


def channel_rows(channels, depth, width=WIDTH, height=HEIGHT):
    maxval = (1 << depth) - 1
    rows = []
    for c in range(channels):
        for y in range(height):
            vals = [ramp(x, y, c % 3, maxval) for x in range(width)]
            rows.append(bytes(vals) if depth == 8 else b"".join(v.to_bytes(2, "big") for v in vals))
    return rows


def resource(resource_id, data):
    block = b"8BIM" + struct.pack(">H", resource_id) + b"\x00\x00" + struct.pack(">I", len(data)) + data
    return block + (b"\x00" if len(data) % 2 else b"")


def resolution(dpi):
    fixed = dpi * 65536
    return resource(1005, struct.pack(">IHHIHH", fixed, 1, 1, fixed, 1, 1))


def packed_image(rows):
    packed_rows = [packbits(r) for r in rows]
    return struct.pack(">H", 1) + b"".join(struct.pack(">H", len(p)) for p in packed_rows) + b"".join(packed_rows)


def psd(channels=3, depth=8, mode=3, width=WIDTH, height=HEIGHT, packed=True, resources=b"", layers=b"", image=None):
    header = b"8BPS" + struct.pack(">H", 1) + bytes(6) + struct.pack(">HIIHH", channels, height, width, depth, mode)
    body = struct.pack(">I", 0) + struct.pack(">I", len(resources)) + resources
    body += struct.pack(">I", len(layers)) + layers
    if image is None:
        rows = channel_rows(channels, depth if depth in (8, 16) else 8, width, height)
        image = packed_image(rows) if packed else struct.pack(">H", 0) + b"".join(rows)
    return header + body + image


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def main():
    write_pnm("rgb8.ppm", 3, 255)
    write_pnm("grey8.pgm", 1, 255)
    write_pnm("rgb16.ppm", 3, 65535)
    write_pnm("grey16.pgm", 1, 65535)
    im = [("rgb8.ppm", "im_rgb8_rle.psd", "RLE", "8"), ("rgb8.ppm", "im_rgb8_raw.psd", "None", "8"),
          ("grey8.pgm", "im_grey8_rle.psd", "RLE", "8"), ("rgb16.ppm", "im_rgb16_rle.psd", "RLE", "16"),
          ("rgb16.ppm", "im_rgb16_raw.psd", "None", "16"), ("grey16.pgm", "im_grey16_raw.psd", "None", "16")]
    for source, target, compression, depth in im:
        subprocess.run(["convert", source, "-depth", depth, "-compress", compression, "-density", "300",
                        "-units", "PixelsPerInch", target], check=True)
    # A second image becomes a layer; the composite stays the first image.
    subprocess.run(["convert", "rgb8.ppm", "grey8.pgm", "-compress", "RLE", "im_layers.psd"], check=True)

    profile = bytes(range(256)) * 3
    write("own_rgb8_rle.psd", psd())
    write("own_rgb16_raw.psd", psd(depth=16, packed=False, resources=resolution(150) + resource(1039, profile)))
    write("own_grey16_rle_4ch.psd", psd(channels=4, depth=16, mode=1))
    write("own_res1005_300.psd", psd(resources=resource(1000, b"x") + resolution(300)))
    write("own_cmyk.psd", psd(channels=4, mode=4))
    write("own_depth32.psd", psd(depth=32, packed=False))
    write("own_depth1.psd", psd(depth=1, mode=3, packed=False))
    write("own_width0.psd", psd(width=0))
    write("own_height0.psd", psd(height=0))
    write("own_fewchannels.psd", psd(channels=1, mode=3))
    write("own_hugeheight.psd", psd()[:14] + struct.pack(">I", 0x7FFFFFFF) + psd()[18:])
    write("own_hugewidth.psd", psd()[:18] + struct.pack(">I", 0x7FFFFFFF) + psd()[22:])
    write("own_wide30001.psd", psd()[:18] + struct.pack(">I", 30001) + psd()[22:])
    write("own_short_header.psd", psd()[:20])
    write("own_no_sections.psd", psd()[:30])
    whole = psd()
    write("own_truncated.psd", whole[:len(whole) - 400])
    # Row 5 of the first channel: three runs of 128 bytes in a 67-byte row.
    packed_rows = [packbits(r) for r in channel_rows(3, 8)]
    packed_rows[5] = bytes([0x81, 7]) * 3
    image = struct.pack(">H", 1) + b"".join(struct.pack(">H", len(p)) for p in packed_rows) + b"".join(packed_rows)
    write("own_badruns.psd", psd(image=image))

    if os.path.exists("thumb.jpg"):
        jpeg = open("thumb.jpg", "rb").read()
        row = (16 * 24 + 31) // 32 * 4
        thumb = struct.pack(">IIIIIIHH", 1, 16, 12, row, row * 12, len(jpeg), 24, 1) + jpeg
        write("own_thumb1036.psd", psd(resources=resolution(300) + resource(1036, thumb)))
        write("own_thumb1033.psd", psd(resources=resource(1033, thumb)))
        # A thumbnail whose frame header claims 29540 x 11888 pixels.
        sof = jpeg.index(b"\xff\xc0")
        huge = jpeg[:sof + 5] + struct.pack(">HH", 11888, 29540) + jpeg[sof + 9:]
        huge_thumb = struct.pack(">IIIIIIHH", 1, 29540, 11888, 29540 * 3, 29540 * 3 * 11888 & 0xFFFFFFFF,
                                 len(huge), 24, 1) + huge
        write("own_thumb_huge.psd", psd(resources=resource(1036, huge_thumb)))


if __name__ == "__main__":
    main()
