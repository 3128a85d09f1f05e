#!/usr/bin/env python3
"""The frame page in the real main window under Wine, over a seeded folder with one frame.

usage: frame_panel_session.py <wine runner or ""> <bin folder> [--keep FOLDER]

The host types "3" into the quality-factor field 1054 of the source's window and presses Cancel. The
field keeps what was typed (it stays pending: the frame holds at most 2.5), the caption names the
product, the module's version and the image, and the frame list the source stores at the end holds the current frame with
the quality factor 2.5 and the output resolution that follows from it and the screen ruling.
"""
import glob
import os
import re
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'foundation', 'tests'))
from record_store_reader import read_store  # noqa: E402
from seeded_session import finish, prepare, run, session_arguments  # noqa: E402

QUALITY, RULING, RESOLUTION = 912, 920, 922


def current_frame(prefs):
    """The bytes of the first "Frame" record (the current frame) of the device store, or None."""
    stores = [p for p in glob.glob(os.path.join(prefs, 'QB (*).prf'))]
    if len(stores) != 1:
        return None
    records, _ = read_store(stores[0])
    frames = sorted((r for r in records if r['name'] == b'Frame' and len(r['data']) == 2080), key=lambda r: r['id'])
    return frames[0]['data'] if frames else None


def values(frame):
    quality, = struct.unpack_from('<d', frame, QUALITY)
    ruling, resolution = struct.unpack_from('<hh', frame, RULING)
    return quality, ruling, resolution


def main():
    runner, bin_folder, folder, kept = session_arguments('zir_panel_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3, frames=1) else ['seeding failed']
    prefs = os.path.join(folder, 'Quillbrook', 'Prefs')

    if not problems:
        before = current_frame(prefs)
        if before is None or values(before)[0] == 2.5:
            problems.append('the seeded frame is missing or already has the quality factor 2.5')
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--cancel', '--field', '1054', '3'])
        if not ok:
            problems.append('the host failed')
        if 'field 1054: "3"' not in lines:
            problems.append('the quality-factor field does not keep the typed "3" while pending')
        # The product, the module's version, then the device: vendor and image.
        caption = next((line for line in lines if line.startswith('source window: caption')), '')
        if not re.fullmatch(r'source window: caption "Quillbrook v\d+(\.\d+)* ZIR sample\.tif"', caption):
            problems.append('caption: ' + (caption or 'not reported'))
        after = current_frame(prefs)
        if after is None:
            problems.append('no current frame stored after Cancel')
        else:
            quality, ruling, resolution = values(after)
            print(f'stored frame: Q {quality}, ruling {ruling}, resolution {resolution}')
            if abs(quality - 2.5) > 1e-9:
                problems.append(f'the frame holds the quality factor {quality}, not 2.5')
            if resolution != int(ruling * quality + 0.5):
                problems.append(f'resolution {resolution} does not follow ruling {ruling} x Q {quality}')

    finish(problems, folder, kept)


if __name__ == '__main__':
    main()
