"""Checks the files of the Windows job run (job_run/ with its expect.txt) with
numpy: each TIFF holds its generated image's samples (NAME.expect; 8-bit
samples through the reader's output table of the default tone), turned
clockwise by the quarter turns and then mirrored, as its entry asked.
    check_job_outputs.py <fixtures folder>"""
import os
import sys

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import transfer_expect  # noqa: E402


def load_expect(path):
    header = np.fromfile(path, dtype='<u4', count=4)
    width, height, spp, bits = (int(v) for v in header)
    samples = np.fromfile(path, dtype='<u2', offset=16)
    return samples.reshape(height, width, spp), bits


def main():
    fixtures = sys.argv[1]
    folder = os.path.join(fixtures, 'job_run')
    with open(os.path.join(folder, 'expect.txt')) as f:
        entries = [line.split('\t') for line in f.read().splitlines()]
    failures = 0
    table8 = transfer_expect.output_table()
    for name, image, mirror_h, turns in entries:
        want, bits = load_expect(os.path.join(fixtures, image + '.expect'))
        if bits == 8:
            want = table8[want]
            if want.shape[2] == 3:  # 8-bit colour frames are cut to even sizes
                want = want[:want.shape[0] & ~1, :want.shape[1] & ~1]
        want = np.rot90(want, k=-int(turns), axes=(0, 1))
        if int(mirror_h):
            want = want[:, ::-1]
        width, height, spp, file_bits, samples = transfer_expect.read_tiff(os.path.join(folder, name))
        got = samples.reshape(height, width, spp)
        if file_bits != bits or got.shape != want.shape or not np.array_equal(got, want):
            failures += 1
            print('%s: not %s as its entry asks (%dx%dx%d of %d bits)' % (name, image, width, height, spp, file_bits))
    print('%d job files checked, %d wrong' % (len(entries), failures))
    sys.exit(1 if failures or len(entries) != 7 else 0)


if __name__ == '__main__':
    main()
