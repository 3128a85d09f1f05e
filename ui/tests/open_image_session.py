#!/usr/bin/env python3
"""Prescan without Alt ("Öffnen") under Wine, in the test host's window, over a seeded folder.

usage: open_image_session.py <wine runner or ""> <bin folder>

1. The host answers the open-image dialog with a second, upright image: the session reopens on it,
   the posted prescan writes its preview file and the transfer that follows is upright.
2. The host cancels the dialog, or picks a file that is no image: the first image stays with its
   settings, and the transfer is that of its seeded frame.
3. In a fresh folder the source asks for an image at MSG_ENABLEDS; the host answers, the posted
   prescan writes the preview file, and a second enable shows it without a prescan (the file stays
   as it was).
"""
import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'readers', 'tests'))
from seeded_session import DPI, HEIGHT, WIDTH, finish, prepare, run  # noqa: E402
import make_tiff_fixtures as tiff  # noqa: E402

SECOND_WIDTH, SECOND_HEIGHT = 24, 40


def image_size(lines):
    match = next((re.match(r'image info: (\d+)x(\d+)', line) for line in lines if line.startswith('image info:')),
                 None)
    return tuple(map(int, match.groups())) if match else None


def session(runner, folder, answer, notices_expected=False):
    """Runs the host with the answer; the problems and the transferred image's size."""
    if os.path.exists(os.environ['ZIR_FAKEDSM_LOG']):
        os.remove(os.environ['ZIR_FAKEDSM_LOG'])
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'native', '--open', answer,
                                     '--out', 'received.bmp'])
    problems = [] if ok else ['the host failed']
    problems += [line for line in lines if line.startswith('FAIL')]
    notices = [line for line in lines if line.startswith('notice:')]
    if bool(notices) != notices_expected:
        problems.append('notices: %s' % notices)
    answered = [line for line in lines if line.startswith('open-image: ')]
    if answered != (['open-image: cancelled'] if not answer else answered[:1]) or not answered:
        problems.append('the open-image dialog was not answered as asked: %s' % answered)
    for wanted in ('images transferred: 1', 'all answers as expected'):
        if wanted not in lines:
            problems.append('missing line: ' + wanted)
    return problems, image_size(lines)


def fresh_folder(runner, bin_folder, folder):
    if not prepare(folder, bin_folder, runner, channels=3, seed=False):
        return ['preparing failed']
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'native', '--choose',
                                     os.path.join(folder, 'sample.tif'), '--out', 'received.bmp'])
    problems = [] if ok else ['the host failed']
    problems += [line for line in lines if line.startswith('notice:') or line.startswith('FAIL')]
    if not any(line.startswith('open-image: ') and line.endswith('sample.tif') for line in lines):
        problems.append('the open-image dialog was not answered')
    size = image_size(lines)
    # The default frame over the whole image, at the default frame's resolution.
    if not size or size[0] <= size[1]:
        problems.append(f'the transfer is not of the chosen, wide image ({size})')
    previews = os.path.join(folder, 'Quillbrook', 'Previews')
    names = [n for n in os.listdir(previews) if n.startswith('QBprev')] if os.path.isdir(previews) else []
    if not names:
        return problems + ['no preview file after the posted prescan']
    preview = os.path.join(previews, names[0])
    before = (os.path.getmtime(preview), os.path.getsize(preview))
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel'])
    if not ok or 'MSG_CLOSEDSREQ seen at the source manager' not in lines:
        problems.append('second enable: the host failed')
    if any(line.startswith('open-image') or line.startswith('notice:') for line in lines):
        problems.append('second enable: the source asked again')
    if (os.path.getmtime(preview), os.path.getsize(preview)) != before:
        problems.append('second enable: the preview file was made again')
    return problems


def main():
    runner, bin_folder = sys.argv[1], sys.argv[2]
    runner = os.path.abspath(runner) if runner else ''
    folder = tempfile.mkdtemp(prefix='zir_open_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3) else ['seeding failed']
    if not problems:
        tiff.striped('upright', SECOND_WIDTH, SECOND_HEIGHT, 3, 8, rows_per_strip=5, out=folder, expect=False,
                     extra={296: (tiff.SHORT, [2]), 282: (tiff.RATIONAL, [(DPI, 1)]),
                            283: (tiff.RATIONAL, [(DPI, 1)])})
        second = os.path.join(folder, 'upright.tif')
        found, size = session(runner, folder, second)
        problems += ['open: ' + p for p in found]
        if not size or size[0] >= size[1]:
            problems.append(f'open: the transfer is not of the upright image ({size})')
        prefs = os.listdir(os.path.join(folder, 'Quillbrook', 'Prefs'))
        if not any('upright' in name for name in prefs):
            problems.append(f'open: no settings store of the second image ({prefs})')
        previews = os.path.join(folder, 'Quillbrook', 'Previews')
        names = os.listdir(previews) if os.path.isdir(previews) else []
        if not any(n.startswith('QBprev') and 'upright' in n for n in names):
            problems.append(f'open: no preview file of the second image after the posted prescan ({names})')

        # A fresh seeded folder for each: the first image and its seeded frame stay.
        for what, answer in (('cancel', ''), ('no image', 'broken.tif')):
            shutil.rmtree(folder, ignore_errors=True)
            folder = tempfile.mkdtemp(prefix='zir_open_')
            if not prepare(folder, bin_folder, runner, channels=3):
                problems.append('seeding failed')
                continue
            with open(os.path.join(folder, 'broken.tif'), 'wb') as f:
                f.write(b'II*\0' + bytes(60))
            path = os.path.join(folder, answer) if answer else ''
            found, size = session(runner, folder, path, notices_expected=bool(answer))
            problems += [f'{what}: ' + p for p in found]
            if size != (WIDTH, HEIGHT):
                problems.append(f'{what}: the transfer is not of the first image\'s frame ({size})')

    shutil.rmtree(folder, ignore_errors=True)
    folder = tempfile.mkdtemp(prefix='zir_open_')
    problems += ['fresh folder: ' + p for p in fresh_folder(runner, bin_folder, folder)]

    finish(problems, folder)


if __name__ == '__main__':
    main()
