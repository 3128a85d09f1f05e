#!/usr/bin/env python3
"""Reads back every metafile that metafile_test listed in written_metafiles.txt
with a reader of the published record layouts: the bitmap of the DIB record
(META_SETDIBTODEV or META_STRETCHDIB in a WMF, EMR_STRETCHDIBITS in an EMF)
must hold the written pixels (their .rgb beside the file) exactly. libwmf's
wmf2gd must render each placeable WMF without complaint.

usage: check_written_metafiles.py <folder>"""
import os
import re
import subprocess
import sys
import tempfile

import metafile_layouts as layouts


def check(path, width, height):
    with open(path, 'rb') as f:
        data = f.read()
    with open(path + '.rgb', 'rb') as f:
        expected = f.read()
    placeable = layouts.read_placeable(data)
    if placeable and placeable[2] != 0:
        return 'the placeable header\'s words do not XOR to 0'
    try:
        found = layouts.emf_dib(data) if path.endswith('.emf') else layouts.wmf_dib(data)
    except (ValueError, IndexError) as error:
        return f'no bitmap: {error}'
    if found[:2] != (width, height):
        return f'a {found[0]} x {found[1]} bitmap, not {width} x {height}'
    if found[2] != expected:
        return 'other pixels'
    if placeable:
        with tempfile.TemporaryDirectory() as folder:
            run = subprocess.run(['wmf2gd', '-o', os.path.join(folder, 'out.png'), path], capture_output=True,
                                 text=True)
        # It reports its progress on stderr as percentages; anything else is a complaint.
        complaint = re.sub(r'[\d%\s\b]', '', run.stderr)
        if run.returncode != 0 or complaint:
            return f'wmf2gd complains: {run.returncode} {run.stderr.strip()}'
    return None


def main():
    folder = sys.argv[1]
    listed = os.path.join(folder, 'written_metafiles.txt')
    if not os.path.exists(listed):
        print('FAIL no written metafiles listed: the writer test did not run')
        return 1
    failures = 0
    with open(listed) as names:
        for line in names:
            name, width, height = line.split()
            problem = check(os.path.join(folder, name), int(width), int(height))
            print(('FAIL ' if problem else '') + name + ': ' + (problem or 'the written pixels'))
            failures += bool(problem)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
