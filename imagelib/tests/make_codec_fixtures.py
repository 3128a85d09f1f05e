#!/usr/bin/env python3
"""Fixtures of the TGA, PCX and PSD readers, written at test time into a folder:
files that ImageMagick writes, files that a small generator written from the
formats' layouts makes (each confirmed once by ImageMagick), and files that
must be refused. Each format gets a case list <format>_cases.txt with lines

    <file> <bits> <width> <height> <expected .rgb file>   the pixels read as 24 bits, or through the palette
    <file> <bits> error <code>                            the reader refuses the file

The expected pixels come from ImageMagick's own decoding, except where the
readers' arithmetic differs on purpose (TGA 15/16 bits, PSD CMYK, PCX 1 bit),
where they come from the generator's samples.

usage: make_codec_fixtures.py <folder>"""
import os
import struct
import subprocess
import sys

W, H = 33, 17


def base_rgb(x, y):
    return ((x * 7 + y * 3) % 256, (y * 15) % 256, (x * x + y * 5) % 256)


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def magick(*args):
    subprocess.run(['convert', *args], check=True, capture_output=True)


def magick_rgb(path):
    """ImageMagick's decoding of the file's first image (a PSD's merged one), rows
    top to bottom as the file's orientation says (ImageMagick keeps a TGA's
    bottom-up rows as stored unless asked to orient them)."""
    return subprocess.run(['convert', path + '[0]', '-auto-orient', '-depth', '8', 'rgb:-'], check=True,
                          capture_output=True).stdout


class Cases:
    def __init__(self, folder, fmt):
        self.folder, self.fmt, self.lines = folder, fmt, []

    def path(self, name):
        return os.path.join(self.folder, name)

    def pixels(self, name, bits, rgb, width=W, height=H):
        expected = name + f'.{bits}.rgb'
        write(self.path(expected), bytes(rgb))
        assert len(rgb) == width * height * 3, name
        self.lines.append(f'{name} {bits} {width} {height} {expected}')

    def magick_pixels(self, name, bits=24):
        self.pixels(name, bits, magick_rgb(self.path(name)))

    def error(self, name, bits, code):
        self.lines.append(f'{name} {bits} error {code}')

    def generated(self, name, data, bits, rgb, width=W, height=H, confirm=True):
        """A file of the generator; ImageMagick must read it too."""
        write(self.path(name), data)
        if confirm:
            magick_rgb(self.path(name))
        self.pixels(name, bits, rgb, width, height)

    def save(self):
        with open(self.path(f'{self.fmt}_cases.txt'), 'w') as f:
            f.write('\n'.join(self.lines) + '\n')


def rows_rgb(width, height, colour):
    return [c for y in range(height) for x in range(width) for c in colour(x, y)]


# --- TGA ---------------------------------------------------------------------

def tga_header(image_type, width, height, bits, descriptor=0, id_length=0, map_type=0, first=0, length=0,
               entry_bits=0):
    return struct.pack('<BBBHHBHHHHBB', id_length, map_type, image_type, first, length, entry_bits, 0, 0, width,
                       height, bits, descriptor)


