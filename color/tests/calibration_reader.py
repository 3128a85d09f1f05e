"""An independent reader of calibration profiles (".itp"), written from the
file's layout: byte order "II" or "MM", version 1 or 2, the three arrays,
and in version 2 the tables in fixed point. It reads the files the
calibration test wrote (both versions, both byte orders) and compares what
it finds with the values the test wrote beside them (expected.txt).

usage: calibration_reader.py <folder>"""
import os
import struct
import sys

V1_END, V2_END = 3504, 449636


def read_itp(path):
    data = open(path, 'rb').read()
    order = {b'II': '<', b'MM': '>'}[data[:2]]
    version, = struct.unpack_from(order + 'H', data, 2)
    counts = struct.unpack_from(order + '3I', data, 4)
    assert version in (1, 2), version
    assert counts == (72, 88, 1584), counts
    p = {'version': version,
         'matrix': struct.unpack_from(order + '72h', data, 16),
         'grey': struct.unpack_from(order + '88h', data, 160),
         'patches': struct.unpack_from(order + '1584h', data, 336)}
    if version == 1:
        assert len(data) == V1_END, len(data)
        return p
    assert len(data) == V2_END, len(data)
    assert struct.unpack_from(order + '4H', data, 3504) == (3, 3, 13, 22)
    p['flags'] = tuple(data[3512:3516])
    refs = []
    for i in range(286):
        at = 3516 + 28 * i
        assert data[at + 1:at + 4] == b'\0\0\0', 'pad bytes of patch %d' % i
        refs.append((data[at], [v / 2.0 ** 24 for v in struct.unpack_from(order + '6i', data, at + 4)]))
    p['reference'] = refs
    p['greypass'] = [v / 2.0 ** 30 for v in struct.unpack_from(order + '858i', data, 11524)]
    p['colourpass'] = [v / 2.0 ** 30 for v in struct.unpack_from(order + '858i', data, 14956)]
    assert struct.unpack_from(order + '2H', data, 18388) == (3, 33)
    p['cube'] = [v / 2.0 ** 30 for v in struct.unpack_from(order + '107811i', data, 18392)]
    return p


def write_itp(path, cube):
    """A version-2 profile in "II" order: zero matrix and patches, the identity
    grey row, the reset tables' headers and the cube (35937 x 3 values 0..1,
    node order (red x 33 + green) x 33 + blue) at 2^30."""
    grey = [255 - ((i // 4) * 255) // 21 for i in range(88)]
    head = b'II' + struct.pack('<H3I', 2, 72, 88, 1584) + struct.pack('<72h', *[0] * 72) + struct.pack('<88h', *grey)
    head += struct.pack('<1584h', *[0] * 1584)
    block = struct.pack('<4H', 3, 3, 13, 22) + bytes(4) + bytes(28 * 286) + bytes(2 * 3432)
    fixed = [int(v * 2 ** 30 + 0.5) for v in cube]
    block += struct.pack('<2H', 3, 33) + struct.pack('<107811i', *fixed)
    assert len(head) == V1_END and len(head) + len(block) == V2_END
    with open(path, 'wb') as f:
        f.write(head + block)


def main():
    folder = sys.argv[1]
    problems = []
    expected = [line.split() for line in open(os.path.join(folder, 'expected.txt'))]
    files = {name: read_itp(os.path.join(folder, name)) for name in ('v1_ii.itp', 'v1_mm.itp', 'v2_ii.itp', 'v2_mm.itp')}
    for name, p in files.items():
        for kind, index, value in expected:
            index = int(index)
            if kind in ('matrix', 'grey'):
                got, want = p[kind][index], int(value)
            elif p['version'] == 1:
                continue
            elif kind == 'cube':
                got, want = p['cube'][index], float(value)
            elif kind == 'refZ':
                got, want = p['reference'][index][1][2], float(value)
            elif kind == 'refL':
                got, want = p['reference'][index][1][3], float(value)
            else:
                got, want = p['greypass'][index], float(value)
            # Within one step of the stored fixed point (2^24 for patch values, 2^30 for the rest).
            step = 2.0 ** -24 if kind.startswith('ref') else 2.0 ** -30
            if abs(got - want) > step:
                problems.append('%s: %s[%d] = %r, wanted %s' % (name, kind, index, got, value))
        if p['version'] == 2 and p['flags'] != (1, 1, 0, 1):
            problems.append('%s: flags %r' % (name, p['flags']))
        if p['version'] == 2 and (p['reference'][0][0], p['reference'][1][0]) != (1, 0):
            problems.append('%s: present flags of A1, A2' % name)
    for v in ('v1', 'v2'):
        if files[v + '_ii.itp'] != files[v + '_mm.itp']:
            problems.append('%s: the byte orders read differently' % v)
    for problem in problems[:20]:
        print('FAIL', problem)
    print('%d files read, %d expected values each' % (len(files), len(expected)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
