#!/usr/bin/env python3
"""Whole transfers of generated images through the built data source under Wine,
each checked pixel by pixel against the generator through the tone tables.

usage: transfer_cases.py <wine runner or ""> <bin folder> <tone_table_dump> <case>

Cases (see CASES): an 8-bit grey image, a 16-bit RGB image taken as 8 bits, a
batch of three stored frames pressed in the batch mode, and a grey frame whose
master tone curve is a strong gamma; for that one the tone table comes from the
tone engine (tone_table_dump) and the check is that it reaches every pixel.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from seeded_session import DPI, HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import transfer_expect  # noqa: E402

STRONG_GAMMA = 2.5
GRADATION_X = [0, 32, 64, 128, 192, 224, 256]

# name: channels, image bits, frames, curve gamma, transfer mode
CASES = {
    'grey8': (1, 8, 1, 1.0, 'memory'),
    'rgb16': (3, 16, 1, 1.0, 'native'),
    'batch': (1, 8, 3, 1.0, 'native'),
    'strong_gamma': (1, 8, 1, STRONG_GAMMA, 'memory'),
}


def curve_table(dump, runner, folder, gamma):
    """The tone engine's 8-bit table of a block bent as seedprefs bends the master curve."""
    ys = [int(256 * (x / 256) ** (1 / gamma) + 0.5) for x in GRADATION_X]
    with open(os.path.join(folder, 'requests.txt'), 'w') as f:
        f.write('curve 256 %r %s\n' % (transfer_expect.REFLECTIVE_GAMMA, ' '.join(map(str, ys))))
    command = ([runner] if runner else []) + [dump, 'requests.txt', 'answers.txt']
    subprocess.run(command, cwd=folder, check=True)
    with open(os.path.join(folder, 'answers.txt')) as f:
        return [int(v) for v in f.read().split()]


def main():
    runner, bin_folder, dump, case = sys.argv[1:5]
    runner = os.path.abspath(runner) if runner else ''
    channels, image_bits, frames, gamma, mode = CASES[case]
    folder = tempfile.mkdtemp(prefix='zir_case_')
    problems = [] if prepare(folder, bin_folder, runner, channels, image_bits, 8, frames, gamma) else ['seeding failed']
    extension = 'bmp' if mode == 'native' else ('ppm' if channels == 3 else 'pgm')
    args = ['twainhost.exe', 'QB ZIR.ds', '--transfer', mode, '--out', 'received.' + extension]
    if frames > 1:
        args.append('--batch')
    ok, lines = run(runner, folder, args)
    if not ok:
        problems.append('the host failed')

    counts = [frames - 1 - i for i in range(frames)]
    wanted = ['MSG_ENDXFER: count %d' % c for c in counts] + ['images transferred: %d' % frames,
                                                             'all answers as expected']
    if frames > 1:
        wanted.append('notice: Hinweis: Stapel Ende.')
    problems += ['missing line: ' + line for line in wanted if line not in lines]
    problems += ['unexpected message box: ' + line for line in lines if line.startswith('notice:') and line not in wanted]

    curve = curve_table(dump, runner, folder, gamma) if gamma != 1.0 else None
    if curve is not None and curve[64] - 64 < 40:
        problems.append('the curve is hardly bent: entry 64 is %d' % curve[64])
    # A neutral 8-bit frame hands on the generator's own samples.
    neutral = curve is None and image_bits == 8
    table = list(range(256)) if neutral else transfer_expect.output_table(curve, high_bit=image_bits == 16)
    for i in range(frames):
        name = 'received.%s' % extension if i == 0 else 'received-%d.%s' % (i + 1, extension)
        rows = HEIGHT - 4 * i
        if 'image info: %dx%d, %d samples of 8 bits' % (WIDTH, rows, channels) not in ' '.join(lines):
            problems.append('%s: no image info of %d rows' % (name, rows))
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            problems.append(name + ' not written')
            continue
        data = transfer_expect.received(path, channels)
        problems += [name + ': ' + p for p in transfer_expect.check_pixels(data, WIDTH, rows, channels, image_bits,
                                                                            table, sample)]
    shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
