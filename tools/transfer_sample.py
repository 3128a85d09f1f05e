#!/usr/bin/env python3
"""The first whole transfer: the built data source under Wine, driven by the test host.

usage: transfer_sample.py <wine runner or ""> <bin folder> [--out FOLDER] [--jpeg8 FOLDER]

In a folder of its own (FOLDER, else a temporary one that is removed) it puts the
module, the test host, the recording source manager and the seeding tool, writes a
generated 8-bit RGB TIFF, seeds the settings folder with that image as the device
used last and one frame over all of it, and has the host press Prescan and Scan in
the source's window and pull the image once by native transfer (received.bmp, with
a snapshot of the window, main-window.png) and once by memory transfer
(received.ppm), then has it choose the file mode there, press Scan and answer the
save-as dialog with saved.tif, and with --jpeg8 (the bin folder of the 8-bit JPEG
library build) once more with saved.jpg. It checks the host's report, the posting at the
source manager, and the pixels: the received files, read back by ImageMagick,
and the saved TIFF hold the generator's samples through the tone tables of the
frame (the built-in defaults); djpeg decodes the saved JPEG to exactly what it
decodes from cjpeg's file (quality 90, baseline) of those samples.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'output', 'tests'))
from seeded_session import HEIGHT, WIDTH, DPI, prepare, run, sample  # noqa: E402
import transfer_expect  # noqa: E402
import file_format_cases  # noqa: E402


def option(name):
    """The value given to an option after the two positional arguments, or None."""
    args = sys.argv[3:]
    return args[args.index(name) + 1] if name in args[:-1] else None


def save_jpeg(runner, folder, jpeg8):
    """The sample saved through the file mode as saved.jpg; the problems found in it."""
    path = os.path.join(folder, 'saved.jpg')
    problems = ['jpeg: ' + p for p in file_format_cases.save(runner, folder, path, 'JPEG')]
    if not os.path.exists(path):
        return problems + ['saved.jpg not written']
    try:
        tools = file_format_cases.jpeg_tools(jpeg8, None, runner)
    except file_format_cases.Skipped as missing:
        return problems + ['saved.jpg cannot be checked: %s' % missing]
    return problems + file_format_cases.jpeg_problems(tools, path, file_format_cases.expected_rows(3, 8), 8)


def main():
    runner, bin_folder = sys.argv[1], sys.argv[2]
    runner = os.path.abspath(runner) if runner else ""
    keep = option('--out')
    jpeg8 = option('--jpeg8')
    folder = os.path.abspath(keep) if keep else tempfile.mkdtemp(prefix='zir_transfer_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3) else ['seeding failed']
    log = os.environ['ZIR_FAKEDSM_LOG']
    wanted = ['MSG_XFERREADY seen at the source manager',
              f'image info: {WIDTH}x{HEIGHT}, 3 samples of 8 bits, 24 bits per pixel, pixel type 2, {DPI} x {DPI} dpi, '
              'planar 0, compression 0',
              'MSG_ENDXFER: count 0', 'images transferred: 1', 'all answers as expected']
    window = ['--prescan', '--snapshot', 'main-window.bmp']
    for mode, name, extra, actions in (
            ('native', 'received.bmp', ['bitmap: 48x32, 24 bits, 0 colours, 5905 x 5905 pixels per metre'], window),
            ('memory', 'received.ppm', ['memory set-up: min 144, max 4608, preferred 4608'], [])):
        if os.path.exists(log):
            os.remove(log)
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', mode, '--out', name] + actions)
        problems += [f'{mode}: missing line: {line}' for line in wanted + extra if line not in lines]
        problems += [f'{mode}: unexpected message box: {line}' for line in lines if line.startswith('notice:')]
        if not ok:
            problems.append(f'{mode}: the host failed')
    # The same sample saved through the file mode: the save-as dialog answered with saved.tif.
    xfer_ready_seen = False
    if os.path.exists(log):
        with open(log) as posted:
            xfer_ready_seen = 'MSG=0x0101' in posted.read()
        os.remove(log)
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--files', os.path.join(folder, 'saved.tif')])
    problems += [f'files: missing line: {line}' for line in ('scan mode: Normal (Datei)', 'scan written to files',
                                                             'all answers as expected') if line not in lines]
    if not ok:
        problems.append('files: the host failed')
    if not xfer_ready_seen:
        problems.append('no MSG_XFERREADY in the source manager log of the transfers')

    if jpeg8:
        problems += save_jpeg(runner, folder, os.path.abspath(jpeg8))

    if not problems:
        table = list(range(256))  # the default frame is neutral: the sample's own values
        for name in ('received.bmp', 'received.ppm'):
            data = transfer_expect.received(os.path.join(folder, name), 3)
            problems += [name + ': ' + p for p in transfer_expect.check_pixels(data, WIDTH, HEIGHT, 3, 8, table, sample)]
        saved = os.path.join(folder, 'saved.tif')
        if not os.path.exists(saved):
            problems.append('saved.tif not written')
        else:
            width, height, spp, bits, data = transfer_expect.read_tiff(saved)
            if (width, height, spp, bits) != (WIDTH, HEIGHT, 3, 8):
                problems.append(f'saved.tif: {width}x{height}, {spp} samples of {bits} bits')
            else:
                problems += ['saved.tif: ' + p
                             for p in transfer_expect.check_pixels(data, WIDTH, HEIGHT, 3, 8, table, sample)]
    for problem in problems:
        print('FAIL', problem)
    if keep:
        snapshot = os.path.join(folder, 'main-window.bmp')
        if os.path.exists(snapshot):
            subprocess.run(['convert', snapshot, os.path.join(folder, 'main-window.png')], check=False)
            os.remove(snapshot)
            print('main window:', os.path.join(folder, 'main-window.png'))
        print('received image:', os.path.join(folder, 'received.bmp'))
        print('saved image:', os.path.join(folder, 'saved.tif'))
        if jpeg8:
            print('saved JPEG:', os.path.join(folder, 'saved.jpg'))
    else:
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
