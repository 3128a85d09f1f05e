#!/usr/bin/env python3
"""Writes the TIFF fixtures of the reader tests, byte by byte, into the given folder.

Each readable fixture NAME.tif comes with NAME.expect: the u32 values width, height,
samples per pixel and bits per sample, then every sample (row by row, pixel by pixel,
sample by sample) as a little-endian u16, as the generator put it into the file.
Damaged files test the header checks; tiffcp re-writes two fixtures as an
independent check of the tile and byte-order handling.
"""
import os
import shutil
import struct
import subprocess
import sys

BYTE, ASCII, SHORT, LONG, RATIONAL, UNDEFINED = 1, 2, 3, 4, 5, 7
TYPE_SIZE = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, RATIONAL: 8, UNDEFINED: 1}
TYPE_CODE = {BYTE: 'B', ASCII: 'B', SHORT: 'H', LONG: 'I', UNDEFINED: 'B'}


def sample(x, y, c, bits):
    if bits == 16:
        return ((x * 37 + y * 101 + c * 59 + x * y) * 2311 + 12345 + c * 20000) % 65536
    return (x * 37 + y * 101 + c * 59 + x * y * 7) % (1 << bits)


def image(width, height, spp, bits):
    return [[[sample(x, y, c, bits) for c in range(spp)] for x in range(width)] for y in range(height)]


def pack_row(values, bits, endian):
    """Packs a flat list of samples: bytes, 16-bit words, or MSB-first bit fields."""
    if bits == 8:
        return bytes(values)
    if bits == 16:
        return struct.pack(endian + '%dH' % len(values), *values)
    out, acc, used = bytearray(), 0, 0
    for v in values:
        acc = (acc << bits) | v
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


class Tiff:
    """An IFD chain under construction; values are laid out after the image data."""

    def __init__(self, endian='<'):
        self.endian = endian
        self.data = bytearray(b'II*\0' if endian == '<' else b'MM\0*') + b'\0\0\0\0'
        self.ifds = []

    def add_data(self, blob):
        if len(self.data) % 2:
            self.data.append(0)
        offset = len(self.data)
        self.data += blob
        return offset

    def new_ifd(self):
        self.ifds.append({})
        return self.ifds[-1]

    def build(self):
        e = self.endian
        offsets = []
        blobs = []
        # Out-of-line values first, then the IFDs.
        for ifd in self.ifds:
            entries = []
            for tag, (typ, values, count) in sorted((t, v if len(v) == 3 else (v[0], v[1], None))
                                                    for t, v in ifd.items()):
                if isinstance(values, (bytes, bytearray)):
                    raw = bytes(values)
                    n = len(raw) // TYPE_SIZE[typ]
                elif typ == RATIONAL:
                    raw = b''.join(struct.pack(e + 'II', a, b) for a, b in values)
                    n = len(values)
                else:
                    raw = struct.pack(e + '%d%s' % (len(values), TYPE_CODE[typ]), *values)
                    n = len(values)
                if count is not None:
                    n = count
                if len(raw) <= 4:
                    field = raw + b'\0' * (4 - len(raw))
                else:
                    field = struct.pack(e + 'I', self.add_data(raw))
                entries.append((tag, typ, n, field))
            blobs.append(entries)
        for entries in blobs:
            if len(self.data) % 2:
                self.data.append(0)
            offsets.append(len(self.data))
            self.data += struct.pack(e + 'H', len(entries))
            for tag, typ, n, field in entries:
                self.data += struct.pack(e + 'HHI', tag, typ, n) + field
            self.data += b'\0\0\0\0'
        for i, off in enumerate(offsets):
            nxt = offsets[i + 1] if i + 1 < len(offsets) else 0
            struct.pack_into(e + 'I', self.data, off + 2 + 12 * len(blobs[i]), nxt)
        struct.pack_into(e + 'I', self.data, 4, offsets[0])
        return bytes(self.data), offsets


def base_tags(width, height, spp, bits, photometric=None):
    tags = {256: (LONG, [width]), 257: (LONG, [height]), 277: (SHORT, [spp]),
            258: (SHORT, [bits] * spp), 259: (SHORT, [1]),
            262: (SHORT, [photometric if photometric is not None else (1 if spp == 1 else 2)])}
    return tags


