#!/usr/bin/env python3
"""Makes the JPEG codec's fixtures in the working folder: files written by
ImageMagick and by the 8-bit and 12-bit cjpeg of the dependency build, the
8-bit djpeg's decoding of each as the reference pixels, cjpeg's files for the
writer to match, and damaged variants.
    make_jpeg_fixtures.py <cjpeg8> <djpeg8> <cjpeg12> [runner...]"""
import struct
import subprocess
import sys

WIDTH, HEIGHT = 33, 17  # odd sizes: partial blocks and MCUs at both edges


def pixels(width, height):
    """Ramps in red and green, a pattern in blue: smooth areas and edges."""
    for y in range(height):
        for x in range(width):
            yield x * 255 // (width - 1), y * 255 // (height - 1), (x * y * 7 + x * 13) & 0xFF


def write_ppm(path, width, height):
    data = bytes(v for p in pixels(width, height) for v in p)
    open(path, "wb").write(b"P6\n%d %d\n255\n" % (width, height) + data)


def write_pgm(path):
    data = bytes((r * 3 + g * 5 + b) // 9 for r, g, b in pixels(WIDTH, HEIGHT))
    open(path, "wb").write(b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT) + data)


def segments(jpeg):
    """Splits a JPEG into its segments up to the scan: (marker, bytes), then the rest."""
    assert jpeg[:2] == b"\xff\xd8"
    out, at = [], 2
    while jpeg[at + 1] != 0xDA:
        length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        out.append((jpeg[at + 1], jpeg[at:at + 2 + length]))
        at += 2 + length
    return out, jpeg[at:]


def join(segs, rest):
    return b"\xff\xd8" + b"".join(s for _, s in segs) + rest


def segment(marker, content):
    return (marker, bytes([0xFF, marker]) + struct.pack(">H", len(content) + 2) + content)


def with_frame_size(jpeg, width, height):
    segs, rest = segments(jpeg)
    at = next(i for i, (m, _) in enumerate(segs) if m in (0xC0, 0xC2))
    marker, frame = segs[at]
    segs[at] = (marker, frame[:5] + struct.pack(">HH", height, width) + frame[9:])
    return join(segs, rest)


def main():
    cjpeg8, djpeg8, cjpeg12 = sys.argv[1:4]
    runner = sys.argv[4:]

    def run(*args, check=True):
        subprocess.run(runner + list(args), check=check)

    def magick(name, *options):
        subprocess.run(["convert", "source.ppm"] + list(options) + [name], check=True)

    write_ppm("source.ppm", WIDTH, HEIGHT)
    write_pgm("source.pgm")

    magick("im420.jpg", "-sampling-factor", "2x2", "-quality", "85")
    magick("im444.jpg", "-sampling-factor", "1x1", "-quality", "92")
    magick("improgressive.jpg", "-interlace", "JPEG", "-quality", "80")
    magick("imgrey.jpg", "-colorspace", "Gray", "-type", "Grayscale")
    magick("imcmyk.jpg", "-colorspace", "CMYK")
    magick("im300dpi.jpg", "-density", "300", "-units", "PixelsPerInch")
    magick("imcomment.jpg", "-set", "comment", "Hafen am Morgen")
    run(cjpeg8, "-quality", "90", "-outfile", "cjpeg.jpg", "source.ppm")

    # A second comment, and an APP1 of 100 bytes after cjpeg's APP0.
    segs, rest = segments(open("imcomment.jpg", "rb").read())
    open("twocomments.jpg", "wb").write(join(segs + [segment(0xFE, b"zweiter Kommentar")], rest))
    segs, rest = segments(open("cjpeg.jpg", "rb").read())
    app1 = bytes((i * 11 + 3) & 0xFF for i in range(100))
    open("app1.jpg", "wb").write(join(segs[:1] + [segment(0xE1, app1)] + segs[1:], rest))

    # The reader's reference pixels; djpeg answers 2 for the warning of the cut file.
    cjpeg_bytes = open("cjpeg.jpg", "rb").read()
    open("cut_scan.jpg", "wb").write(cjpeg_bytes[:len(cjpeg_bytes) - len(rest) // 2])
    for name in ("im420", "im444", "improgressive", "imgrey", "im300dpi", "cjpeg", "cut_scan"):
        run(djpeg8, "-pnm", "-outfile", name + ".pnm", name + ".jpg", check=name != "cut_scan")

    # What the writer must match byte for byte.
    for name, options, source in (("q75", ["-quality", "75"], "source.ppm"),
                                  ("q20", ["-quality", "20"], "source.ppm"),
                                  ("q95_1x1", ["-quality", "95", "-sample", "1x1"], "source.ppm"),
                                  ("q80_progressive", ["-quality", "80", "-progressive"], "source.ppm"),
                                  ("q90_grey", ["-quality", "90"], "source.pgm")):
        run(cjpeg8, *options, "-baseline", "-outfile", "cjpeg_" + name + ".jpg", source)

    # Damaged files.
    open("empty.jpg", "wb").write(b"")
    open("cut_header.jpg", "wb").write(cjpeg_bytes[:40])
    open("garbage.jpg", "wb").write(b"\xff\xd8" + bytes((i * 37 + 11) % 251 for i in range(500)))
    subprocess.run(["convert", "source.ppm", "-depth", "16", "source16.ppm"], check=True)
    run(cjpeg12, "-outfile", "twelve.jpg", "source16.ppm")
    open("huge.jpg", "wb").write(with_frame_size(open("improgressive.jpg", "rb").read(), 65500, 65500))
    open("zero_width.jpg", "wb").write(with_frame_size(cjpeg_bytes, 0, HEIGHT))


if __name__ == "__main__":
    main()
