#!/usr/bin/env python3
"""The CMYK conversion tables the data source sampled from the test printer
profile (through the host's lcms2-backed module double) against transicc at
the same grid: every forward ink, reverse L*a*b* and black-ramp byte within
one level.

usage: cmyk_sampling_check.py <dump of forward, reverse and gamut tables> <profile>
Exit 77 (skipped) without transicc or without the dump."""
import os
import shutil
import sys

import numpy as np

import cmyk_reference

SKIP = 77


def main():
    dump, profile = sys.argv[1:3]
    if not shutil.which('transicc'):
        print('transicc missing (liblcms2-utils): skipped')
        return SKIP
    if not os.path.exists(dump):
        print('no sampled tables (%s): skipped' % dump)
        return SKIP
    data = np.frombuffer(open(dump, 'rb').read(), dtype=np.uint8).astype(np.int64)
    forward = data[:cmyk_reference.FORWARD_BYTES]
    reverse = data[cmyk_reference.FORWARD_BYTES:cmyk_reference.FORWARD_BYTES + cmyk_reference.REVERSE_BYTES]
    want_forward, want_reverse = (t.astype(np.int64) for t in cmyk_reference.sample_profile(profile))
    problems = []
    grid = cmyk_reference.REVERSE_BYTES - 768
    for name, got, want in (('forward', forward, want_forward), ('reverse', reverse[:grid], want_reverse[:grid]),
                            ('black ramp', reverse[grid:], want_reverse[grid:])):
        worst = int(np.abs(got - want).max())
        print('%s: %d bytes, largest difference from transicc %d' % (name, got.size, worst))
        if worst > 1:
            at = int(np.argmax(np.abs(got - want)))
            problems.append('%s byte %d: %d, transicc %d' % (name, at, got[at], want[at]))
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
