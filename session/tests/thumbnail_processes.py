#!/usr/bin/env python3
"""Two processes share the thumbnail cache: the writer opens the cache and holds it
while the reader asks for the thumbnail. The reader must wait on the named mutex
(the cache file is not shared, so a reader that did not wait could not open it)
and then see the writer's record.

Usage: thumbnail_processes.py WORK_FOLDER PROGRAM [RUNNER...]"""
import os
import shutil
import subprocess
import sys


def main():
    work, program, runner = sys.argv[1], sys.argv[2], sys.argv[3:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with open(os.path.join(work, 'shared.tif'), 'wb') as f:
        f.write(b'an image of some bytes')
    command = runner + [program]
    writer = subprocess.Popen(command + ['write', '1500'], cwd=work, stdout=subprocess.PIPE, text=True)
    first = writer.stdout.readline().strip()
    if first != 'holding':
        writer.wait()
        sys.exit('writer did not get the cache: %r (exit %s)' % (first, writer.returncode))
    reader = subprocess.run(command + ['read'], cwd=work, stdout=subprocess.PIPE, text=True, timeout=120)
    writer.wait(timeout=120)
    if writer.returncode != 0:
        sys.exit('writer failed with %d' % writer.returncode)
    expected = '5x4 %d' % sum((i * 3 + 1) % 256 for i in range(64))
    answer = reader.stdout.strip().splitlines()[-1] if reader.stdout.strip() else ''
    if answer != expected:
        sys.exit('reader saw %r, expected %r' % (answer, expected))
    if not os.path.exists(os.path.join(work, 'QBthumbs(ZIR)')):
        sys.exit('no cache file')
    print('reader waited for the writer and read', answer)


if __name__ == '__main__':
    main()
