"""Checks the EPS writer test's files (eps_NAME.eps with its .txt and the
pipeline's rows in .raw) with tools that are not ours: Ghostscript renders
the EPSF composite (tiff32nc, tiff24nc or tiffgray at the file's resolution)
and every DCS plate (tiffgray), and the pixels must equal the rows (a grey
rendering of an EPSF file, its grey line); the
preview that the binary header points at passes tiffinfo, and exiftool reads
the header and extracts the same preview. Reports skipped (77) when a tool is
missing."""
import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import numpy as np

SKIP = 77
# The largest difference Ghostscript's rendering may show against the samples
# written: measured over these files (Ghostscript 10.0), it renders them exactly.
TOLERANCE = {'tiff32nc': 0, 'tiff24nc': 0, 'tiffgray': 0}
DEVICES = {4: 'tiff32nc', 3: 'tiff24nc', 1: 'tiffgray'}
# The preview takes the TIFF writer's fixed tag order (269 and 315 behind 296); libtiff says so.
ALLOWED = ('tags are not sorted in ascending order',)


def read_tiff(path):
    """The pixels of an uncompressed, chunky 8-bit TIFF as an array (rows, columns, samples)."""
    data = open(path, 'rb').read()
    order = '<' if data[:2] == b'II' else '>'
    ifd = struct.unpack_from(order + 'I', data, 4)[0]
    tags = {}
    for i in range(struct.unpack_from(order + 'H', data, ifd)[0]):
        tag, kind, count, value = struct.unpack_from(order + 'HHII', data, ifd + 2 + 12 * i)
        size = {3: 2, 4: 4}.get(kind, 1)
        if kind == 3 and count == 1:
            value = struct.unpack_from(order + 'H', data, ifd + 2 + 12 * i + 8)[0]
        if kind in (3, 4) and count * size > 4:
            value = list(struct.unpack_from(order + ('H' if kind == 3 else 'I') * count, data, value))
        tags[tag] = value
    width, height, spp = tags[256], tags[257], tags.get(277, 1)
    assert tags.get(259, 1) == 1, 'compressed'
    offsets = tags[273] if isinstance(tags[273], list) else [tags[273]]
    counts = tags[279] if isinstance(tags[279], list) else [tags[279]]
    pixels = b''.join(data[o:o + c] for o, c in zip(offsets, counts))
    return np.frombuffer(pixels, dtype=np.uint8)[:width * height * spp].reshape(height, width, spp)


def render(path, device, dpi, work):
    out = os.path.join(work, os.path.basename(path) + '.' + device + '.tif')
    run = subprocess.run(['gs', '-q', '-dNOPAUSE', '-dBATCH', '-dSAFER', '-dEPSCrop', '-sDEVICE=' + device,
                          '-r%d' % dpi, '-sOutputFile=' + out, path], capture_output=True, text=True)
    if run.returncode != 0 or not os.path.exists(out):
        return None, run.stderr + run.stdout
    return read_tiff(out), ''


def compare(name, rendered, expected, device, failures):
    if rendered.shape != expected.shape:
        failures.append('%s: %s renders %s, expected %s' % (name, device, rendered.shape, expected.shape))
        return
    worst = int(np.abs(rendered.astype(int) - expected.astype(int)).max())
    if worst > TOLERANCE[device]:
        failures.append('%s: %s differs by up to %d' % (name, device, worst))


def grey_line(raw):
    v = raw.astype(int)
    if raw.shape[2] == 4:
        grey = 255 - (v[:, :, 0] >> 2) - (v[:, :, 1] >> 1) - (v[:, :, 2] >> 3) - (v[:, :, 3] >> 3)
    elif raw.shape[2] == 3:
        grey = (v[:, :, 0] >> 2) + (v[:, :, 1] >> 1) + (v[:, :, 2] >> 2)
    else:
        grey = v[:, :, 0]
    return grey.astype(np.uint8)[:, :, None]


def plate_sections(data, text):
    """(offset, length) of the four plate sections the one-file master lists."""
    found = re.findall(r'%%PlateFile: \((Cyan|Magenta|Yellow|Black)\) EPS #(\d{11}) (\d{12})\r', text)
    return [(int(offset), int(length)) for _, offset, length in found]


