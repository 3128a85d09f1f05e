#!/usr/bin/env python3
"""The built PhotoRefiner under Wine, played by photo_driver: load a 640 x 480
JPEG from ImageMagick, move every slider, pick Close-up, save as JPEG
(Medium) and BMP, Exit; then start again. Checks the saved files against the
numpy reference of the five steps on djpeg's decoding of the loaded file,
the JPEG against cjpeg of that reference, and the settings in the registry.

usage: end_to_end.py wine-run.sh bin-folder jpeg-tools-folder out-folder
Leaves enhanced.jpg, enhanced.bmp and screenshot.png in the out folder.
"""
import os
import re
import subprocess
import sys

import numpy as np

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import enhancement_reference as reference  # noqa: E402

KEY = r'HKCU\Software\PicRefiner'
SETTINGS = KEY + r'\PhotoRefiner\Settings'
ORDER = ('autobr', 'gamma', 'denoise', 'sharpen', 'satur')
DEFAULTS = {'denoise': 60, 'sharpen': 10, 'gamma': 140, 'autobr': 200, 'satur': 280}
failures = []


def check(ok, what):
    print(('ok   ' if ok else 'FAIL ') + what)
    if not ok:
        failures.append(what)


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def run(wine, *args):
    result = subprocess.run([wine] + list(args), capture_output=True, text=True, timeout=600)
    return result.returncode, result.stdout


def driver_lines(wine, bin_dir, *args):
    code, out = run(wine, os.path.join(bin_dir, 'photo_driver.exe'), *args)
    print(out, end='')
    if code != 0:
        sys.exit(f'the driver failed ({code})')
    return out.splitlines()


def positions(lines, prefix):
    for line in lines:
        if line.startswith(prefix + ' '):
            return {k: int(v) for k, v in (f.split('=') for f in line.split()[1:])}
    sys.exit(f'the driver printed no "{prefix}" line')


def read_ppm(data):
    fields = re.match(rb'P6\s+(\d+)\s+(\d+)\s+(\d+)\s', data)
    w, h = int(fields.group(1)), int(fields.group(2))
    return np.frombuffer(data[fields.end():], np.uint8)[:w * h * 3].reshape(h, w, 3)


def write_ppm(path, img):
    h, w, _ = img.shape
    with open(path, 'wb') as f:
        f.write(b'P6\n%d %d\n255\n' % (w, h) + np.ascontiguousarray(img).tobytes())


def read_bmp(path):
    data = open(path, 'rb').read()
    offset = int.from_bytes(data[10:14], 'little')
    w = int.from_bytes(data[18:22], 'little', signed=True)
    h = int.from_bytes(data[22:26], 'little', signed=True)
    row = (w * 3 + 3) & ~3
    rows = np.frombuffer(data[offset:offset + row * abs(h)], np.uint8).reshape(abs(h), row)[:, :w * 3]
    img = rows.reshape(abs(h), w, 3)[:, :, ::-1]
    return img[::-1] if h > 0 else img


def decode(wine, tools, path, out):
    code, _ = run(wine, os.path.join(tools, 'djpeg.exe'), '-ppm', '-outfile', windows_path(out), windows_path(path))
    if code != 0:
        sys.exit(f'djpeg failed on {path}')
    return read_ppm(open(out, 'rb').read())


def registry(wine):
    _, out = run(wine, 'reg', 'query', SETTINGS)
    return {m.group(1): int(m.group(2), 16) for m in re.finditer(r'(\w+)\s+REG_DWORD\s+0x([0-9a-fA-F]+)', out)}


def main():
    wine, bin_dir, tools, out = sys.argv[1:5]
    os.makedirs(out, exist_ok=True)
    for name in ('enhanced.jpg', 'enhanced.bmp', 'screenshot.png', 'second.jpg'):
        if os.path.exists(os.path.join(out, name)):
            os.remove(os.path.join(out, name))
    photo = os.path.join(out, 'photo.jpg')
    subprocess.run(['convert', '-seed', '4711', '-size', '640x480', 'plasma:fractal', '-attenuate', '0.4',
                    '+noise', 'Impulse', '-quality', '90', photo], check=True)
    # A fresh start: no settings stored yet.
    run(wine, 'reg', 'delete', KEY, '/f')

    lines = driver_lines(wine, bin_dir, 'enhance', os.path.join(bin_dir, 'PhotoRefiner.exe'), windows_path(photo),
                         windows_path(out))
    check(positions(lines, 'start') == DEFAULTS, 'a fresh start shows the default positions')
    check('loaded PicRefine : photo.jpg' in lines, 'the title names the loaded file')
    for what in ('denoise', 'sharpen', 'gamma', 'autobr', 'satur', 'subject'):
        check(f'changed {what} yes' in lines, f'the after view changed with {what}')
    check('improve 1' in lines, 'the quality box starts with "Improve Sampling Quality" ticked')
    final = positions(lines, 'final')
    check(all(final[k] != DEFAULTS[k] for k in final) and final['autobr'] < 100, 'every slider moved')

    stored = registry(wine)
    check({k: stored.get(k) for k in DEFAULTS} == final, 'the moved positions are stored')
    check(stored.get('jpgq') == 2 and 'downs' not in stored, 'jpgq 2 after the Medium save; downs never written')

    loaded = decode(wine, tools, photo, os.path.join(out, 'photo.ppm'))
    expected = reference.enhance(loaded, tuple(final[k] for k in ORDER) + (2,))
    saved = read_bmp(os.path.join(out, 'enhanced.bmp'))
    check(saved.shape == expected.shape and np.array_equal(saved, expected),
          'enhanced.bmp equals the numpy reference at full size')
    write_ppm(os.path.join(out, 'expected.ppm'), expected)
    code, _ = run(wine, os.path.join(tools, 'cjpeg.exe'), '-quality', '72', '-sample', '1x1', '-outfile',
                  windows_path(os.path.join(out, 'expected.jpg')), windows_path(os.path.join(out, 'expected.ppm')))
    check(code == 0, 'cjpeg wrote the reference JPEG')
    ours = decode(wine, tools, os.path.join(out, 'enhanced.jpg'), os.path.join(out, 'enhanced.ppm'))
    theirs = decode(wine, tools, os.path.join(out, 'expected.jpg'), os.path.join(out, 'expected_jpg.ppm'))
    check(np.array_equal(ours, theirs), 'enhanced.jpg decodes as cjpeg -quality 72 -sample 1x1 of the reference')

    subprocess.run(['convert', os.path.join(out, 'screenshot.bmp'), os.path.join(out, 'screenshot.png')], check=True)

    lines = driver_lines(wine, bin_dir, 'restart', os.path.join(bin_dir, 'PhotoRefiner.exe'), windows_path(out))
    check(positions(lines, 'start') == final, 'a second start shows the stored positions')
    check('preselected 2' in lines, 'the quality box preselects Medium')
    check('second absent' in lines and 'status Idle' in lines, 'closing the quality box saves nothing')

    if failures:
        sys.exit(f'{len(failures)} check(s) failed')
    print('enhanced file:', os.path.join(out, 'enhanced.jpg'))


if __name__ == '__main__':
    main()
