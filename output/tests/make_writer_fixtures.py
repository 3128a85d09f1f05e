"""Writes the images of the writer tests into the given folder: the band-producer
images (each NAME.tif with its NAME.expect), and an RGB image whose strips after
the third start at the last byte of the file, so that the device delivers fewer
rows than the header announces."""
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


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    sys.argv = [sys.argv[0], out]
    make_scan_fixtures.main()
    tiff.striped('writer_short_rgb24', 29, 40, 3, 8, '<', 4, out=out)
    cut_strips(os.path.join(out, 'writer_short_rgb24.tif'))


if __name__ == '__main__':
    main()
