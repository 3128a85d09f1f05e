#!/usr/bin/env python3
"""Metafiles for the renderer, written at test time into a folder from the
published record layouts (metafile_layouts.py): placeable and plain WMFs with
the quadrant DIB (META_STRETCHDIB or META_SETDIBTODEV) and a filled
rectangle, an EMF with EMR_STRETCHDIBITS, and damaged files. libwmf's wmf2gd
renders each good WMF as a check on this generator; its scaling is its own,
so the colours are compared at the centres of the areas only.

usage: make_metafile_fixtures.py <folder>"""
import os
import subprocess
import sys
import tempfile

import metafile_layouts as layouts

BOX = (0, 0) + layouts.WINDOW


def fixtures():
    stretch = layouts.picture_records(layouts.stretch_dib_record(8, 8))
    set_dib = layouts.picture_records(layouts.set_dib_record())
    good_wmf = {
        'placeable_stretch.wmf': layouts.wmf(stretch, BOX),
        'placeable_setdib.wmf': layouts.wmf(set_dib, BOX),
        # 1440 units at 1440 to the inch: one inch wide.
        'placeable_1440.wmf': layouts.wmf(stretch, (0, 0, 1440, 960), 1440),
        'plain_stretch.wmf': layouts.wmf(stretch),
    }
    plain = good_wmf['plain_stretch.wmf']
    damaged = {
        'empty.wmf': b'',
        'random.wmf': bytes((i * 97 + 13) % 256 for i in range(300)),
        'cut_after_header.wmf': plain[:18],
        'inch0.wmf': layouts.wmf(stretch, BOX, 0),
        'huge_box.wmf': layouts.wmf(stretch, (0, 0, 32767, 32767), 1),
    }
    return good_wmf, {'stretch.emf': layouts.emf_stretch()}, damaged


def area_centres():
    """(x, y, colour) at the centres of the quadrants and the rectangle, in window units."""
    x, y, right, bottom = layouts.DIB_BOX
    mx, my = (x + right) // 2, (y + bottom) // 2
    spots = [((x + mx) // 2, (y + my) // 2), ((mx + right) // 2, (y + my) // 2),
             ((x + mx) // 2, (my + bottom) // 2), ((mx + right) // 2, (my + bottom) // 2)]
    left, top, r, b = layouts.RECT_BOX
    return [(sx, sy, c) for (sx, sy), c in zip(spots, layouts.QUADRANTS)] + [((left + r) // 2, (top + b) // 2,
                                                                             layouts.RECT_COLOR)]


def check_with_wmf2gd(path):
    with tempfile.TemporaryDirectory() as folder:
        png = os.path.join(folder, 'out.png')
        run = subprocess.run(['wmf2gd', '-o', png, path], capture_output=True, text=True)
        if run.returncode != 0 or not os.path.exists(png):
            return f'wmf2gd cannot render it: {run.stderr.strip()}'
        size = subprocess.run(['identify', '-format', '%w %h', png], check=True, capture_output=True,
                              text=True).stdout.split()
        width, height = int(size[0]), int(size[1])
        rgb = subprocess.run(['convert', png, '-depth', '8', 'rgb:-'], check=True, capture_output=True).stdout
    for x, y, colour in area_centres():
        px, py = x * width // layouts.WINDOW[0], y * height // layouts.WINDOW[1]
        found = rgb[(py * width + px) * 3:(py * width + px) * 3 + 3]
        if any(abs(a - b) > 8 for a, b in zip(found, colour)):
            return f'wmf2gd shows {tuple(found)} at ({px}, {py}) of {width} x {height}, not {colour}'
    return None


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    good_wmf, emf, damaged = fixtures()
    failures = []
    for name, data in {**good_wmf, **emf, **damaged}.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)
    for name in good_wmf:
        problem = check_with_wmf2gd(os.path.join(folder, name))
        print(name, problem or 'wmf2gd shows the quadrants and the rectangle')
        if problem:
            failures.append(name)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
