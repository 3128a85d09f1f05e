"""Checks the TIFF writer test's files (tiff_NAME.tif with its .txt and the
pipeline's rows in .raw) with tools that are not ours: libtiff's tiffinfo and
tiffdump, ImageMagick's identify, djpeg for the thumbnail resource, and a
small reader of the bytes written here. Reports skipped (77) when a tool is
missing."""
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile

import numpy as np

SKIP = 77
# The writer keeps its fixed tag order (34377 before 269 and 315); libtiff says so.
ALLOWED = ('tags are not sorted in ascending order',)


def read_ifd(data, at):
    """The tags of the directory at `at`: {tag: (type, count, value field)} and the next offset."""
    tags = {}
    count = struct.unpack_from('<H', data, at)[0]
    for i in range(count):
        tag, kind, n, value = struct.unpack_from('<HHII', data, at + 2 + 12 * i)
        if kind == 3 and n == 1:
            value &= 0xFFFF
        tags[tag] = (kind, n, value)
    return tags, struct.unpack_from('<I', data, at + 2 + 12 * count)[0]


def expected_rows(raw, bits, photometric):
    if bits != 16:
        return raw
    values = np.frombuffer(raw, dtype='<u2').copy()
    if photometric == 8:
        # a and b in the pipeline's offset form; the file keeps them signed (a x 256).
        ab = values.reshape(-1, 3)[:, 1:].astype(np.float64)
        signed = np.trunc((ab * 254.0 / 65535.0 - 127.0) * 256.0 + 0.5).astype(np.int16)
        values.reshape(-1, 3)[:, 1:] = signed.view(np.uint16)
    return values.tobytes()


def warnings_of(path):
    run = subprocess.run(['tiffinfo', path], capture_output=True, text=True)
    problems = []
    for line in (run.stderr + run.stdout).splitlines():
        if 'Warning' not in line and 'Error' not in line and 'Null count' not in line:
            continue
        if any(allowed in line for allowed in ALLOWED):
            continue
        problems.append(line)
    if run.returncode != 0:
        problems.append('tiffinfo failed')
    return problems, run.stdout


def check_file(base):
    failures = []
    width, height, spp, bits, photometric = map(int, open(base + '.txt').read().split())
    data = open(base + '.tif', 'rb').read()
    if data[:4] != b'II*\0' or struct.unpack_from('<I', data, 4)[0] != 8:
        return ['%s: not a little-endian TIFF with its directory at 8' % base]
    tags, next_ifd = read_ifd(data, 8)
    want = {256: width, 257: height, 277: spp, 262: photometric, 259: 1, 284: 1, 278: height}
    for tag, value in want.items():
        if tags.get(tag, (0, 0, None))[2] != value:
            failures.append('%s: tag %d is %s, not %d' % (base, tag, tags.get(tag), value))
    strip, count = tags[273][2], tags[279][2]
    raw = open(base + '.raw', 'rb').read()
    if data[strip:strip + count] != expected_rows(raw, bits, photometric) or count != len(raw):
        failures.append('%s: the strip is not the pipeline\'s rows' % base)
    problems, info = warnings_of(base + '.tif')
    failures += ['%s: tiffinfo: %s' % (base, p) for p in problems]
    if 'Image Width: %d Image Length: %d' % (width, height) not in info:
        failures.append('%s: tiffinfo reads another size' % base)
    if 34675 in tags and 'ICC Profile: <present>, %d bytes' % tags[34675][1] not in info:
        failures.append('%s: tiffinfo does not see the embedded profile' % base)
    dump = subprocess.run(['tiffdump', base + '.tif'], capture_output=True, text=True)
    if dump.returncode != 0 or 'Directory 0' not in dump.stdout:
        failures.append('%s: tiffdump cannot read it' % base)
    if photometric != 8:
        # ImageMagick reads the image as its own reader sees it.
        size = subprocess.run(['identify', '-format', '%w %h %z\n', base + '.tif'], capture_output=True, text=True)
        first = size.stdout.splitlines()[0].split() if size.stdout else []
        if size.returncode != 0 or first[:2] != [str(width), str(height)]:
            failures.append('%s: ImageMagick reads %r (%s)' % (base, size.stdout, size.stderr.strip()))
    return failures


def check_preview(base):
    failures = []
    data = open(base + '.tif', 'rb').read()
    tags, next_ifd = read_ifd(data, 8)
    if next_ifd == 0:
        return ['%s: no second directory' % base]
    preview, last = read_ifd(data, next_ifd)
    if preview[254][2] != 1 or last != 0:
        failures.append('%s: the second directory is no reduced image' % base)
    problems, info = warnings_of(base + '.tif')
    failures += ['%s: tiffinfo: %s' % (base, p) for p in problems]
    if info.count('TIFF Directory at offset') != 2:
        failures.append('%s: tiffinfo does not see two directories' % base)
    start, length, width, height = map(int, open(base + '.thumb').read().split())
    with tempfile.TemporaryDirectory() as folder:
        jpeg = os.path.join(folder, 'thumb.jpg')
        open(jpeg, 'wb').write(data[start:start + length])
        out = subprocess.run(['djpeg', '-pnm', jpeg], capture_output=True)
    if out.returncode != 0:
        return failures + ['%s: djpeg cannot decode the thumbnail: %s' % (base, out.stderr.decode(errors='replace'))]
    header = out.stdout.split(b'\n', 3)
    if header[0] != b'P6' or header[1].split() != [str(width).encode(), str(height).encode()]:
        return failures + ['%s: the thumbnail is %r' % (base, header[:3])]
    pixels = np.frombuffer(header[3], dtype=np.uint8).reshape(height, width, 3).astype(int)
    y, x = np.mgrid[0:height, 0:width]
    want = np.stack([(x * 7) % 256, (y * 9) % 256, np.full_like(x, 128)], axis=2)
    error = np.abs(pixels - want).mean()
    if error > 8:
        failures.append('%s: the thumbnail differs from its rows by %.1f on average' % (base, error))
    return failures


def main():
    for tool in ('tiffinfo', 'tiffdump', 'djpeg', 'identify'):
        if not shutil.which(tool):
            print('%s is missing' % tool)
            sys.exit(SKIP)
    os.chdir(sys.argv[1])
    bases = sorted(t[:-4] for t in glob.glob('tiff_*.txt'))
    if not bases or not os.path.exists('tiff_preview.thumb'):
        print('no TIFF outputs found')
        sys.exit(1)
    failures = []
    for base in bases:
        failures += check_file(base)
    failures += check_preview('tiff_preview')
    for failure in failures:
        print(failure)
    print('%d TIFF files checked, %d problems' % (len(bases) + 1, len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
