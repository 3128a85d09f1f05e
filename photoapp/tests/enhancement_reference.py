#!/usr/bin/env python3
"""numpy reference of the photo program's five enhancement steps, built on the
image-processing reference of the image-file library.

As a module: enhance(img, settings) with the settings in the dialog's order
(auto balance, midtones, denoise, details, colour, subject type).
As a program: writes cases for the pipeline test into a folder: cases.txt, one
line per case ("name width height autobr midtones denoise details colour
subject"), and per case <name>.in (the image) and <name>.out (the result).
"""
import os
import sys

import numpy as np


# The library's processing reference, imported from its folder; nothing written into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'imagelib', 'tests'))
import processing_reference as proc  # noqa: E402

DEFAULTS = (200, 140, 60, 10, 280, 1)


def colours(img, position):
    s = position - 200
    if s == 0 or not -256 <= s <= 256:
        return img
    f = img.astype(np.int64)
    lum = (77 * f[..., 0] + 151 * f[..., 1] + 28 * f[..., 2]) >> 8
    num = (s + 256) * f - s * lum[..., None] + 127
    # Division truncating toward zero, as C's.
    quotient = np.where(num >= 0, num // 256, -((-num) // 256))
    return np.clip(quotient, 0, 255).astype(np.uint8)


def enhance(img, settings):
    autobr, midtones, denoise, details, colour, subject = settings
    out = proc.blend(img, proc.levels(img, 5, 250, 0), 0, 0, autobr * 0.01, 0)
    g = midtones * 0.01
    if g != 1.0:
        out = proc.gamma(out, g)
    if denoise:
        copy = out
        for _ in range(subject):
            copy = proc.reduce_noise(copy)
        out = proc.blend(out, copy, 0, 0, denoise * 0.01, 0)
    if details:
        out = proc.blend(out, proc.sharpen(out, details), 0, 0, 0.5, 0)
    return colours(out, colour)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    rng = np.random.default_rng(20261211)
    lines = []

    def add(name, img, settings):
        h, w, _ = img.shape
        lines.append(' '.join([name, str(w), str(h)] + [str(v) for v in settings]))
        np.ascontiguousarray(img).tofile(os.path.join(folder, name + '.in'))
        np.ascontiguousarray(enhance(img, settings)).tofile(os.path.join(folder, name + '.out'))

    photo = rng.integers(40, 200, size=(37, 45, 3), dtype=np.uint8)
    dots = rng.integers(0, photo.size, 80)
    photo.reshape(-1)[dots] = rng.choice([0, 255], 80)
    settings_list = {
        'defaults': DEFAULTS,
        'autobr_50': (50, 140, 60, 10, 280, 1),
        'autobr_0': (0, 140, 60, 10, 280, 1),
        'midtones_99': (200, 99, 60, 10, 280, 1),
        'midtones_100': (200, 100, 60, 10, 280, 1),
        'midtones_101': (200, 101, 60, 10, 280, 1),
        'midtones_0': (200, 0, 60, 10, 280, 1),
        'landscape': (200, 140, 60, 10, 280, 0),
        'landscape_denoise_1': (200, 140, 1, 10, 280, 0),
        'closeup': (120, 80, 35, 70, 330, 2),
        'denoise_0': (200, 140, 0, 10, 280, 2),
        'details_0': (200, 140, 60, 0, 280, 1),
        'details_100': (200, 140, 60, 100, 280, 1),
        'colour_0': (200, 140, 60, 10, 0, 1),
        'colour_200': (200, 140, 60, 10, 200, 1),
        'colour_400': (200, 140, 60, 10, 400, 1),
    }
    for name, settings in settings_list.items():
        add(name, photo, settings)
    for h, w in ((1, 1), (1, 6), (5, 1), (2, 3)):
        add(f'small_{w}x{h}', rng.integers(0, 256, size=(h, w, 3), dtype=np.uint8), (150, 60, 80, 50, 350, 2))
    with open(os.path.join(folder, 'cases.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
