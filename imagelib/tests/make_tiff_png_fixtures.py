#!/usr/bin/env python3
"""Fixtures of the TIFF and PNG readers, written at test time into a folder:
files that ImageMagick writes, a few changed with libtiff-tools or by a small
chunk editor, and damaged files. Case lists:

tiff_cases.txt:
    <file> <bits> <directory> <width> <height> <expected file>   raw R,G,B or R,G,B,A bytes
    <file> <bits> <directory> error <code>[,<code>...]           the reader refuses the file

The expected TIFF pixels are the raw samples of `tiff2rgba -c none` of the same
file (libtiff's RGBA reader, rows top-down), alpha dropped for 24 bits.

png_cases.txt:
    <file> <bits> <width> <height> <expected file> <tolerance>   R,G,B (8 bits: through the palette) or R,G,B,A
    <file> <bits> error <code>

The expected PNG pixels come from ImageMagick's decoding, or from the
compositing and gamma formulas where the reader applies them.

usage: make_tiff_png_fixtures.py <folder>"""
import os
import struct
import subprocess
import sys
import zlib

W, H = 33, 17
NO_CHUNKS = ['-define', 'png:exclude-chunks=gAMA,cHRM,bKGD,date,time']


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def magick_samples(path, layout):
    return run('convert', path + '[0]', '-depth', '8', layout + ':-')


class Cases:
    def __init__(self, folder, name):
        self.folder, self.name, self.lines = folder, name, []

    def path(self, name):
        return os.path.join(self.folder, name)

    def expect(self, fields, expected_name, data):
        write(self.path(expected_name), bytes(data))
        self.lines.append(' '.join(str(f) for f in fields))

    def error(self, *fields):
        self.lines.append(' '.join(str(f) for f in fields))

    def save(self):
        with open(self.path(self.name), 'w') as f:
            f.write('\n'.join(self.lines) + '\n')


# --- TIFF --------------------------------------------------------------------

def tiff_strips(path, directory):
    """The pixel bytes of one directory of an uncompressed, strip-organised TIFF, as stored."""
    data = open(path, 'rb').read()
    e = '<' if data[:2] == b'II' else '>'
    ifd = struct.unpack(e + 'I', data[4:8])[0]
    for _ in range(directory):
        count = struct.unpack(e + 'H', data[ifd:ifd + 2])[0]
        ifd = struct.unpack(e + 'I', data[ifd + 2 + 12 * count:ifd + 6 + 12 * count])[0]
    count = struct.unpack(e + 'H', data[ifd:ifd + 2])[0]
    tags = {}
    for k in range(count):
        entry = ifd + 2 + 12 * k
        tag, kind, n = struct.unpack(e + 'HHI', data[entry:entry + 8])
        if tag in (273, 279):
            code = 'H' if kind == 3 else 'I'
            size = struct.calcsize(code) * n
            where = entry + 8 if size <= 4 else struct.unpack(e + 'I', data[entry + 8:entry + 12])[0]
            tags[tag] = struct.unpack(e + code * n, data[where:where + size])
    return b''.join(data[o:o + c] for o, c in zip(tags[273], tags[279]))


def tiff_rgba(folder, name, directory):
    """libtiff-tools' RGBA conversion of every page; the asked one's samples."""
    out = os.path.join(folder, f'{name}.rgba.tif')
    run('tiff2rgba', '-c', 'none', os.path.join(folder, name), out)
    return tiff_strips(out, directory)


def tiff_header(width, height, strip_offset, strip_bytes, bits=8, samples=1, photometric=1):
    """A little-endian TIFF of one strip: header, IFD at 8."""
    entries = [(256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, bits), (259, 3, 1, 1),
               (262, 3, 1, photometric), (273, 4, 1, strip_offset), (277, 3, 1, samples),
               (278, 4, 1, height), (279, 4, 1, strip_bytes)]
    ifd = struct.pack('<H', len(entries)) + b''.join(struct.pack('<HHII', *e) for e in entries) + struct.pack('<I', 0)
    return b'II*\0' + struct.pack('<I', 8) + ifd


