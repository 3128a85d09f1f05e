#!/usr/bin/env python3
"""The main window under Wine, in the test host's own window, over a seeded folder with two frames.

usage: main_window_session.py <wine runner or ""> <bin folder> [--keep FOLDER]

1. Prescan (1012 with Alt held) fills the preview: the preview file holds the control's size, and a
   snapshot of the window shows both frame outlines (checker rows at their bottom edges), then Scan
   (1017) brings MSG_XFERREADY and a transfer equal to the generator through the tone tables; after
   MSG_DISABLEDS the window is gone.
2. Enabled again, the window shows the stored preview without a prescan; Cancel (2) brings
   MSG_CLOSEDSREQ and leaves the source open until the host disables it; so does Ctrl+W.
"""
import os
import re
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, finish, prepare, run, sample, session_arguments  # noqa: E402
import transfer_expect  # noqa: E402


def read_bmp(path):
    """(width, height, rows of (r, g, b)) of a 24-bit bottom-up .bmp."""
    with open(path, 'rb') as f:
        data = f.read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = abs(height) - 1 - y if height > 0 else y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rows.append([(row[3 * x + 2], row[3 * x + 1], row[3 * x]) for x in range(width)])
    return width, abs(height), rows


def outline_share(row, left, width):
    """The share of pure black or white pixels along a stretch of a row."""
    pixels = row[left:left + width]
    return sum(1 for p in pixels if p in ((0, 0, 0), (255, 255, 255))) / max(len(pixels), 1)


def check_outlines(shot, lines):
    match = next((re.match(r'source window: preview (\d+)x(\d+) at (\d+),(\d+)', line) for line in lines
                  if line.startswith('source window: preview')), None)
    if not match:
        return ['the host did not report the preview control']
    pw, ph, px, py = map(int, match.groups())
    _, _, rows = read_bmp(shot)
    problems = []
    # Frame i covers the image's rows 0 to HEIGHT - 4i: its outline's bottom row in the control.
    for frame in (0, 1):
        bottom = int(ph * (HEIGHT - 4 * frame) / HEIGHT + 0.5) - 1
        share = outline_share(rows[py + bottom], px + 8, pw - 16)
        if share < 0.9:
            problems.append(f'frame {frame + 1}: no outline on preview row {bottom} ({share:.2f} black or white)')
    inside = outline_share(rows[py + ph // 2], px + 8, pw - 16)
    if inside > 0.5:
        problems.append(f'the middle of the preview shows no image ({inside:.2f} black or white)')
    return problems


def check_same_preview(first, second, lines):
    """The middle row of the preview is the same in both snapshots."""
    if not (os.path.exists(first) and os.path.exists(second)):
        return ['a snapshot is missing']
    match = next((re.match(r'source window: preview (\d+)x(\d+) at (\d+),(\d+)', line) for line in lines
                  if line.startswith('source window: preview')), None)
    if not match:
        return ['the host did not report the preview control']
    pw, ph, px, py = map(int, match.groups())
    rows = [read_bmp(path)[2][py + ph // 2][px:px + pw] for path in (first, second)]
    return [] if rows[0] == rows[1] else ['enabled again, the window does not show the stored preview']


def main():
    runner, bin_folder, folder, kept = session_arguments('zir_window_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3, frames=2) else ['seeding failed']
    log = os.environ['ZIR_FAKEDSM_LOG']

    if not problems:
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'native', '--prescan',
                                         '--snapshot', 'window.bmp', '--out', 'received.bmp'])
        for wanted in ('MSG_XFERREADY seen at the source manager', 'images transferred: 1',
                       'all answers as expected'):
            if wanted not in lines:
                problems.append('scan: missing line: ' + wanted)
        problems += ['scan: ' + line for line in lines if line.startswith('notice:') or line.startswith('FAIL')]
        if not ok:
            problems.append('scan: the host failed')
        previews = os.path.join(folder, 'Quillbrook', 'Previews')
        names = [n for n in os.listdir(previews) if n.startswith('QBprev')] if os.path.isdir(previews) else []
        if not names:
            problems.append('no preview file after the prescan')
        if os.path.exists(os.path.join(folder, 'window.bmp')):
            problems += check_outlines(os.path.join(folder, 'window.bmp'), lines)
        else:
            problems.append('no snapshot of the window')
        if not problems:
            table = transfer_expect.output_table()
            data = transfer_expect.received(os.path.join(folder, 'received.bmp'), 3)
            problems += ['received.bmp: ' + p for p in transfer_expect.check_pixels(data, WIDTH, HEIGHT, 3, 8, table,
                                                                                    sample)]

        os.remove(log)
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel', '--snapshot', 'again.bmp'])
        problems += check_same_preview(os.path.join(folder, 'window.bmp'), os.path.join(folder, 'again.bmp'), lines)
        for wanted in ('MSG_CLOSEDSREQ seen at the source manager', 'MSG_DISABLEDS: rc=0', 'all answers as expected'):
            if wanted not in lines:
                problems.append('cancel: missing line: ' + wanted)
        if not ok:
            problems.append('cancel: the host failed')

        # Ctrl+W, through the accelerator table of the main window, closes it as Cancel does.
        os.remove(log)
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--close-key'])
        if not ok or 'MSG_CLOSEDSREQ seen at the source manager' not in lines:
            problems.append('Ctrl+W: no MSG_CLOSEDSREQ')

    finish(problems, folder, kept)


if __name__ == '__main__':
    main()
