#!/usr/bin/env python3
"""ImageMagick reads every file the writer tests listed in written_<extension>.txt
with the pixels they wrote (their .rgb beside them).

ImageMagick 6.9 cannot read indexed PSD files, not even those it writes
itself; where that holds here, an indexed PSD is left unchecked and said so.

usage: check_written_files.py <folder> <extension>"""
import os
import subprocess
import sys
import tempfile


def magick_reads_own_indexed_psd():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'own.psd')
        subprocess.run(['convert', '-size', '8x8', 'gradient:red-blue', '-colors', '16', '-type', 'palette', path],
                       check=True, capture_output=True)
        return subprocess.run(['convert', path + '[0]', 'rgb:-'], capture_output=True).returncode == 0


def is_indexed_psd(path):
    with open(path, 'rb') as f:
        header = f.read(26)
    return header[:4] == b'8BPS' and header[24:26] == b'\0\2'


def main():
    folder, extension = sys.argv[1], sys.argv[2]
    listed = os.path.join(folder, f'written_{extension}.txt')
    if not os.path.exists(listed):
        print('no written files listed: the writer tests did not run')
        return 1
    failures, checked = [], 0
    own_indexed_psd = None
    with open(listed) as names:
        for line in names:
            name, width, height = line.split()[:3]
            path = os.path.join(folder, name)
            if extension == 'psd' and is_indexed_psd(path):
                if own_indexed_psd is None:
                    own_indexed_psd = magick_reads_own_indexed_psd()
                if not own_indexed_psd:
                    print(f'{name}: not checked: this ImageMagick cannot read indexed PSD files, not even its own')
                    continue
            read = subprocess.run(['convert', path + '[0]', '-depth', '8', 'rgb:-'], capture_output=True)
            with open(path + '.rgb', 'rb') as f:
                expected = f.read()
            checked += 1
            if read.returncode != 0:
                failures.append(f'{name}: ImageMagick cannot read it: {read.stderr.decode().strip()}')
            elif read.stdout != expected:
                failures.append(f'{name}: ImageMagick reads other pixels')
            else:
                print(f'{name}: {width} x {height}, the same pixels')
    for failure in failures:
        print('FAIL', failure)
    if checked == 0:
        print('FAIL no', extension, 'file was written')
    return 1 if failures or checked == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
