"""Checks the JPEG writer test's files (jpeg_NAME.jpg with its .txt and the
pipeline's rows in .raw) with the library builds' own tools: djpeg of the
build of the file's precision must decode it to exactly what it decodes from
cjpeg's file of the same rows (quality 90, baseline; 16-bit rows shifted to
12 bits). The APP13 thumbnail is decoded by djpeg and compared with its rows.
    check_jpeg_outputs.py <folder> <cjpeg8> <djpeg8> <cjpeg12> <djpeg12> [runner...]
Reports skipped (77) when a tool is missing."""
import glob
import os
import struct
import subprocess
import sys

import numpy as np

SKIP = 77


def read_pnm(data):
    """(samples as an array of rows x columns x channels, maxval) of a binary PNM."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    at += 1
    channels = 3 if fields[0] == b'P6' else 1
    width, height, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    dtype = '>u2' if maxval > 255 else 'u1'
    pixels = np.frombuffer(data[at:], dtype=dtype, count=width * height * channels)
    return pixels.reshape(height, width, channels).astype(np.int32), maxval


def write_pnm(path, samples, maxval):
    height, width, channels = samples.shape
    magic = b'P6' if channels == 3 else b'P5'
    dtype = '>u2' if maxval > 255 else 'u1'
    with open(path, 'wb') as f:
        f.write(magic + b'\n%d %d\n%d\n' % (width, height, maxval) + samples.astype(dtype).tobytes())


def app_markers(data, code):
    """The contents of the markers of the code before the first scan."""
    found, at = [], 2
    while at + 4 <= len(data) and data[at] == 0xFF and data[at + 1] != 0xDA:
        length = struct.unpack_from('>H', data, at + 2)[0]
        if data[at + 1] == code:
            found.append(data[at + 4:at + 2 + length])
        at += 2 + length
    return found


class Tools:
    def __init__(self, args):
        self.cjpeg = {8: args[0], 12: args[2]}
        self.djpeg = {8: args[1], 12: args[3]}
        self.runner = args[4:]

    def decode(self, bits, path):
        run = subprocess.run(self.runner + [self.djpeg[bits], '-pnm', path], capture_output=True)
        if run.returncode != 0 or run.stderr.strip():
            raise RuntimeError('djpeg %s: %s' % (path, run.stderr.decode(errors='replace').strip()))
        return read_pnm(run.stdout)[0]

    def encode(self, bits, source, target):
        subprocess.run(self.runner + [self.cjpeg[bits], '-quality', '90', '-baseline', '-outfile', target, source],
                       check=True, capture_output=True)


def check_file(tools, base):
    width, height, spp, bits = map(int, open(base + '.txt').read().split())
    raw = open(base + '.raw', 'rb').read()
    if bits == 16:
        expected = (np.frombuffer(raw, dtype='<u2').astype(np.int32) >> 4).reshape(height, width, spp)
        precision, maxval = 12, 4095
    else:
        expected = np.frombuffer(raw, dtype=np.uint8).astype(np.int32).reshape(height, width, spp)
        precision, maxval = 8, 255
    write_pnm(base + '.expected.pnm', expected, maxval)
    tools.encode(precision, base + '.expected.pnm', base + '.cjpeg.jpg')
    ours = tools.decode(precision, base + '.jpg')
    theirs = tools.decode(precision, base + '.cjpeg.jpg')
    failures = []
    if ours.shape != expected.shape:
        return ['%s: djpeg reads %s, not %s' % (base, ours.shape, expected.shape)]
    if not np.array_equal(ours, theirs):
        failures.append('%s: differs from cjpeg of the same rows in %d samples'
                        % (base, int(np.count_nonzero(ours != theirs))))
    # The rows may be noise: colour is subsampled, so compare the luminance.
    weights = np.array([0.299, 0.587, 0.114]) if spp == 3 else np.array([1.0])
    error = np.abs((ours - expected) @ weights).mean() * 255.0 / maxval
    if error > 6:
        failures.append('%s: decodes %.2f away from its rows\' luminance on average' % (base, error))
    return failures


def check_thumbnail(tools):
    name, width, height = open('jpeg_thumbnail.txt').read().split()
    width, height = int(width), int(height)
    markers = app_markers(open(name, 'rb').read(), 0xED)
    if len(markers) != 1:
        return ['%s: %d APP13 markers' % (name, len(markers))]
    with open('jpeg_thumbnail.jpg', 'wb') as f:
        f.write(markers[0][54:])
    pixels = tools.decode(8, 'jpeg_thumbnail.jpg')
    if pixels.shape != (height, width, 3):
        return ['%s: the thumbnail is %s' % (name, pixels.shape)]
    y, x = np.mgrid[0:height, 0:width]
    want = np.stack([(x * 7) % 256, (y * 9) % 256, np.full_like(x, 128)], axis=2)
    error = np.abs(pixels - want).mean()
    return ['%s: the thumbnail differs from its rows by %.1f' % (name, error)] if error > 8 else []


def main():
    folder, args = sys.argv[1], sys.argv[2:]
    for tool in args[:4]:
        if not os.path.exists(tool):
            print('%s is missing' % tool)
            sys.exit(SKIP)
    os.chdir(folder)
    tools = Tools(args)
    bases = sorted(t[:-4] for t in glob.glob('jpeg_*.txt') if t != 'jpeg_thumbnail.txt')
    # CMYK has no PNM form for cjpeg; the writer test decodes it itself.
    bases = [b for b in bases if int(open(b + '.txt').read().split()[2]) != 4]
    if not bases or not os.path.exists('jpeg_thumbnail.txt'):
        print('no JPEG outputs found')
        sys.exit(1)
    failures = []
    for base in bases:
        try:
            failures += check_file(tools, base)
        except (RuntimeError, subprocess.CalledProcessError) as error:
            failures.append('%s: %s' % (base, error))
    failures += check_thumbnail(tools)
    for failure in failures:
        print(failure)
    print('%d JPEG files checked (%s), %d problems' % (len(bases) + 1, ', '.join(bases), len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
