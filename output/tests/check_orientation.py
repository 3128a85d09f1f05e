"""Checks the oriented outputs of the writer test (oriented_KIND_rowN.raw with
its .txt) with numpy: each is the unoriented output (row 0) turned clockwise by
the quarter turns and then mirrored, as the user chose."""
import glob
import os
import sys

import numpy as np


def load(base):
    with open(base + '.txt') as f:
        width, height, spp, bits, mirror_h, mirror_v, turns = map(int, f.read().split())
    raw = np.fromfile(base + '.raw', dtype=np.uint16 if bits == 16 else np.uint8)
    if bits == 1:
        raw = np.unpackbits(raw.reshape(height, -1), axis=1)[:, :width]
    return raw.reshape(height, width, spp), (mirror_h, mirror_v, turns)


def main():
    os.chdir(sys.argv[1])
    failures = checked = 0
    for reference in sorted(glob.glob('oriented_*_row0.txt')):
        kind = reference[len('oriented_'):-len('_row0.txt')]
        image, _ = load(reference[:-4])
        for row in range(1, 16):
            out, (mirror_h, mirror_v, turns) = load('oriented_%s_row%d' % (kind, row))
            want = np.rot90(image, k=-turns, axes=(0, 1))
            if mirror_h:
                want = want[:, ::-1]
            if mirror_v:
                want = want[::-1, :]
            checked += 1
            if want.shape != out.shape or not np.array_equal(want, out):
                failures += 1
                print('%s row %d: not the oriented image' % (kind, row))
    print('%d oriented outputs checked, %d wrong' % (checked, failures))
    if checked == 0:
        print('no outputs found')
        sys.exit(1)
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