def add_strips(tiff, tags, img, bits, rows_per_strip, offset_type=LONG):
    height, width, spp = len(img), len(img[0]), len(img[0][0])
    offsets, counts = [], []
    for first in range(0, height, rows_per_strip):
        blob = b''.join(pack_row([v for px in img[y] for v in px], bits, tiff.endian)
                        for y in range(first, min(first + rows_per_strip, height)))
        offsets.append(tiff.add_data(blob))
        counts.append(len(blob))
    tags[278] = (LONG, [rows_per_strip])
    tags[273] = (offset_type, offsets)
    tags[279] = (LONG, counts)


def add_planar_tiles(tiff, tags, img, bits, tile_width, tile_length):
    height, width, spp = len(img), len(img[0]), len(img[0][0])
    across = (width + tile_width - 1) // tile_width
    down = (height + tile_length - 1) // tile_length
    offsets, counts = [], []
    for plane in range(spp):
        for ty in range(down):
            for tx in range(across):
                values = []
                for y in range(ty * tile_length, (ty + 1) * tile_length):
                    for x in range(tx * tile_width, (tx + 1) * tile_width):
                        inside = y < height and x < width
                        values.append(img[y][x][plane] if inside else 0)
                blob = pack_row(values, bits, tiff.endian)
                offsets.append(tiff.add_data(blob))
                counts.append(len(blob))
    tags.update({284: (SHORT, [2]), 322: (LONG, [tile_width]), 323: (LONG, [tile_length]),
                 324: (LONG, offsets), 325: (LONG, counts)})


def write_expect(path, img, bits):
    height, width, spp = len(img), len(img[0]), len(img[0][0])
    with open(path, 'wb') as f:
        f.write(struct.pack('<4I', width, height, spp, bits))
        f.write(struct.pack('<%dH' % (width * height * spp), *[v for row in img for px in row for v in px]))


def compose(out, name, img, bits, endian, place_data, photometric=None, extra=None, drop=(), counts=None,
            past_end=(), expect=True):
    """One IFD over the image: the data placed by place_data, then tags added, dropped,
    given other counts, or pointed past the end of the file."""
    height, width, spp = len(img), len(img[0]), len(img[0][0])
    tiff = Tiff(endian)
    tags = base_tags(width, height, spp, bits, photometric)
    place_data(tiff, tags)
    tags.update(extra or {})
    for tag in drop:
        del tags[tag]
    for tag, count in (counts or {}).items():
        tags[tag] = (tags[tag][0], tags[tag][1], count)
    tiff.new_ifd().update(tags)
    data, offsets = tiff.build()
    for tag in past_end:
        data = patch_field(data, offsets[0], tag, len(data) + 0x1000, endian)
    open(os.path.join(out, name + '.tif'), 'wb').write(data)
    if expect:
        write_expect(os.path.join(out, name + '.expect'), img, bits)
    return data, offsets


def striped(name, width, height, spp, bits, endian='<', rows_per_strip=3, offset_type=LONG, out='.', **options):
    img = image(width, height, spp, bits)
    place = lambda tiff, tags: add_strips(tiff, tags, img, bits, rows_per_strip, offset_type)
    return compose(out, name, img, bits, endian, place, **options)


def tiled(name, width, height, spp, bits, tile_width, tile_length, endian='<', out='.', **options):
    img = image(width, height, spp, bits)
    place = lambda tiff, tags: add_planar_tiles(tiff, tags, img, bits, tile_width, tile_length)
    return compose(out, name, img, bits, endian, place, **options)


def resources_blob():
    def block(rid, name, payload):
        pname = bytes([len(name)]) + name
        if len(pname) % 2:
            pname += b'\0'
        pad = b'\0' if len(payload) % 2 else b''
        return b'8BIM' + struct.pack('>H', rid) + pname + struct.pack('>I', len(payload)) + payload + pad
    return block(1005, b'', b'\0\x48\0\0' * 4) + block(1033, b'Thumb', b'thumbnail-data!') + block(1039, b'', b'x')


