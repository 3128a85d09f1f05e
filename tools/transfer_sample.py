#!/usr/bin/env python3
"""The first whole transfer: the built data source under Wine, driven by the test host.

usage: transfer_sample.py <wine runner or ""> <bin folder> [--out FOLDER]

In a folder of its own (FOLDER, else a temporary one that is removed) it puts the
module, the test host, the recording source manager and the seeding tool, writes a
generated 8-bit grey TIFF, seeds the settings folder with that image as the device
used last and one frame over all of it, and has the host press Scan and pull the
image once by native transfer (received.bmp) and once by memory transfer
(received.pgm). It checks the host's report, the posting at the source manager,
and the pixels: both files read back by ImageMagick hold the same image, and each
pixel is one and the same rising function of the generator's sample, so every row
and column landed in its place.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from seeded_session import HEIGHT, WIDTH, DPI, prepare, run, sample  # noqa: E402


def grey_pixels(path):
    return subprocess.run(['convert', path, '-depth', '8', 'gray:-'], capture_output=True, check=True).stdout


def check_pixels(native, memory):
    problems = []
    if native != memory:
        problems.append('the bitmap and the memory blocks differ')
    if len(native) != WIDTH * HEIGHT:
        return problems + [f'{len(native)} pixels, wanted {WIDTH * HEIGHT}']
    mapping = {}
    for y in range(HEIGHT):
        for x in range(WIDTH):
            source = sample(x, y)
            value = native[y * WIDTH + x]
            if mapping.setdefault(source, value) != value:
                problems.append(f'pixel {x},{y}: {value}, but source value {source} gave {mapping[source]} before')
                return problems
    values = [mapping[s] for s in sorted(mapping)]
    if any(b < a for a, b in zip(values, values[1:])):
        problems.append('the transferred values do not rise with the source values')
    if values[0] == values[-1]:
        problems.append('every pixel has the same value')
    return problems


def main():
    runner, bin_folder = sys.argv[1], sys.argv[2]
    runner = os.path.abspath(runner) if runner else ""
    keep = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == '--out' else None
    folder = os.path.abspath(keep) if keep else tempfile.mkdtemp(prefix='zir_transfer_')
    problems = [] if prepare(folder, bin_folder, runner) else ['seeding failed']
    log = os.environ['ZIR_FAKEDSM_LOG']
    wanted = ['MSG_XFERREADY seen at the source manager',
              f'image info: {WIDTH}x{HEIGHT}, 1 samples of 8 bits, 8 bits per pixel, pixel type 1, {DPI} x {DPI} dpi, '
              'planar 0, compression 0',
              'MSG_ENDXFER: count 0', 'images transferred: 1', 'all answers as expected']
    for mode, name, extra in (('native', 'received.bmp', ['bitmap: 48x32, 8 bits, 256 colours, 5905 x 5905 pixels per metre']),
                              ('memory', 'received.pgm', ['memory set-up: min 48, max 1536, preferred 1536'])):
        if os.path.exists(log):
            os.remove(log)
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', mode, '--out', name])
        problems += [f'{mode}: missing line: {line}' for line in wanted + extra if line not in lines]
        if not ok:
            problems.append(f'{mode}: the host failed')
    with open(log) as posted:
        if 'MSG=0x0101' not in posted.read():
            problems.append('no MSG_XFERREADY in the source manager log')

    if not problems:
        problems += check_pixels(grey_pixels(os.path.join(folder, 'received.bmp')),
                                 grey_pixels(os.path.join(folder, 'received.pgm')))
    for problem in problems:
        print('FAIL', problem)
    if keep:
        print('received image:', os.path.join(folder, 'received.bmp'))
    else:
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
