#!/usr/bin/env python3
"""The tone engine's tables of a negative frame on film profile 2 (the given
three points), dumped by the tone test tool, against the numpy composition:
the negative gamma table (straight film limits of the defaults), then the
frame's identity curve through the film curve of the profile (scipy's natural
spline model of the negative conversion), read at the gamma table's entries;
the 8-bit table is that composition sampled at 256 entries and reduced to bytes.

usage: negative_tone_check.py <tone_table_dump> [runner...]
"""
import os
import subprocess
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tone', 'tests'))
import tone_reference as tone  # noqa: E402
from negative_curves_reference import build_table, list_bytes  # noqa: E402

WORK = tone.WORK_LEVELS
PROFILE_2 = [[[0] * 6, [16448, 8256] * 3, [32767] * 6]]
EXPOSURE = 0.5  # a new frame's film exposure
# channel, gamma, low and high film limit bytes, 16-bit source
CASES = [(0, 1.8, 20, 235, 0), (1, 2.2, 35, 210, 0), (2, 1.8, 0, 255, 1), (3, 2.2, 50, 200, 1), (1, 1.8, 10, 240, 1)]


def sampled(power, n):
    """The work table read at n entries, full scale at full scale, linear between entries."""
    q = np.arange(n) * (WORK - 1) / (n - 1)
    j = np.floor(q).astype(np.int64)
    f = q - j
    nxt = np.minimum(j + 1, WORK - 1)
    return np.where(f > 0, tone.rounded(power[j] + f * (power[nxt] - power[j])), power[j])


def check(case, answers):
    channel, gamma, low, high, wide = case
    (input_low, input_high), power, got = answers
    problems = []
    straight = tone.negative_table(WORK, gamma, low, high)
    if np.abs(power - straight).max() > 1:
        problems.append('negative gamma table off by %d' % np.abs(power - straight).max())
    curve = list(range(WORK))
    # A 16-bit source takes the film curves without the gamma, an 8-bit one with the current gamma.
    loose = build_table(PROFILE_2, EXPOSURE, curve, input_low, input_high, channel, 0.0 if wide else gamma, 65535)
    curve = np.array(curve)
    index = np.clip(power if wide else sampled(power, 256), 0, WORK - 1)
    want = curve[index] if wide else tone.reduce_work_levels(curve[index])
    if len(got) != len(want):
        return problems + ['%d entries, wanted %d' % (len(got), len(want))]
    # Curve entries the model computes within a hair of a whole number may come out one apart.
    slack = np.isin(index, list(loose)).astype(np.int64)
    bad = np.nonzero(np.abs(got - want) > slack)[0]
    if bad.size:
        i = bad[0]
        problems.append('%d entries differ, first %d: %d, wanted %d' % (bad.size, i, got[i], want[i]))
    if (want == (index if wide else tone.reduce_work_levels(index))).all():
        problems.append('the film curve leaves the table as it was')
    return problems


def main():
    dump, runner = sys.argv[1], sys.argv[2:]
    hex_profile = list_bytes(PROFILE_2).hex()
    with open('negative_tone_requests.txt', 'w') as f:
        for k, (channel, gamma, low, high, wide) in enumerate(CASES):
            f.write('negframe %d %r %d %d %d negative_tone_%d.prf %s\n' % (channel, gamma, low, high, wide, k,
                                                                          hex_profile))
    subprocess.run(runner + [dump, 'negative_tone_requests.txt', 'negative_tone_answers.txt'], check=True)
    with open('negative_tone_answers.txt') as f:
        lines = [np.array(line.split(), dtype=np.int64) for line in f]
    if len(lines) != 3 * len(CASES):
        print('FAIL expected %d answer lines, got %d' % (3 * len(CASES), len(lines)))
        return 1
    failures = 0
    for k, case in enumerate(CASES):
        problems = check(case, lines[3 * k:3 * k + 3])
        for problem in problems:
            print('FAIL %r: %s' % (case, problem))
        failures += bool(problems)
    print('%d cases, %d failed' % (len(CASES), failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