def good_fixtures(out):
    striped('grey8_le', 37, 23, 1, 8, '<', 5, out=out)
    striped('grey8_be', 37, 23, 1, 8, '>', 4, out=out)
    striped('grey8_wide', 150, 4, 1, 8, '<', 2, out=out)
    striped('rgb8_le', 29, 17, 3, 8, '<', 4, out=out)
    striped('rgb8_be_short_offsets', 29, 17, 3, 8, '>', 4, offset_type=SHORT, out=out)
    striped('rgba8_le', 13, 9, 4, 8, '<', 2, out=out)
    striped('grey16_le', 21, 13, 1, 16, '<', 4, out=out)
    striped('grey16_be', 21, 13, 1, 16, '>', 5, out=out)
    striped('rgb16_le', 41, 19, 3, 16, '<', 3, out=out)
    # The raw scans: 48-bit colour, big-endian, one strip per row, with their resolution and texts.
    striped('zir48_be', 64, 40, 3, 16, '>', 1, out=out,
            extra={296: (SHORT, [3]), 282: (RATIONAL, [(300, 1)]), 283: (RATIONAL, [(600, 4)]),
                   269: (ASCII, b'Scan 0042\0'), 315: (ASCII, b'Ab\0')})
    striped('grey1_le', 45, 11, 1, 1, '<', 3, out=out)
    striped('grey2_be', 23, 7, 1, 2, '>', 3, out=out)
    striped('grey4_le', 19, 9, 1, 4, '<', 2, out=out)
    striped('rgb4_be', 11, 5, 3, 4, '>', 2, out=out)
    striped('single_strip_no_counts', 17, 6, 3, 8, '<', 6, drop=(279,), out=out)
    striped('orientation8', 5, 3, 1, 8, '<', 3, extra={274: (SHORT, [8])}, out=out)
    striped('resolution_zero_denominator', 5, 3, 1, 8, '<', 3, extra={282: (RATIONAL, [(300, 0)])}, out=out)
    striped('with_resources', 9, 7, 3, 8, '<', 7, extra={34377: (UNDEFINED, resources_blob())}, out=out)
    tiled('tiled_rgb8', 37, 21, 3, 8, 16, 16, '<', out=out)
    tiled('tiled_rgb16_be', 37, 21, 3, 16, 16, 8, '>', out=out)
    tiled('tiled_grey8', 40, 33, 1, 8, 32, 16, '<', out=out)
    tiled('tiled_big_tiles', 70, 50, 3, 8, 64, 48, '<', out=out)
    # More than one band of a megabyte: the tiles of the first band stay cached.
    tiled('tiled_two_bands', 1100, 1000, 1, 8, 128, 96, '<', out=out)

    # A file whose next-IFD pointer comes back to itself.
    img = image(6, 4, 1, 8)
    tiff = Tiff('<')
    tags = base_tags(6, 4, 1, 8)
    add_strips(tiff, tags, img, 8, 4)
    tags[254] = (LONG, [1])  # never the full image: the walk has to go round
    tiff.new_ifd().update(tags)
    data, offsets = tiff.build()
    data = bytearray(data)
    struct.pack_into('<I', data, offsets[0] + 2 + 12 * len(tags), offsets[0])
    open(os.path.join(out, 'ifd_loop.tif'), 'wb').write(data)

    # Full image and its reduced subimage.
    full, small = image(40, 30, 3, 8), image(10, 7, 1, 8)
    tiff = Tiff('>')
    small_tags = base_tags(10, 7, 1, 8)
    small_tags[254] = (LONG, [1])
    add_strips(tiff, small_tags, small, 8, 3)
    full_tags = base_tags(40, 30, 3, 8)
    full_tags[254] = (LONG, [0])
    add_strips(tiff, full_tags, full, 8, 8)
    tiff.new_ifd().update(small_tags)  # the reduced one first: the full image is found by its type
    tiff.new_ifd().update(full_tags)
    data, _ = tiff.build()
    open(os.path.join(out, 'with_reduced.tif'), 'wb').write(data)
    write_expect(os.path.join(out, 'with_reduced.expect'), full, 8)
    write_expect(os.path.join(out, 'with_reduced_small.expect'), small, 8)

    # The image data ends in the middle of line 7: the IFD comes first, the data after it.
    img = image(20, 10, 1, 8)
    tags = base_tags(20, 10, 1, 8)
    tags.update({278: (LONG, [10]), 279: (LONG, [200]), 273: (LONG, [0])})
    head = Tiff('<')
    head.new_ifd().update(tags)
    raw, offsets = head.build()
    raw = patch_field(raw, offsets[0], 273, len(raw), '<')
    raw += bytes(v for row in img for px in row for v in px)[:20 * 6 + 7]
    open(os.path.join(out, 'truncated_data.tif'), 'wb').write(raw)
    write_expect(os.path.join(out, 'truncated_data.expect'), img, 8)


def patch_field(data, ifd_offset, tag, value, endian):
    """Overwrites the value field of the tag's entry: offsets that point anywhere."""
    data = bytearray(data)
    for i in range(struct.unpack_from(endian + 'H', data, ifd_offset)[0]):
        entry = ifd_offset + 2 + 12 * i
        if struct.unpack_from(endian + 'H', data, entry)[0] == tag:
            struct.pack_into(endian + 'I', data, entry + 8, value)
    return bytes(data)


