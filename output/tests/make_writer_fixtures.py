"""Writes the images of the writer tests into the given folder: the band-producer
images (each NAME.tif with its NAME.expect), and an RGB image whose strip list
names only its first strips, so that the device delivers fewer rows than the
header announces."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'readers', 'tests'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'session', 'tests'))
import make_scan_fixtures  # noqa: E402
import make_tiff_fixtures as tiff  # noqa: E402

SHORT_ROWS = 12  # three listed strips of four rows


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    sys.argv = [sys.argv[0], out]
    make_scan_fixtures.main()
    tiff.striped('writer_short_rgb24', 29, 40, 3, 8, '<', 4, counts={273: 3, 279: 3}, out=out)


if __name__ == '__main__':
    main()