def tga_565(v):
    return ((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3)


def tga(folder):
    c = Cases(folder, 'tga')
    ppm = path_ppm(folder)
    for name, args in (('im_t2_bottom.tga', ['-type', 'truecolor']),
                       ('im_t2_top.tga', ['-type', 'truecolor', '-orient', 'TopLeft']),
                       ('im_t10.tga', ['-type', 'truecolor', '-compress', 'RLE']),
                       ('im_t32.tga', ['-alpha', 'set', '-channel', 'A', '-evaluate', 'set', '50%', '+channel']),
                       ('im_t3.tga', ['-colorspace', 'gray', '-type', 'grayscale']),
                       ('im_t11.tga', ['-colorspace', 'gray', '-type', 'grayscale', '-compress', 'RLE'])):
        magick(ppm, *args, c.path(name))
        c.magick_pixels(name)
    for name, args in (('im_t1.tga', ['-colors', '20', '-type', 'palette']),
                       ('im_t9.tga', ['-colors', '20', '-type', 'palette', '-compress', 'RLE'])):
        magick(ppm, *args, c.path(name))
        c.magick_pixels(name)
        c.magick_pixels(name, 8)
    c.error('im_t2_bottom.tga', 8, 28)

    # 16 and 15 bits: the low bits stay clear; 0x7FFF is 248, 248, 248.
    words = [0x7FFF if (x + y) % 5 == 0 else (x * 997 + y * 31) & 0x7FFF for y in range(H) for x in range(W)]
    bottom_up = [words[(H - 1 - y) * W + x] for y in range(H) for x in range(W)]
    c.generated('gen_t16.tga', tga_header(2, W, H, 16) + struct.pack(f'<{W * H}H', *bottom_up), 24,
                [v for w in words for v in tga_565(w)])
    # Type 10, 15 bits, top-down, an ID field; repeat packets of 50 pixels run across rows.
    body = b''
    left = W * H
    i = 0
    while left:
        n = min(50, left)
        body += bytes([0x80 | (n - 1)]) + struct.pack('<H', (i * 1234) & 0x7FFF)
        i += 1
        left -= n
    expected = [tga_565(((p // 50) * 1234) & 0x7FFF) for p in range(W * H)]
    c.generated('gen_t10_runs.tga', tga_header(10, W, H, 15, 0x20, id_length=5) + b'hello' + body, 24,
                [v for colour in expected for v in colour])
    # A map whose first index is 2 (entries 0 and 1 have none: black), 24-bit entries.
    entries = [(10, 20, 30), (40, 50, 60), (70, 80, 90), (200, 210, 220)]
    index = [(x + y) % 6 for y in range(H) for x in range(W)]
    cmap = b''.join(bytes([b, g, r]) for r, g, b in entries)
    table = {2 + k: e for k, e in enumerate(entries)}
    rgb = [v for i in index for v in table.get(i, (0, 0, 0))]
    data = tga_header(1, W, H, 8, 0x20, map_type=1, first=2, length=4, entry_bits=24) + cmap + bytes(index)
    c.generated('gen_t1_first.tga', data, 24, rgb)
    c.pixels('gen_t1_first.tga', 8, rgb)
    # A map that runs past entry 255: what lands beyond is read and dropped.
    entries = [(k, 255 - k, 7) for k in range(10)]
    cmap = b''.join(bytes([b, g, r]) for r, g, b in entries)
    index = [250 + (x + y) % 6 for y in range(H) for x in range(W)]
    data = tga_header(1, W, H, 8, 0x20, map_type=1, first=250, length=10, entry_bits=24) + cmap + bytes(index)
    c.generated('gen_t1_past_end.tga', data, 8, [v for i in index for v in entries[i - 250]], confirm=False)
    # Refused: unknown types and depths, a map entry size of 12, cut files.
    write(c.path('bad_type5.tga'), tga_header(5, W, H, 24) + bytes(W * H * 3))
    c.error('bad_type5.tga', 24, 32)
    write(c.path('bad_depth12.tga'), tga_header(2, W, H, 12) + bytes(W * H * 2))
    c.error('bad_depth12.tga', 24, 32)
    write(c.path('bad_entry12.tga'), tga_header(1, W, H, 8, map_type=1, length=4, entry_bits=12) + bytes(8 + W * H))
    c.error('bad_entry12.tga', 24, 32)
    c.error('bad_entry12.tga', 8, 32)
    write(c.path('no_map.tga'), tga_header(1, W, H, 8) + bytes(W * H))
    c.error('no_map.tga', 8, 32)
    whole = open(c.path('im_t2_bottom.tga'), 'rb').read()
    write(c.path('cut_header.tga'), whole[:10])
    c.error('cut_header.tga', 24, 3)
    write(c.path('cut_pixels.tga'), whole[:18 + W * 3 * 5])
    c.error('cut_pixels.tga', 24, 3)
    write(c.path('huge.tga'), tga_header(2, 65535, 65535, 24) + bytes(64))
    c.error('huge.tga', 24, 1)
    c.save()


# --- PCX ---------------------------------------------------------------------

def pcx_header(bits, planes, width, height, bpl, version=5, palette16=b'', xmin=0):
    return (struct.pack('<BBBBHHHHHH', 10, version, 1, bits, xmin, 0, xmin + width - 1, height - 1, 72, 72)
            + palette16.ljust(48, b'\0') + bytes([0, planes]) + struct.pack('<HH', bpl, 1) + bytes(58))


def pcx_encode(line):
    out = bytearray()
    i = 0
    while i < len(line):
        run = 1
        while i + run < len(line) and run < 63 and line[i + run] == line[i]:
            run += 1
        if run > 1 or line[i] >= 0xC0:
            out.append(0xC0 | run)
        out.append(line[i])
        i += run
    return bytes(out)


def pack_bits_row(values, bits, bpl):
    out = bytearray(bpl)
    per = 8 // bits
    for x, v in enumerate(values):
        out[x // per] |= v << (8 - bits * (x % per + 1))
    return bytes(out)


def pcx(folder):
    c = Cases(folder, 'pcx')
    ppm = path_ppm(folder)
    magick(ppm, '-colors', '20', '-type', 'palette', c.path('im_p8.pcx'))
    c.magick_pixels('im_p8.pcx')
    c.magick_pixels('im_p8.pcx', 8)
    magick(ppm, '-type', 'truecolor', c.path('im_p24.pcx'))
    c.magick_pixels('im_p24.pcx')
    c.error('im_p24.pcx', 8, 28)

    header16 = bytes(v for k in range(16) for v in (k * 16, 255 - k * 16, (k * 40) % 256))
    colour16 = [(k * 16, 255 - k * 16, (k * 40) % 256) for k in range(16)]
    value = lambda x, y, d: (x * 3 + y) % (1 << d)  # noqa: E731
    # 1 bit: black and white whatever the header says.
    bpl = 6
    body = b''.join(pcx_encode(pack_bits_row([value(x, y, 1) for x in range(W)], 1, bpl)) for y in range(H))
    c.generated('gen_p1.pcx', pcx_header(1, 1, W, H, bpl, palette16=header16) + body, 24,
                rows_rgb(W, H, lambda x, y: (255,) * 3 if value(x, y, 1) else (0,) * 3))
    # 2 and 4 bits in one plane: the header's colours.
    for d, bpl in ((2, 10), (4, 18)):
        body = b''.join(pcx_encode(pack_bits_row([value(x, y, d) for x in range(W)], d, bpl)) for y in range(H))
        name = f'gen_p{d}.pcx'
        c.generated(name, pcx_header(d, 1, W, H, bpl, palette16=header16) + body, 24,
                    rows_rgb(W, H, lambda x, y: colour16[value(x, y, d)]))
        c.pixels(name, 8, rows_rgb(W, H, lambda x, y: colour16[value(x, y, d)]))
    # Four 1-bit planes: bit k of a pixel from plane k.
    bpl = 6
    body = b''
    for y in range(H):
        line = b''.join(pack_bits_row([value(x, y, 4) >> k & 1 for x in range(W)], 1, bpl) for k in range(4))
        body += pcx_encode(line)
    c.generated('gen_p4planes.pcx', pcx_header(1, 4, W, H, bpl, palette16=header16) + body, 24,
                rows_rgb(W, H, lambda x, y: colour16[value(x, y, 4)]))
    # 8 bits without a trailer (older versions, or version 5 cut short): a grey ramp.
    bpl = 34
    body = b''.join(pcx_encode(bytes(value(x, y, 8) for x in range(W)) + b'\0') for y in range(H))
    grey = rows_rgb(W, H, lambda x, y: (value(x, y, 8),) * 3)
    for version in (0, 2, 3, 5):
        name = f'gen_p8_v{version}.pcx'
        c.generated(name, pcx_header(8, 1, W, H, bpl, version=version) + body, 24, grey, confirm=False)
        c.pixels(name, 8, grey)
    # Refused headers and layouts.
    for version in (1, 4):
        write(c.path(f'bad_v{version}.pcx'), pcx_header(8, 1, W, H, bpl, version=version) + body)
        c.error(f'bad_v{version}.pcx', 24, 22)
    for name, header, code in (('bad_3x1.pcx', pcx_header(1, 3, W, H, 6), 28),
                               ('bad_2x8.pcx', pcx_header(8, 2, W, H, 34), 28),
                               ('bad_bpl.pcx', pcx_header(8, 1, W, H, 20), 22),
                               ('bad_planes.pcx', pcx_header(8, 0, W, H, 34), 22),
                               ('bad_xmax.pcx', pcx_header(8, 1, 1, H, 34, xmin=5)[:8] + struct.pack('<H', 3)
                                + pcx_header(8, 1, 1, H, 34)[10:], 22),
                               ('cut_header.pcx', pcx_header(8, 1, W, H, 34)[:60], 22)):
        write(c.path(name), header + (body if len(header) == 128 else b''))
        c.error(name, 24, code)
    write(c.path('cut_pixels.pcx'), pcx_header(8, 1, W, H, bpl) + body[:len(body) // 2])
    c.error('cut_pixels.pcx', 24, 3)
    write(c.path('huge.pcx'), pcx_header(8, 3, 65535, 65535, 65535) + body)
    c.error('huge.pcx', 24, 1)
    c.save()


# --- PSD ---------------------------------------------------------------------

def psd_header(channels, width, height, depth, mode, version=1):
    return b'8BPS' + struct.pack('>H6xHIIHH', version, channels, height, width, depth, mode)


def psd_file(header, rows, colour_data=b'', compression=0, packed_rows=None):
    body = header + struct.pack('>I', len(colour_data)) + colour_data + struct.pack('>II', 0, 0)
    if compression == 0:
        return body + struct.pack('>H', 0) + b''.join(rows)
    counts = b''.join(struct.pack('>H', len(r)) for r in packed_rows)
    return body + struct.pack('>H', 1) + counts + b''.join(packed_rows)


def pack_literal(row):
    """PackBits made of literal pieces of at most 128 bytes."""
    return b''.join(bytes([len(row[i:i + 128]) - 1]) + row[i:i + 128] for i in range(0, len(row), 128))


def psd(folder):
    c = Cases(folder, 'psd')
    ppm = path_ppm(folder)
    for name, args in (('im_rgb_rle.psd', ['-compress', 'RLE']),
                       ('im_rgb_raw.psd', ['-compress', 'none']),
                       ('im_rgba.psd', ['-alpha', 'opaque']),
                       ('im_grey.psd', ['-colorspace', 'gray'])):
        magick(ppm, *args, c.path(name))
        c.magick_pixels(name)
    c.magick_pixels('im_grey.psd', 8)
    magick(ppm, '-type', 'bilevel', '-depth', '1', '-compress', 'RLE', c.path('im_bitmap.psd'))
    c.magick_pixels('im_bitmap.psd')
    c.magick_pixels('im_bitmap.psd', 8)
    magick(ppm, '-type', 'bilevel', '-depth', '1', '-compress', 'none', c.path('im_bitmap_raw.psd'))
    c.error('im_bitmap_raw.psd', 24, 47)
    magick(ppm, '-depth', '16', c.path('im_rgb16.psd'))
    c.error('im_rgb16.psd', 24, 47)
    # CMYK: red = C x K / 255 of the stored bytes, which hold 255 - ink.
    magick(ppm, '-colorspace', 'cmyk', c.path('im_cmyk.psd'))
    inks = subprocess.run(['convert', c.path('im_cmyk.psd') + '[0]', '-depth', '8', 'cmyk:-'], check=True,
                          capture_output=True).stdout
    rgb = []
    for p in range(W * H):
        cc, m, y, k = (255 - v for v in inks[4 * p:4 * p + 4])
        rgb += [cc * k // 255, m * k // 255, y * k // 255]
    c.pixels('im_cmyk.psd', 24, rgb)
    c.error('im_cmyk.psd', 8, 28)

    grey = lambda x, y: (x * 5 + y * 11) % 256  # noqa: E731
    rows = [bytes(grey(x, y) for x in range(W)) for y in range(H)]
    ramp = rows_rgb(W, H, lambda x, y: (grey(x, y),) * 3)
    # Indexed: 256 reds, greens and blues in the colour data. (ImageMagick
    # cannot read its own indexed files back, so it does not write this one.)
    palette = [((i * 37) % 256, (i * 101) % 256, 255 - i) for i in range(256)]
    colour_data = bytes(p[0] for p in palette) + bytes(p[1] for p in palette) + bytes(p[2] for p in palette)
    indexed = rows_rgb(W, H, lambda x, y: palette[grey(x, y)])
    c.generated('gen_indexed.psd', psd_file(psd_header(1, W, H, 8, 2), rows, colour_data=colour_data), 24, indexed,
                confirm=False)
    c.pixels('gen_indexed.psd', 8, indexed)
    # Duotone: the grey ramp, its colour data skipped.
    c.generated('gen_duotone.psd', psd_file(psd_header(1, W, H, 8, 8), rows, colour_data=bytes(range(40))), 24,
                ramp, confirm=False)
    # PackBits with -128 bytes between the pieces, and a repeat run.
    packed = [b'\x80' + pack_literal(r[:20]) + b'\x80' + bytes([256 - 12, r[20]]) for r in rows]
    rows_runs = [r[:20] + bytes([r[20]]) * 13 for r in rows]
    c.generated('gen_packbits_128.psd', psd_file(psd_header(1, W, H, 8, 1), None, compression=1, packed_rows=packed),
                24, [v for r in rows_runs for b in r for v in (b, b, b)])
    # Indexed with too short a colour table: the grey ramp.
    c.generated('gen_short_colours.psd', psd_file(psd_header(1, W, H, 8, 2), rows, colour_data=bytes(300)), 24,
                ramp, confirm=False)
    # Refused files.
    plain = psd_file(psd_header(1, W, H, 8, 1), rows)
    for name, data, code in (
            ('bad_version.psd', psd_file(psd_header(1, W, H, 8, 1, version=2), rows), 46),
            ('bad_signature.psd', b'8BPX' + plain[4:], 46),
            ('bad_mode9.psd', psd_file(psd_header(3, W, H, 8, 9), rows * 3), 47),
            ('bad_bitmap8.psd', psd_file(psd_header(1, W, H, 8, 0), rows), 47),
            ('bad_grey1.psd', psd_file(psd_header(1, W, H, 1, 1), rows), 47),
            ('bad_channels.psd', psd_file(psd_header(2, W, H, 8, 3), rows * 2), 47),
            ('bad_width0.psd', psd_file(psd_header(1, 0, H, 8, 1), rows), 47),
            ('bad_compression.psd', plain[:-W * H - 2] + struct.pack('>H', 2) + plain[-W * H:], 3),
            ('bad_run_past_row.psd', psd_file(psd_header(1, W, H, 8, 1), None, compression=1,
                                              packed_rows=[bytes([256 - 40, 7])] * H), 3),
            ('bad_counts_past_end.psd', psd_file(psd_header(1, W, H, 8, 1), None, compression=1,
                                                 packed_rows=[pack_literal(r) for r in rows])[:-40], 3),
            ('cut_header.psd', plain[:20], 3),
            ('cut_pixels.psd', plain[:-100], 3),
            ('huge.psd', psd_file(psd_header(3, 0xFFFFFFFF, 0xFFFFFFFF, 8, 3), []), 1)):
        write(c.path(name), data)
        c.error(name, 24, code)
    c.save()


def path_ppm(folder):
    return os.path.join(folder, 'base.ppm')


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for extension in ('tga', 'pcx', 'psd'):  # the writer tests list their files afresh
        listed = os.path.join(folder, f'written_{extension}.txt')
        if os.path.exists(listed):
            os.remove(listed)
    write(path_ppm(folder), b'P6 %d %d 255\n' % (W, H) + bytes(rows_rgb(W, H, base_rgb)))
    tga(folder)
    pcx(folder)
    psd(folder)


if __name__ == '__main__':
    main()