def check_preview(name, path, data, work, failures):
    magic, ps_at, ps_length, _, _, tiff_at, tiff_length, checksum = struct.unpack_from('<IIIIIIIH', data, 0)
    preview = os.path.join(work, name + '.preview.tif')
    open(preview, 'wb').write(data[tiff_at:tiff_at + tiff_length])
    run = subprocess.run(['tiffinfo', preview], capture_output=True, text=True)
    problems = [line for line in (run.stdout + run.stderr).splitlines()
                if ('Error' in line or 'Warning' in line) and not any(allowed in line for allowed in ALLOWED)]
    if run.returncode != 0 or problems:
        failures.append('%s: tiffinfo on the preview: %s' % (name, problems or run.stderr))
    run = subprocess.run(['exiftool', '-s', '-s', '-s', '-FileType', path], capture_output=True, text=True)
    if run.stdout.strip() != 'EPS':
        failures.append('%s: exiftool reads %r' % (name, run.stdout.strip()))
    run = subprocess.run(['exiftool', '-b', '-TIFFPreview', path], capture_output=True)
    if run.stdout != data[tiff_at:tiff_at + tiff_length]:
        failures.append('%s: exiftool extracts %d preview bytes, not the %d the header points at'
                        % (name, len(run.stdout), tiff_length))


def check_file(base, work):
    failures = []
    name = os.path.basename(base)
    layout, columns, rows, channels, dpi = open(base + '.txt').read().split()
    columns, rows, channels, dpi = int(columns), int(rows), int(channels), int(dpi)
    raw = np.fromfile(base + '.raw', dtype=np.uint8).reshape(rows, columns, channels)
    path = base + '.eps'
    data = open(path, 'rb').read()
    check_preview(name, path, data, work, failures)
    if layout == 'epsf':
        device = DEVICES[channels]
        rendered, error = render(path, device, dpi, work)
        if rendered is None:
            return failures + ['%s: Ghostscript failed: %s' % (name, error)]
        compare(name, rendered, raw, device, failures)
        # A grey device prints the grey line of every row.
        rendered, error = render(path, 'tiffgray', dpi, work)
        if rendered is None:
            return failures + ['%s: Ghostscript failed in grey: %s' % (name, error)]
        compare(name + ' in grey', rendered, grey_line(raw), 'tiffgray', failures)
        return failures
    ps_at = struct.unpack_from('<I', data, 4)[0]
    text = data[ps_at:ps_at + 4096].decode('latin-1')
    plates = []
    if layout == 'one':
        for k, (offset, length) in enumerate(plate_sections(data, text)):
            section = os.path.join(work, '%s.plate%d.eps' % (name, k))
            open(section, 'wb').write(data[offset:offset + length])
            plates.append(section)
    else:
        plates = [base + letter + '.eps' for letter in 'CMYK']
    if len(plates) != 4:
        return failures + ['%s: %d plates listed' % (name, len(plates))]
    for k, plate in enumerate(plates):
        rendered, error = render(plate, 'tiffgray', dpi, work)
        if rendered is None:
            failures.append('%s: Ghostscript failed on plate %d: %s' % (name, k, error))
            continue
        # A plate prints its ink: the grey rendering is white where there is none.
        compare('%s plate %d' % (name, k), 255 - rendered, raw[:, :, k:k + 1], 'tiffgray', failures)
    return failures


def main():
    folder = sys.argv[1]
    for tool in ('gs', 'tiffinfo', 'exiftool'):
        if not shutil.which(tool):
            print('SKIPPED: %s is missing' % tool)
            return SKIP
    bases = sorted(path[:-4] for path in glob.glob(os.path.join(folder, 'eps_*.txt')))
    if not bases:
        print('no EPS test files in', folder)
        return 1
    failures = []
    with tempfile.TemporaryDirectory() as work:
        for base in bases:
            failures += check_file(base, work)
    for failure in failures:
        print('FAIL', failure)
    print('%d files checked, %d failures' % (len(bases), len(failures)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