def damaged_fixtures(out):
    def save(name, data):
        open(os.path.join(out, name + '.tif'), 'wb').write(data)

    def variant(name, spp=1, bits=8, rows=3, **options):
        return striped(name, 8, 6, spp, bits, '<', rows, out=out, expect=False, **options)

    def tiled_variant(name, **options):
        tiled(name, 8, 6, 3, 8, 16, 16, '<', out=out, expect=False, **options)

    good, offsets = variant('plain')
    save('bad_magic', b'XX' + good[2:])
    save('ifd_past_end', good[:4] + struct.pack('<I', len(good) + 100) + good[8:])
    save('truncated_ifd', good[:offsets[0] + 2 + 12 * 3])
    save('header_only', good[:6])
    variant('zero_width', extra={256: (LONG, [0])})
    variant('missing_width', drop=(256,))
    variant('missing_height', drop=(257,))
    variant('zero_height', extra={257: (SHORT, [0])})
    variant('zero_samples', extra={277: (SHORT, [0])})
    variant('five_samples', extra={277: (SHORT, [5])})
    variant('bits_count_one_for_rgb', spp=3, extra={258: (SHORT, [8])})
    variant('mixed_bits', spp=3, bits=16, extra={258: (SHORT, [16, 16, 8])})
    variant('bits_zero', extra={258: (SHORT, [0])})
    variant('bits_twelve', extra={258: (SHORT, [12])})
    variant('bits_thirty_two', extra={258: (SHORT, [32])})
    variant('bits_past_end', spp=3, extra={258: (LONG, [8, 8, 8])}, past_end=(258,))
    variant('photometric_white_is_zero', extra={262: (SHORT, [0])})
    variant('planar_three', extra={284: (SHORT, [3])})
    variant('compression_lzw', extra={259: (SHORT, [5])})
    variant('strips_planar_separate', extra={284: (SHORT, [2])})
    variant('two_strips_no_counts', drop=(279,))
    variant('strip_offsets_count_mismatch', counts={273: 3})
    variant('strip_offsets_huge_count', counts={273: 0x7FFFFFFF})
    variant('strip_table_past_end', rows=2, past_end=(273,))
    variant('strip_offset_past_end', rows=6, extra={273: (LONG, [0x00FFFFFF])})
    variant('width_huge', rows=6, extra={256: (LONG, [0x7FFFFFFF])})
    variant('orientation_five', extra={274: (SHORT, [5])})
    variant('icc_huge_count', extra={34675: (UNDEFINED, b'\0' * 8)}, counts={34675: 0x7FFFFFFF})
    variant('description_past_end', extra={270: (ASCII, b'0123456789\0')}, past_end=(270,))
    variant('resolution_past_end', extra={282: (RATIONAL, [(300, 1)])}, past_end=(282,))
    variant('resources_past_end', extra={34377: (UNDEFINED, resources_blob())}, past_end=(34377,))

    tiled_variant('tiled_chunky', extra={284: (SHORT, [1])})
    tiled_variant('tiled_no_tile_length', drop=(323,))
    tiled_variant('tiled_offsets_count_mismatch', counts={324: 2})
    tiled_variant('tiled_counts_count_mismatch', counts={325: 2})
    tiled_variant('tiled_offset_past_end', extra={324: (LONG, [0x00FFFFFF] * 3)})
    tiled_variant('tiled_huge_tiles', extra={322: (LONG, [0x10000]), 323: (LONG, [6])})
    tiled_variant('tiled_four_bits', extra={258: (SHORT, [4, 4, 4])})


def tiffcp_fixtures(out):
    """Independent writer: libtiff's tiffcp re-writes two of our files."""
    tiffcp = shutil.which('tiffcp')
    if not tiffcp:
        sys.exit('tiffcp is needed for the fixtures')
    jobs = [('rgb8_le', 'tiffcp_tiled_rgb8', ['-p', 'separate', '-t', '-w', '16', '-l', '16']),
            ('rgb16_le', 'tiffcp_rgb16_be', ['-B', '-r', '7'])]
    for source, target, options in jobs:
        subprocess.run([tiffcp, '-c', 'none'] + options + [os.path.join(out, source + '.tif'),
                                                          os.path.join(out, target + '.tif')], check=True)
        shutil.copyfile(os.path.join(out, source + '.expect'), os.path.join(out, target + '.expect'))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    good_fixtures(out)
    damaged_fixtures(out)
    tiffcp_fixtures(out)


if __name__ == '__main__':
    main()
