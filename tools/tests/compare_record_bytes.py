#!/usr/bin/env python3
"""The stored records written by record_bytes in this build tree are the same
bytes as those of every other build tree beside it (build/win32, build/win64,
build/host) that has written them. Skipped (77) when no other build has.

usage: compare_record_bytes.py <this build folder>"""
import glob
import os
import sys

FILES = ['store.prf', 'device.prf', 'app.prf']


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def main():
    mine = os.path.join(os.path.abspath(sys.argv[1]), 'record_bytes')
    others = [folder for folder in sorted(glob.glob(os.path.join(os.path.dirname(os.path.dirname(mine)), '*',
                                                                    'record_bytes')))
              if os.path.abspath(folder) != mine]
    if not others:
        print('no other build has written its records: nothing to compare with')
        return 77
    failures = []
    for folder in others:
        for name in FILES:
            with open(os.path.join(mine, name), 'rb') as f:
                expected = f.read()
            path = os.path.join(folder, name)
            if not os.path.exists(path):
                failures.append(f'{path} is missing')
                continue
            with open(path, 'rb') as f:
                found = f.read()
            if found != expected:
                failures.append(f'{path}: {len(found)} bytes, {len(expected)} here; first difference at byte '
                                f'{first_difference(found, expected)}')
            else:
                print(f'{path}: the same {len(found)} bytes')
    for failure in failures:
        print('FAIL', failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
