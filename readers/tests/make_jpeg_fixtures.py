#!/usr/bin/env python3
"""Makes the JPEG reader's fixtures in the working folder: ramps compressed by
the cjpeg of each library build, the djpeg output of the same build as the
reference samples, and variants made by editing the markers.
    make_jpeg_fixtures.py <cjpeg8> <djpeg8> <cjpeg12> <djpeg12> [runner...]"""
import struct
import subprocess
import sys

WIDTH, HEIGHT = 61, 37  # odd sizes: partial blocks at both edges
PROFILE_BYTES = 150000  # more than two APP2 markers hold
BIG = (320, 240)  # decoded at a quarter for a target size of 60


def ramp(maxval, channels):
    for y in range(HEIGHT):
        for x in range(WIDTH):
            rgb = (x * maxval // (WIDTH - 1), y * maxval // (HEIGHT - 1), (x + y) * maxval // (WIDTH + HEIGHT - 2))
            yield rgb[:channels]


def write_pnm(path, maxval, channels, pixels=None):
    data = bytearray()
    for pixel in pixels or ramp(maxval, channels):
        for v in pixel:
            data += bytes([v]) if maxval < 256 else v.to_bytes(2, "big")
    magic = b"P6" if channels == 3 else b"P5"
    width, height = BIG if pixels else (WIDTH, HEIGHT)
    with open(path, "wb") as f:
        f.write(magic + b"\n%d %d\n%d\n" % (width, height, maxval) + data)


def segments(jpeg):
    """Splits a JPEG into (marker, whole segment bytes) up to the scan, then the rest."""
    assert jpeg[:2] == b"\xff\xd8"
    out, at = [], 2
    while True:
        marker = jpeg[at + 1]
        if marker == 0xDA:
            return out, jpeg[at:]
        length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        out.append((marker, jpeg[at:at + 2 + length]))
        at += 2 + length


def join(segs, rest):
    return b"\xff\xd8" + b"".join(s for _, s in segs) + rest


def app_segment(marker, content):
    return (marker, bytes([0xFF, marker]) + struct.pack(">H", len(content) + 2) + content)


def resource_block(resource_id, data):
    block = b"8BIM" + struct.pack(">H", resource_id) + b"\x00\x00" + struct.pack(">I", len(data)) + data
    return block + (b"\x00" if len(data) % 2 else b"")


THUMB = (16, 12)
THUMB_RGB = (200, 40, 90)


def thumbnail_resource(jpeg):
    """The 28-byte header of an embedded thumbnail, then its JPEG data."""
    width, height = THUMB
    row = (width * 24 + 31) // 32 * 4
    return struct.pack(">IIIIIIHH", 1, width, height, row, row * height, len(jpeg), 24, 1) + jpeg


def main():
    cjpeg8, djpeg8, cjpeg12, djpeg12 = sys.argv[1:5]
    runner = sys.argv[5:]

    def run(*args):
        subprocess.run(runner + list(args), check=True)

    with open("profile.icc", "wb") as f:
        f.write(bytes((i * 7 + i // 251) & 0xFF for i in range(PROFILE_BYTES)))
    builds = ((8, 255, cjpeg8, djpeg8), (12, 4095, cjpeg12, djpeg12))
    for bits, maxval, cjpeg, djpeg in builds:
        for channels, kind in ((3, "rgb"), (1, "grey")):
            name = "%s%d" % (kind, bits)
            write_pnm(name + ".pnm", maxval, channels)
            run(cjpeg, "-quality", "95", "-outfile", name + ".jpg", name + ".pnm")
            run(djpeg, "-dct", "float", "-pnm", "-outfile", name + ".ref.pnm", name + ".jpg")
        run(cjpeg, "-quality", "95", "-icc", "profile.icc", "-outfile", "icc%d.jpg" % bits, "rgb%d.pnm" % bits)

    run(cjpeg8, "-quality", "90", "-progressive", "-outfile", "progressive8.jpg", "rgb8.pnm")
    run(djpeg8, "-dct", "float", "-pnm", "-outfile", "progressive8.ref.pnm", "progressive8.jpg")

    # The same size with other pixels, to rewrite a file in place.
    inverse = bytes(255 - v for p in ramp(255, 3) for v in p)
    with open("other8.pnm", "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + inverse)
    run(cjpeg8, "-quality", "95", "-outfile", "other8.jpg", "other8.pnm")
    run(djpeg8, "-dct", "float", "-pnm", "-outfile", "other8.ref.pnm", "other8.jpg")

    big = [((x * 255) // (BIG[0] - 1), (y * 255) // (BIG[1] - 1), ((x ^ y) & 0xFF)) for y in range(BIG[1])
           for x in range(BIG[0])]
    write_pnm("big8.pnm", 255, 3, big)
    run(cjpeg8, "-quality", "90", "-outfile", "big8.jpg", "big8.pnm")
    run(djpeg8, "-dct", "float", "-scale", "1/4", "-pnm", "-outfile", "big8.quarter.ref.pnm", "big8.jpg")
    run(djpeg8, "-dct", "float", "-pnm", "-outfile", "big8.ref.pnm", "big8.jpg")
    run(cjpeg8, "-quality", "90", "-restart", "1", "-outfile", "restart8.jpg", "big8.pnm")
    run(djpeg8, "-dct", "float", "-pnm", "-outfile", "restart8.ref.pnm", "restart8.jpg")

    subprocess.run(["convert", "rgb8.pnm", "-colorspace", "CMYK", "cmyk8.jpg"], check=True)

    rgb8 = open("rgb8.jpg", "rb").read()
    segs, rest = segments(rgb8)

    # JFIF density of 118 dots per centimetre.
    jfif = [(m, s) for m, s in segs]
    marker, app0 = jfif[0]
    assert marker == 0xE0 and app0[4:9] == b"JFIF\x00"
    app0 = app0[:11] + struct.pack(">BHH", 2, 118, 118) + app0[16:]
    jfif[0] = (marker, app0)
    open("density118.jpg", "wb").write(join(jfif, rest))

    # Chunk 2 of 3 left out: chunk 3 follows chunk 1.
    icc_segs, icc_rest = segments(open("icc8.jpg", "rb").read())
    chunks = [s for m, s in icc_segs if m == 0xE2]
    assert len(chunks) == 3, "the profile should need three markers"
    broken = [(m, s) for m, s in icc_segs if not (m == 0xE2 and s[16] == 2)]
    open("icc_gap8.jpg", "wb").write(join(broken, icc_rest))
    # Only chunks 1 and 2 of 3.
    short = [(m, s) for m, s in icc_segs if not (m == 0xE2 and s[16] == 3)]
    open("icc_short8.jpg", "wb").write(join(short, icc_rest))

    # APP13 image resources: a resource 1000 with odd-sized data before 1028.
    resources = resource_block(1000, b"abc") + resource_block(1028, b"IPTC-DATA")
    app13 = app_segment(0xED, b"Photoshop 3.0\x00" + resources)
    open("app13.jpg", "wb").write(join(segs[:1] + [app13] + segs[1:], rest))

    # Embedded thumbnails in APP13: a good one, and one whose JPEG data is damaged.
    with open("thumb.ppm", "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % THUMB + bytes(THUMB_RGB) * (THUMB[0] * THUMB[1]))
    run(cjpeg8, "-quality", "95", "-outfile", "thumb.jpg", "thumb.ppm")
    thumb = thumbnail_resource(open("thumb.jpg", "rb").read())
    for name, data in (("thumb1036.jpg", thumb), ("thumbbad.jpg", thumb[:28] + b"\xff\xd8garbage" * 5)):
        app13 = app_segment(0xED, b"Photoshop 3.0\x00" + resource_block(1036, data))
        open(name, "wb").write(join(segs[:1] + [app13] + segs[1:], rest))

    # Damaged files.
    open("truncated8.jpg", "wb").write(rgb8[:len(rgb8) - len(rest) // 2])
    open("empty.jpg", "wb").write(b"")
    open("notjpeg.jpg", "wb").write(b"GIF89a" + bytes(100))
    open("headeronly8.jpg", "wb").write(join(segs, b""))
    # Frame headers with a width of 0 and with a data precision of 16.
    sof = next(i for i, (m, _) in enumerate(segs) if m == 0xC0)
    for name, offset, value in (("zerowidth8.jpg", 7, b"\x00\x00"), ("precision16.jpg", 4, b"\x10")):
        edited = list(segs)
        frame = edited[sof][1]
        edited[sof] = (0xC0, frame[:offset] + value + frame[offset + len(value):])
        open(name, "wb").write(join(edited, rest))
    # The data cut at half: the lines below the cut have nothing to come from.
    big8 = open("big8.jpg", "rb").read()
    _, big_rest = segments(big8)
    open("cut_big8.jpg", "wb").write(big8[:len(big8) - len(big_rest) // 2])
    # Half of the third restart interval's data gone: the decoder meets the next
    # restart marker early and takes up the data after it.
    restart8 = open("restart8.jpg", "rb").read()
    rst = [i for i in range(len(restart8) - 1) if restart8[i] == 0xFF and 0xD0 <= restart8[i + 1] <= 0xD7]
    start, end = rst[1] + 2, rst[2]
    open("restart_gap8.jpg", "wb").write(restart8[:start] + restart8[start:end][:(end - start) // 2] + restart8[end:])
    garbled = bytearray(rgb8)
    for i in range(len(rest) // 3, len(rest) // 3 + 40):
        garbled[len(rgb8) - len(rest) + i] = 0x55
    open("garbled8.jpg", "wb").write(bytes(garbled))


if __name__ == "__main__":
    main()
