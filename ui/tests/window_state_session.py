#!/usr/bin/env python3
"""The main window's stored place and size under Wine, read back by the independent store reader.

usage: window_state_session.py <wine runner or ""> <bin folder> [--keep FOLDER]

1. Enabled and cancelled: the window opens at slot 0's default (282, 10); after MSG_DISABLEDS the
   application store holds "DPOS" (400 bytes, slot 0 where the window stood) and "DSiz" of the
   reflective mode with a scan area wider than high (50 + 1000) with the preview control's size.
2. The stored place moved to (150, 60) and the stored preview made 40 pixels lower (keeping the
   scan area's proportions): enabled again, the window opens there at that size.
3. The window's corner dragged to 2000 x 2000, beyond the screen: the window stays within the work
   area, the preview grows keeping the scan area's proportions, and "DSiz" holds its new size.
"""
import glob
import os
import re
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'foundation', 'tests'))
from record_store_reader import read_store  # noqa: E402
from seeded_session import HEIGHT, WIDTH, finish, prepare, run, session_arguments  # noqa: E402

ENTRY = struct.Struct('<B3s4siII')
NAME = 64


def find_record(folder, rtype, rid):
    """(path, data offset, data) of the record in any store under the folder, or None."""
    for path in glob.glob(os.path.join(folder, '**', '*.prf'), recursive=True):
        records, problems = read_store(path)
        if problems:
            continue
        for record in records:
            if record['type'] == rtype and record['id'] == rid:
                with open(path, 'rb') as f:
                    blob = f.read(20000)
                _, _, _, _, offset, _ = ENTRY.unpack_from(blob, record['slot'] * ENTRY.size)
                return path, offset + NAME, record['data']
    return None


def overwrite(path, offset, data):
    with open(path, 'r+b') as f:
        f.seek(offset)
        f.write(data)


def window_report(lines):
    """((x, y) of the window, (width, height) of the preview) as the host reports them."""
    place = next((re.match(r'source window: placed at (-?\d+),(-?\d+)', l) for l in lines
                  if l.startswith('source window: placed')), None)
    size = next((re.match(r'source window: preview (\d+)x(\d+)', l) for l in lines
                 if l.startswith('source window: preview')), None)
    if not place or not size:
        return None, None
    return tuple(map(int, place.groups())), tuple(map(int, size.groups()))


def check_resize(runner, folder, size):
    """Drags the window's corner beyond the screen; the problems."""
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel', '--resize', '2000', '2000'])
    sized = next((re.match(r'source window: resized to (\d+)x(\d+), preview (\d+)x(\d+)', l) for l in lines
                  if l.startswith('source window: resized')), None)
    if not ok or not sized:
        return ['third run: the host failed or reported no resize']
    width, height, preview_width, preview_height = map(int, sized.groups())
    problems = []
    if width >= 2000 or height >= 2000:
        problems.append(f'third run: the window took the dragged size {width}x{height} beyond the work area')
    if preview_width <= size[0]:
        problems.append(f'third run: the preview did not grow ({preview_width}x{preview_height} after {size})')
    if abs(preview_height - preview_width * HEIGHT / WIDTH) > 1:
        problems.append(f'third run: the preview {preview_width}x{preview_height} lost the proportions {WIDTH}:{HEIGHT}')
    dialog_size = find_record(folder, b'DSiz', 1050)
    if not dialog_size or struct.unpack_from('<ii', dialog_size[2], 4) != (preview_width, preview_height):
        problems.append('third run: DSiz does not hold the dragged preview size')
    return problems


def main():
    runner, bin_folder, folder, kept = session_arguments('zir_place_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3, frames=1) else ['seeding failed']

    if not problems:
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel'])
        place, size = window_report(lines)
        if not ok or place is None:
            problems.append('first run: the host failed or reported no window')
        else:
            if place != (282, 10):
                problems.append(f'first run: the window opened at {place}, not at (282, 10)')
            positions = find_record(folder, b'DPOS', 16000)
            dialog_size = find_record(folder, b'DSiz', 1050)
            if not positions or len(positions[2]) != 400:
                problems.append('no DPOS record of 400 bytes')
            elif struct.unpack_from('<ii', positions[2], 0) != place:
                problems.append(f'DPOS slot 0 is {struct.unpack_from("<ii", positions[2], 0)}, the window stood at {place}')
            if not dialog_size or len(dialog_size[2]) != 16:
                problems.append('no DSiz record 1050 of 16 bytes')
            else:
                version, width, height, _, _ = struct.unpack('<IiiHH', dialog_size[2])
                if (version, width, height) != (1, size[0], size[1]):
                    problems.append(f'DSiz holds {(version, width, height)}, the preview was {size}')

            if not problems:
                new_height = size[1] - 40
                new_width = int(new_height / (HEIGHT / WIDTH) + 0.5)
                overwrite(positions[0], positions[1], struct.pack('<ii', 150, 60))
                record = bytearray(dialog_size[2])
                struct.pack_into('<ii', record, 4, new_width, new_height)
                overwrite(dialog_size[0], dialog_size[1], bytes(record))
                ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel'])
                place, size = window_report(lines)
                if not ok or place is None:
                    problems.append('second run: the host failed or reported no window')
                else:
                    if place != (150, 60):
                        problems.append(f'second run: the window opened at {place}, not at the stored (150, 60)')
                    if abs(size[1] - new_height) > 1 or abs(size[0] - new_width) > 2:
                        problems.append(f'second run: the preview is {size}, not the stored {new_width}x{new_height}')
                    problems += check_resize(runner, folder, size)

    finish(problems, folder, kept)


if __name__ == '__main__':
    main()
