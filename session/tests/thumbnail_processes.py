#!/usr/bin/env python3
"""Two processes share the thumbnail cache: the writer opens the cache and holds it
until the reader has started and is asking for the thumbnail; only then does the
writer put its record. The reader must wait on the named mutex (the cache file is
not shared, so a reader that did not wait could not open it, and the record does
not exist before the reader asks) and then see the writer's record.

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
    writer = subprocess.Popen(command + ['write'], cwd=work, stdout=subprocess.PIPE, text=True)
    first = writer.stdout.readline().strip()
    if first != 'holding':
        writer.wait()
        sys.exit('writer did not get the cache: %r (exit %s)' % (first, writer.returncode))
    reader = subprocess.Popen(command + ['read'], cwd=work, stdout=subprocess.PIPE, text=True)
    asking = reader.stdout.readline().strip()
    # The writer puts its record only now, while the reader is already asking.
    open(os.path.join(work, 'go'), 'w').close()
    if asking != 'asking':
        writer.wait(timeout=120)
        sys.exit('reader did not start: %r' % asking)
    rest, _ = reader.communicate(timeout=120)
    writer.wait(timeout=120)
    if writer.returncode != 0:
        sys.exit('writer failed with %d' % writer.returncode)
    expected = '5x4 %d' % sum((i * 3 + 1) % 256 for i in range(64))
    answer = rest.strip().splitlines()[-1] if rest.strip() else ''
    if answer != expected:
        sys.exit('reader saw %r, expected %r' % (answer, expected))
    if not os.path.exists(os.path.join(work, 'QBthumbs(ZIR)')):
        sys.exit('no cache file')
    print('reader waited for the writer and read', answer)


if __name__ == '__main__':
    main()
