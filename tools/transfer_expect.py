"""What a transfer must deliver for a source sample, computed from the formulas
of the tone tables and the source lines (numpy, independent of the module):
the reader's output table of a channel for a read of 8 bits per sample.

An 8-bit image: entry i is the channel's tone table read at the inverse of
the 1.8 gamma table at i. A 16-bit image: the 16-bit sample passes the
reader's gamma table (CurrentGamma / display gamma, so the identity for the
built-in defaults) and its 14-bit value indexes the tone table made with the
gamma of the original type."""
import os
import struct
import sys

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tone', 'tests'))
import tone_reference as tone  # noqa: E402

REFLECTIVE_GAMMA = 1.8   # built-in gamma of reflective originals
SOURCE_GAMMA = 1.8       # the gamma table that 8-bit sources are read through
HIGH_BIT_ENTRIES = 16384


def gamma_table8(n, gamma):
    """The 8-bit gamma table built and reduced as a neutral tone table is."""
    return tone.tone_table(n, gamma, False)


def inverse_lookup(table, v):
    """The fractional position at which the rising table reaches v."""
    n = len(table)
    if v <= table[0]:
        return 0.0
    if v >= table[-1]:
        return float(n - 1)
    low = int(np.searchsorted(table, v, side='right')) - 1
    high = low + 1
    while table[high] == table[low]:
        high += 1
    return low + (v - table[low]) / (table[high] - table[low])


def compose_with_inverse(curve, table, levels):
    n = len(curve)
    out = np.empty(n, dtype=np.int64)
    for i in range(n):
        level = int(tone.rounded(i * (levels - 1) / (n - 1)))
        out[i] = min(int(tone.rounded(tone.interpolate(curve, inverse_lookup(table, level)))), levels - 1)
    return out


def output_table(curve=None, high_bit=False):
    """The reader's output table; curve is the channel's tone table (the
    default block's under the reflective gamma unless given)."""
    if high_bit:
        if curve is None:
            curve = tone.tone_table(HIGH_BIT_ENTRIES, REFLECTIVE_GAMMA, False)
        return compose_with_inverse(curve, np.arange(HIGH_BIT_ENTRIES), HIGH_BIT_ENTRIES)
    if curve is None:
        curve = tone.tone_table(256, REFLECTIVE_GAMMA, False)
    return compose_with_inverse(curve, gamma_table8(256, SOURCE_GAMMA), 256)


def output_table16(curve=None):
    """The output table of a 16-bit frame: 14-bit values for the sample's top 14
    bits; curve is the channel's tone table on the work scale (the default
    block's under the reflective gamma unless given)."""
    if curve is None:
        curve = tone.tone_table(HIGH_BIT_ENTRIES, REFLECTIVE_GAMMA, True)
    return np.asarray(curve, dtype=np.int64)


def written16(table, sample):
    """A 16-bit sample of a 16-bit frame: the table's 14-bit value up to the top of the word."""
    return int(table[sample >> 2]) << 2


def transferred(table, sample, image_bits):
    return int(table[sample >> 2] if image_bits == 16 else table[sample])


def received(path, channels):
    """The samples of a received image file, read back by ImageMagick."""
    import subprocess
    fmt = 'rgb' if channels == 3 else 'gray'
    return subprocess.run(['convert', path, '-depth', '8', fmt + ':-'], capture_output=True, check=True).stdout


def read_ppm(path):
    """(width, height, maximum, samples as 3 x n) of a binary PPM."""
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    at += 1
    width, height, top = int(fields[1]), int(fields[2]), int(fields[3])
    samples = np.frombuffer(data[at:], dtype='>u2' if top > 255 else np.uint8).astype(np.int64)
    return width, height, top, samples.reshape(-1, 3).T


def check_pixels(data, width, rows, channels, image_bits, table, sample, out_bits=8):
    """Problems of received samples against the table applied to the generator's
    samples; with out_bits 16 data holds the samples of a 16-bit frame."""
    if len(data) != width * rows * channels:
        return ['%d samples, wanted %d' % (len(data), width * rows * channels)]
    for y in range(rows):
        for x in range(width):
            for c in range(channels):
                source = sample(x, y, c, image_bits)
                want = written16(table, source) if out_bits == 16 else transferred(table, source, image_bits)
                got = data[(y * width + x) * channels + c]
                if got != want:
                    return ['pixel %d,%d channel %d: %d, wanted %d (source %d)'
                            % (x, y, c, got, want, sample(x, y, c, image_bits))]
    return []


def read_tiff(path):
    """(width, height, samples per pixel, bits, samples as a flat array) of the first image of a TIFF."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:4] != b'II*\x00':
        raise ValueError('not a little-endian TIFF')
    at, = struct.unpack_from('<I', data, 4)
    count, = struct.unpack_from('<H', data, at)
    tags = {}
    for i in range(count):
        tag, kind, n, value = struct.unpack_from('<HHII', data, at + 2 + 12 * i)
        if kind == 3 and n == 1:
            value &= 0xFFFF
        tags[tag] = (kind, n, value)

    def first(tag):
        kind, n, value = tags[tag]
        if n == 1:
            return value
        return struct.unpack_from('<H' if kind == 3 else '<I', data, value)[0]

    width, height, bits, spp = first(256), first(257), first(258), first(277)
    offset = first(273)
    size = width * height * spp * bits // 8
    samples = np.frombuffer(data[offset:offset + size], dtype='<u2' if bits == 16 else np.uint8)
    if first(259) != 1 or len(samples) * bits // 8 != size:
        raise ValueError('compressed or cut short')
    return width, height, spp, bits, samples
