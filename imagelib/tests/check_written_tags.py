#!/usr/bin/env python3
"""The tags and chunks of every file the TIFF and PNG writer tests listed in
written_<extension>.txt, as independent tools see them.

Each line: <file> <width> <height> [<check> ...]
  tif: tiffdump lists the tags; every file has Orientation 1, a Software text
       beginning "Lumirax, using " and libtiff's default RowsPerStrip (strips
       of about 8 KB); a check <tag>=<v>[,<v>...] names the tag's first values.
  png: pngcheck passes every file, which has a tIME chunk; a check gAMA=<value
       x 100000> or gAMA=none, pHYs=<x>,<y>,<unit>.

usage: check_written_tags.py <folder> <extension>"""
import os
import re
import struct
import subprocess
import sys

STRIP_BYTES = 8192  # libtiff's default strip size


def tiff_tags(path):
    """{tag: [values]} from tiffdump (long arrays come cut to their first values)."""
    dump = subprocess.run(['tiffdump', path], check=True, capture_output=True, text=True).stdout
    tags = {}
    for match in re.finditer(r'\((\d+)\) \w+ \(\d+\) \d+<(.*?)(?: \.\.\.)?>$', dump, re.M | re.S):
        tags[int(match.group(1))] = match.group(2).split(' ')
    return tags, dump


def check_tif(path, width, checks):
    tags, dump = tiff_tags(path)
    problems = []
    if tags.get(274) != ['1']:
        problems.append(f'Orientation {tags.get(274)}')
    if 'Software (305) ASCII (2)' not in dump or '<Lumirax, using ' not in dump:
        problems.append('no Software text "Lumirax, using ..."')
    samples = int(tags[277][0]) if 277 in tags else 1
    rows = max(1, STRIP_BYTES // (width * samples))
    if tags.get(278) != [str(rows)]:
        problems.append(f'RowsPerStrip {tags.get(278)} instead of {rows}')
    for check in checks:
        tag, values = check.split('=')
        found = tags.get(int(tag), [])
        wanted = values.split(',')
        if [float(v) for v in found[:len(wanted)]] != [float(v) for v in wanted]:
            problems.append(f'tag {tag}: {found[:len(wanted)]} instead of {wanted}')
    return problems


def png_chunks(path):
    data = open(path, 'rb').read()
    pos, chunks = 8, {}
    while pos + 8 <= len(data):
        n = struct.unpack('>I', data[pos:pos + 4])[0]
        chunks[data[pos + 4:pos + 8].decode('latin-1')] = data[pos + 8:pos + 8 + n]
        pos += 12 + n
    return chunks


def check_png(path, width, checks):
    problems = []
    result = subprocess.run(['pngcheck', '-v', path], capture_output=True, text=True)
    if result.returncode != 0:
        problems.append('pngcheck: ' + result.stdout.strip().splitlines()[-1])
    chunks = png_chunks(path)
    if 'tIME' not in chunks:
        problems.append('no tIME chunk')
    for check in checks:
        kind, value = check.split('=')
        if kind == 'gAMA':
            found = str(struct.unpack('>I', chunks['gAMA'])[0]) if 'gAMA' in chunks else 'none'
        else:
            x, y, unit = struct.unpack('>IIB', chunks.get('pHYs', bytes(9)))
            found = f'{x},{y},{unit}'
        if found != value:
            problems.append(f'{kind} {found} instead of {value}')
    return problems


def main():
    folder, extension = sys.argv[1], sys.argv[2]
    listed = os.path.join(folder, f'written_{extension}.txt')
    if not os.path.exists(listed):
        print('no written files listed: the writer tests did not run')
        return 1
    check = check_tif if extension == 'tif' else check_png
    failed = False
    with open(listed) as lines:
        for line in lines:
            name, width, _height, *checks = line.split()
            problems = check(os.path.join(folder, name), int(width), checks)
            for problem in problems:
                print('FAIL', name + ':', problem)
            if not problems:
                print(f'{name}: tags as written')
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
