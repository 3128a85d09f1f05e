"""Writes the images of the writer tests into the given folder: the band-producer
images (each NAME.tif with its NAME.expect), an RGB image whose strips after
the third start at the last byte of the file, so that the device delivers fewer
rows than the header announces, and the header of a 40000 x 40000 48-bit image
(9.6 GB of samples) whose strips all point at the same few bytes."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'readers', 'tests'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'session', 'tests'))
import make_scan_fixtures  # noqa: E402
import make_tiff_fixtures as tiff  # noqa: E402

SHORT_STRIPS = 3  # of four rows: 12 rows can be read


def cut_strips(path):
    data = bytearray(open(path, 'rb').read())
    ifd = struct.unpack_from('<I', data, 4)[0]
    for i in range(struct.unpack_from('<H', data, ifd)[0]):
        tag, kind, count, value = struct.unpack_from('<HHII', data, ifd + 2 + 12 * i)
        if tag == 273:
            for strip in range(SHORT_STRIPS, count):
                struct.pack_into('<I', data, value + 4 * strip, len(data) - 1)
    open(path, 'wb').write(bytes(data))


def huge_header(path, size=40000, rows_per_strip=1000):
    strips = size // rows_per_strip
    tags = [(256, 4, 1, size), (257, 4, 1, size), (258, 3, 3, None), (259, 3, 1, 1), (262, 3, 1, 2),
            (273, 4, strips, None), (277, 3, 1, 3), (278, 4, 1, rows_per_strip), (279, 4, strips, None)]
    ifd_size = 2 + 12 * len(tags) + 4
    bits_at = 8 + ifd_size
    offsets_at = bits_at + 6
    counts_at = offsets_at + 4 * strips
    data_at = counts_at + 4 * strips
    pointers = {258: bits_at, 273: offsets_at, 279: counts_at}
    out = bytearray(b'II*\0' + struct.pack('<I', 8) + struct.pack('<H', len(tags)))
    for tag, kind, count, value in tags:
        if value is None:
            out += struct.pack('<HHII', tag, kind, count, pointers[tag])
        elif kind == 3:
            out += struct.pack('<HHIHH', tag, kind, count, value, 0)
        else:
            out += struct.pack('<HHII', tag, kind, count, value)
    out += struct.pack('<I', 0) + struct.pack('<3H', 16, 16, 16)
    out += struct.pack('<%dI' % strips, *([data_at] * strips))
    out += struct.pack('<%dI' % strips, *([rows_per_strip * size * 6] * strips))
    out += bytes(6 * size)  # one row: the reader wants a row to fit in the file
    open(path, 'wb').write(bytes(out))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    sys.argv = [sys.argv[0], out]
    make_scan_fixtures.main()
    tiff.striped('writer_short_rgb24', 29, 40, 3, 8, '<', 4, out=out)
    cut_strips(os.path.join(out, 'writer_short_rgb24.tif'))
    huge_header(os.path.join(out, 'writer_huge_rgb48.tif'))


if __name__ == '__main__':
    main()