def tiff(folder):
    c = Cases(folder, 'tiff_cases.txt')
    ppm = os.path.join(folder, 'base.ppm')
    alpha = os.path.join(folder, 'base_alpha.png')
    for name, source, args in (('im_rgb_none.tif', ppm, ['-compress', 'None']),
                               ('im_rgb_lzw.tif', ppm, ['-compress', 'LZW']),
                               ('im_rgb_zip.tif', ppm, ['-compress', 'Zip']),
                               ('im_rgb_packbits.tif', ppm, ['-compress', 'RLE']),
                               ('im_rgb16.tif', ppm, ['-depth', '16']),
                               ('im_grey.tif', ppm, ['-colorspace', 'gray']),
                               ('im_palette.tif', ppm, ['-colors', '20', '-type', 'palette']),
                               ('im_rgba.tif', alpha, []),
                               ('im_tiled.tif', ppm, ['-define', 'tiff:tile-geometry=16x16']),
                               ('im_planar.tif', ppm, ['-interlace', 'Plane']),
                               ('im_resolution.tif', ppm, ['-density', '300', '-units', 'PixelsPerInch'])):
        run('convert', source, *args, c.path(name))
        rgba = tiff_rgba(folder, name, 0)
        c.expect((name, 32, 0, W, H, name + '.32'), name + '.32', rgba)
        c.expect((name, 24, 0, W, H, name + '.24'), name + '.24',
                 [v for p in range(W * H) for v in rgba[4 * p:4 * p + 3]])
    # Two pages of different content: directory 1 is the second, 2 is none.
    run('convert', ppm, '(', ppm, '-negate', '-crop', '20x10+0+0', '+repage', ')', c.path('im_two_pages.tif'))
    second = tiff_rgba(folder, 'im_two_pages.tif', 1)
    c.expect(('im_two_pages.tif', 32, 1, 20, 10, 'im_two_pages.tif.1'), 'im_two_pages.tif.1', second)
    c.error('im_two_pages.tif', 24, 2, 'error', 5)
    # The resolution tags removed again.
    run('cp', c.path('im_resolution.tif'), c.path('im_no_resolution.tif'))
    for tag in ('282', '283'):
        run('tiffset', '-u', tag, c.path('im_no_resolution.tif'))

    # Damaged and refused files.
    whole = open(c.path('im_rgb_none.tif'), 'rb').read()
    write(c.path('bad_not_tiff.tif'), b'This is plain text, not an image.\n' * 4)
    c.error('bad_not_tiff.tif', 24, 0, 'error', 20)
    write(c.path('bad_ifd_past_end.tif'), whole[:4] + struct.pack('<I', len(whole) + 1000) + whole[8:])
    c.error('bad_ifd_past_end.tif', 24, 0, 'error', '20,36')
    pixels = bytes(range(256)) * 3
    write(c.path('bad_strip_past_end.tif'), tiff_header(W, H, 100000, W * H) + pixels)
    c.error('bad_strip_past_end.tif', 24, 0, 'error', '20,36')
    write(c.path('bad_count_past_end.tif'), tiff_header(W, H, 122, 10 ** 9) + pixels[:100])
    c.error('bad_count_past_end.tif', 24, 0, 'error', '20,36')
    write(c.path('huge.tif'), tiff_header(100000, 100000, 122, 4096) + bytes(4096))
    c.error('huge.tif', 32, 0, 'error', '1,20')
    c.error('huge.tif', 24, 0, 'error', '1,20')
    run('convert', ppm, '-compress', 'JPEG', c.path('im_jpeg.tif'))
    c.error('im_jpeg.tif', 24, 0, 'error', 20)
    c.save()


# --- PNG ---------------------------------------------------------------------

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_chunks(path):
    data = open(path, 'rb').read()
    pos, chunks = 8, []
    while pos < len(data):
        n = struct.unpack('>I', data[pos:pos + 4])[0]
        chunks.append((data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]))
        pos += 12 + n
    return chunks


def png_with(chunks, before_idat):
    """The chunks again, with more put in front of the first IDAT."""
    out = b'\x89PNG\r\n\x1a\n'
    for kind, data in chunks:
        if kind == b'IDAT' and before_idat:
            out += b''.join(before_idat)
            before_idat = []
        out += chunk(kind, data)
    return out


