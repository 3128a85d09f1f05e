#!/usr/bin/env python3
"""Writes the image files of the device-layer tests into the given folder, with the
reader tests' own TIFF composer: a 48-bit colour scan at 300 dpi, grey images at
72 and 40 dpi, a colour image with an embedded profile and text fields, seven
small images for the recent-image list (and one of the same name in a
sub-folder), and a file that is no TIFF."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'readers', 'tests'))
import make_tiff_fixtures as tiff  # noqa: E402


def dpi(value):
    return {296: (tiff.SHORT, [2]), 282: (tiff.RATIONAL, [(value, 1)]), 283: (tiff.RATIONAL, [(value, 1)])}


def profile_resources():
    """Photoshop image resources: an ICC profile header (id 1039, named "ICC") and a
    resource that is no profile (id 1040)."""
    profile = bytearray(160)
    profile[0:4] = (160).to_bytes(4, 'big')
    profile[36:40] = b'acsp'

    def block(rid, name, payload):
        pname = bytes([len(name)]) + name
        if len(pname) % 2:
            pname += b'\0'
        pad = b'\0' if len(payload) % 2 else b''
        return b'8BIM' + rid.to_bytes(2, 'big') + pname + len(payload).to_bytes(4, 'big') + payload + pad
    return block(1039, b'ICC', bytes(profile)) + block(1040, b'', b'not a profile')


def main():
    out = sys.argv[1]
    os.makedirs(os.path.join(out, 'other'), exist_ok=True)
    tiff.striped('rgb48', 64, 40, 3, 16, rows_per_strip=8, out=out, extra=dpi(300))
    tiff.striped('grey72', 20, 10, 1, 8, out=out, extra=dpi(72))
    tiff.striped('profiled', 8, 4, 3, 8, out=out,
                 extra={**dpi(150), 34377: (tiff.UNDEFINED, profile_resources()),
                        269: (tiff.ASCII, b'Scan 7\0'), 315: (tiff.ASCII, b'Quill\0')})
    tiff.striped('grey40', 20, 10, 1, 8, out=out, extra=dpi(40))
    for i in range(1, 8):
        tiff.striped('img%d' % i, 4, 3, 1, 8, out=out, extra=dpi(100), expect=False)
    tiff.striped('img1', 6, 5, 1, 8, out=os.path.join(out, 'other'), extra=dpi(100), expect=False)
    with open(os.path.join(out, 'broken.tif'), 'wb') as f:
        f.write(b'not an image at all')


if __name__ == '__main__':
    main()
