#!/usr/bin/env python3
"""Looks into the files the image document test saved: the PNG's gamma and
layout, the TIFF's compression, the JPEG sampling factors and pixels (as the
dependency build's djpeg decodes them), the WMF's placeable header.

usage: check_saved_files.py <folder> <djpeg> [runner...]"""
import os
import struct
import subprocess
import sys


def png_chunks(data):
    at = 8
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def tiff_tag(data, wanted):
    order = '<' if data[:2] == b'II' else '>'
    (ifd,) = struct.unpack(order + 'I', data[4:8])
    (count,) = struct.unpack(order + 'H', data[ifd:ifd + 2])
    for i in range(count):
        entry = data[ifd + 2 + 12 * i:ifd + 14 + 12 * i]
        tag, kind = struct.unpack(order + 'HH', entry[:4])
        if tag == wanted:
            # A SHORT sits in the first two bytes of the value field.
            return struct.unpack(order + ('H' if kind == 3 else 'I'), entry[8:10] if kind == 3 else entry[8:12])[0]
    return None


def jpeg_sampling(data):
    at = 2
    while at < len(data):
        marker = data[at + 1]
        (length,) = struct.unpack('>H', data[at + 2:at + 4])
        if marker in (0xC0, 0xC1, 0xC2):
            components = data[at + 9]
            return [data[at + 11 + 3 * i] for i in range(components)]
        at += 2 + length
    return None


def main():
    folder, djpeg, runner = sys.argv[1], sys.argv[2], sys.argv[3:]
    os.chdir(folder)
    failures = []

    def expect(ok, what):
        print(('ok   ' if ok else 'FAIL ') + what)
        if not ok:
            failures.append(what)

    png = open('roundtrip.png', 'rb').read()
    chunks = dict(png_chunks(png))
    expect(b'gAMA' in chunks and struct.unpack('>I', chunks[b'gAMA'])[0] == 34500, 'PNG gamma 0.345')
    expect(chunks[b'IHDR'][8:10] == bytes([8, 2]), 'PNG 8-bit RGB')
    for name in ('roundtrip.tif', 'roundtrip.tiff'):
        expect(tiff_tag(open(name, 'rb').read(), 259) == 1, name + ' uncompressed')
    for name, improved in (('saved_improved', True), ('saved_default', False)):
        factors = jpeg_sampling(open(name + '.JPEG', 'rb').read())
        expect(factors is not None and (all(f == 0x11 for f in factors) == improved),
               '%s sampling %s' % (name, [hex(f) for f in factors or []]))
        decoded = subprocess.run(runner + [djpeg, '-ppm', name + '.JPEG'], check=True, capture_output=True).stdout
        expect(decoded == open(name + '.ppm', 'rb').read(), name + ' pixels as djpeg decodes them')
    # The host build writes no metafiles (an empty file stays behind).
    if os.path.exists('roundtrip.wmf') and os.path.getsize('roundtrip.wmf'):
        expect(open('roundtrip.wmf', 'rb').read()[:4] == bytes.fromhex('d7cdc69a'), 'WMF placeable header')
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