def png(folder):
    c = Cases(folder, 'png_cases.txt')
    ppm = os.path.join(folder, 'base.ppm')
    alpha = os.path.join(folder, 'base_alpha.png')

    def magick_png(name, source, *args, chunks=NO_CHUNKS):
        run('convert', source, *args, *chunks, c.path(name))

    def expect(name, bits, data, tolerance=0):
        c.expect((name, bits, W, H, f'{name}.{bits}', tolerance), f'{name}.{bits}', data)

    for depth in (1, 2, 4, 8, 16):
        name = f'im_grey{depth}.png'
        magick_png(name, ppm, '-colorspace', 'gray', '-define', f'png:bit-depth={depth}',
                   '-define', 'png:color-type=0')
        rgb = magick_samples(c.path(name), 'rgb')
        tolerance = 1 if depth == 16 else 0  # 16 bits: libpng keeps the high byte, ImageMagick rounds
        expect(name, 8, rgb, tolerance)
        expect(name, 24, rgb, tolerance)
    magick_png('im_palette.png', ppm, '-colors', '20', '-type', 'palette')
    for bits in (8, 24):
        expect('im_palette.png', bits, magick_samples(c.path('im_palette.png'), 'rgb'))
    for name, args in (('im_rgb8.png', ['-define', 'png:color-type=2', '-depth', '8']),
                       ('im_rgb16.png', ['-define', 'png:color-type=2', '-define', 'png:bit-depth=16']),
                       ('im_adam7.png', ['-define', 'png:color-type=2', '-interlace', 'PNG']),
                       ('im_phys.png', ['-define', 'png:color-type=2', '-units', 'PixelsPerCentimeter', '-density', '40'])):
        magick_png(name, ppm, *args)
        rgb = magick_samples(c.path(name), 'rgb')
        expect(name, 24, rgb, 1 if '16' in name else 0)
        expect(name, 32, [v for p in range(W * H) for v in (*rgb[3 * p:3 * p + 3], 255)], 1 if '16' in name else 0)
    c.error('im_rgb8.png', 8, 'error', 17)
    # Alpha: composited on black at 24 bits, kept at 32.
    for name, args in (('im_rgba.png', ['-define', 'png:color-type=6']),
                       ('im_grey_alpha.png', ['-colorspace', 'gray', '-define', 'png:color-type=4'])):
        magick_png(name, alpha, *args)
        rgba = magick_samples(c.path(name), 'rgba')
        expect(name, 32, rgba)
        composited = [rgba[4 * p + k] * rgba[4 * p + 3] / 255 for p in range(W * H) for k in range(3)]
        expect(name, 24, [int(v + 0.5) for v in composited], 1)
    grey_alpha = magick_samples(c.path('im_grey_alpha.png'), 'rgba')
    expect('im_grey_alpha.png', 8, [int(grey_alpha[4 * p] * grey_alpha[4 * p + 3] / 255 + 0.5)
                                    for p in range(W * H) for _ in range(3)], 1)
    # gAMA 0.45455 and the screen gamma 2.9: brighter than ImageMagick's samples.
    magick_png('im_gamma.png', ppm, '-define', 'png:color-type=2', chunks=['-define',
                                                                          'png:exclude-chunks=cHRM,bKGD,date,time'])
    assert any(kind == b'gAMA' for kind, _ in png_chunks(c.path('im_gamma.png')))
    rgb = magick_samples(c.path('im_gamma.png'), 'rgb')
    expect('im_gamma.png', 24, [round(255 * (v / 255) ** (1 / (0.45455 * 2.9))) for v in rgb], 1)
    # Texts: ImageMagick puts its comment and label after the image; a copy
    # carries two tEXt and a zTXt in front of it.
    magick_png('im_texts.png', ppm, '-set', 'comment', 'A comment', '-set', 'label', 'A label')
    expect('im_texts.png', 24, magick_samples(c.path('im_texts.png'), 'rgb'))
    plain = png_chunks(c.path('im_rgb8.png'))
    write(c.path('gen_texts_front.png'), png_with(plain, [
        chunk(b'tEXt', b'Title\0First text'), chunk(b'tEXt', b'Author\0Second text'),
        chunk(b'zTXt', b'Comment\0\0' + zlib.compress(b'Packed text ' * 20))]))
    expect('gen_texts_front.png', 24, magick_samples(c.path('gen_texts_front.png'), 'rgb'))

    # Damaged files.
    whole = open(c.path('im_rgb8.png'), 'rb').read()
    idat = whole.index(b'IDAT')
    write(c.path('bad_cut_idat.png'), whole[:idat + 40])
    c.error('bad_cut_idat.png', 24, 'error', 15)
    write(c.path('bad_ihdr_crc.png'), whole[:29] + bytes([whole[29] ^ 0xFF]) + whole[30:])
    c.error('bad_ihdr_crc.png', 24, 'error', 15)
    ihdr = struct.pack('>IIBBBBB', 100000, 100000, 8, 2, 0, 0, 0)
    write(c.path('huge.png'), b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
          + chunk(b'IDAT', zlib.compress(bytes(1000))) + chunk(b'IEND', b''))
    c.error('huge.png', 24, 'error', 1)
    write(c.path('empty.png'), b'')
    c.error('empty.png', 24, 'error', 15)
    c.save()


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for extension in ('tif', 'png'):  # the writer tests list their files afresh
        listed = os.path.join(folder, f'written_{extension}.txt')
        if os.path.exists(listed):
            os.remove(listed)
    write(os.path.join(folder, 'base.ppm'), b'P6 %d %d 255\n' % (W, H) + bytes(
        v for y in range(H) for x in range(W) for v in ((x * 7 + y * 3) % 256, (y * 15) % 256, (x * x + y * 5) % 256)))
    run('convert', os.path.join(folder, 'base.ppm'), '(', '-size', f'{H}x{W}', 'gradient:white-black', '-rotate', '90',
        ')', '-alpha', 'off', '-compose', 'CopyOpacity', '-composite', os.path.join(folder, 'base_alpha.png'))
    tiff(folder)
    png(folder)


if __name__ == '__main__':
    main()
