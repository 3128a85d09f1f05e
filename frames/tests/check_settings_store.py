#!/usr/bin/env python3
"""The application store that the frame page's settings combo wrote under
Wine, read by the independent store reader: one "Set1" record named "Dias"
of exactly 2080 bytes, a version-6 frame.

usage: check_settings_store.py STORE"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'foundation', 'tests'))
from record_store_reader import read_store  # noqa: E402


def main(path):
    records, problems = read_store(path)
    settings = [r for r in records if r['type'] == b'Set1']
    if [r['name'] for r in settings] != [b'Dias']:
        problems.append('settings records: %s' % [r['name'] for r in settings])
    elif len(settings[0]['data']) != 2080 or struct.unpack_from('<I', settings[0]['data'])[0] != 6:
        problems.append('the record holds %d bytes' % len(settings[0]['data']))
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
