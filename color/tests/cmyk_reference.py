"""The CMYK conversion tables for the tests: a CMYK table file whose nodes
transicc computes from a CMYK profile (the L*a*b* grid and the ink grid as
CGATS files), and a numpy model of the integer separation kernel."""
import os
import subprocess
import tempfile

import numpy as np

NODES = 33
FORWARD_BYTES = NODES ** 3 * 4
REVERSE_BYTES = NODES ** 3 * 3 + 256 * 3


def grid_lab10(n):
    """g_n = floor(n x 1023 / 32 + 0.5): the 10-bit value of node n."""
    return (np.asarray(n) * 1023 + 16) // 32


def grid_ink(n):
    """c_n = floor(n x 255 / 32 + 0.5): the ink of node n."""
    return (np.asarray(n) * 255 + 16) // 32


def node_indices():
    i, j, k = np.meshgrid(np.arange(NODES), np.arange(NODES), np.arange(NODES), indexing='ij')
    return i.reshape(-1), j.reshape(-1), k.reshape(-1)


# transicc takes data sets of some thousands of rows.
CGATS_ROWS = 8000


def _transicc(profile_in, profile_out, fields, rows, out_fields):
    """Rows through transicc in CGATS files; the values of out_fields for each row."""
    if len(rows) > CGATS_ROWS:
        return np.vstack([_transicc(profile_in, profile_out, fields, rows[at:at + CGATS_ROWS], out_fields)
                          for at in range(0, len(rows), CGATS_ROWS)])
    folder = tempfile.mkdtemp(prefix='zir_cgats_')
    src, dst = os.path.join(folder, 'in.cgats'), os.path.join(folder, 'out.cgats')
    with open(src, 'w') as f:
        f.write('CGATS.17\nNUMBER_OF_FIELDS %d\nBEGIN_DATA_FORMAT\nSAMPLE_ID %s\nEND_DATA_FORMAT\n'
                'NUMBER_OF_SETS %d\nBEGIN_DATA\n' % (len(fields) + 1, ' '.join(fields), len(rows)))
        for n, row in enumerate(rows):
            f.write('%d %s\n' % (n + 1, ' '.join('%.6f' % v for v in row)))
        f.write('END_DATA\n')
    subprocess.run(['transicc', '-t0', '-i' + profile_in, '-o' + profile_out, src, dst], check=True,
                   capture_output=True)
    lines = open(dst).read().splitlines()
    names = lines[lines.index('BEGIN_DATA_FORMAT') + 1].split()
    data = lines[lines.index('BEGIN_DATA') + 1:lines.index('END_DATA')]
    columns = [names.index(name) for name in out_fields]
    values = np.array([[float(line.split()[c]) for c in columns] for line in data])
    if len(values) != len(rows):
        raise RuntimeError('transicc gave %d rows for %d' % (len(values), len(rows)))
    return values


def lab_bytes(lab):
    """L*a*b* as the reverse table's bytes: L x 2.55, a + 128, b + 128."""
    return np.clip(np.rint(np.column_stack([lab[:, 0] * 2.55, lab[:, 1] + 128, lab[:, 2] + 128])), 0, 255)


def sample_profile(profile):
    """(forward, reverse) table bytes of a CMYK profile, as the data source samples it."""
    i, j, k = node_indices()
    g = [grid_lab10(x) / 1023.0 for x in (i, j, k)]
    lab = np.column_stack([g[0] * 100, g[1] * 255 - 128, g[2] * 255 - 128])
    inks = _transicc('*Lab', profile, ['LAB_L', 'LAB_A', 'LAB_B'], lab, ['CMYK_C', 'CMYK_M', 'CMYK_Y', 'CMYK_K'])
    forward = 255 - np.clip(np.rint(inks * 2.55), 0, 255)
    mixes = np.column_stack([255 - grid_ink(i), 255 - grid_ink(j), 255 - grid_ink(k), np.zeros_like(i)]) / 2.55
    ramp = np.column_stack([np.zeros((256, 3)), (255 - np.arange(256)) / 2.55])
    labs = _transicc(profile, '*Lab', ['CMYK_C', 'CMYK_M', 'CMYK_Y', 'CMYK_K'], np.vstack([mixes, ramp]),
                     ['LAB_L', 'LAB_A', 'LAB_B'])
    reverse = lab_bytes(labs)
    return forward.astype(np.uint8).reshape(-1), reverse.astype(np.uint8).reshape(-1)


def write_table_file(path, forward, reverse, gamut=None):
    """The CMYK table file: big-endian 300, a marker, a pad byte, both tables, the gamut flag and table."""
    assert forward.size == FORWARD_BYTES and reverse.size == REVERSE_BYTES
    with open(path, 'wb') as f:
        f.write(bytes([1, 44, 1, 0]))
        f.write(forward.astype(np.uint8).tobytes())
        f.write(reverse.astype(np.uint8).tobytes())
        f.write(bytes([1 if gamut is not None else 0, 0]))
        if gamut is not None:
            f.write(bytes(gamut))


def separate16to8(forward, lab):
    """Inks (n, 4) of 16-bit L*a*b* (3, n) through the forward table: five tetrahedra, integer weights."""
    table = np.asarray(forward, dtype=np.int64).reshape(-1)
    x, y, z = (np.asarray(v, dtype=np.int64) for v in lab)
    fx, fy, fz = (x & 2047) * 32, (y & 2047) * 32, (z & 2047) * 32
    cell = (((x >> 11) * NODES + (y >> 11)) * NODES + (z >> 11)) * 4
    sx, sy, sz = NODES * NODES * 4, NODES * 4, 4
    one = 65536
    t1 = fx + fy + fz <= one
    t2 = ~t1 & (fz - fx + fy >= one)
    t3 = ~t1 & ~t2 & (fz - fy + fx >= one)
    t4 = ~t1 & ~t2 & ~t3 & (fx + fy - fz >= one)
    choices = [t1, t2, t3, t4]

    def pick(*options):
        return np.select(choices, options[:4], options[4])

    base = pick(0, sy + sz, sx + sz, sx + sy, sx + sy + sz)
    corners = [pick(sx, sx + sy + sz, sz, sy, sx), pick(sy, sz, sx + sy + sz, sx, sy),
               pick(sz, sy, sx, sx + sy + sz, sz)]
    weights = [pick(fx, fx, one - fx, one - fx, (fx - fy - fz + one) // 2),
               pick(fy, one - fy, fy, one - fy, (fy - fx - fz + one) // 2),
               pick(fz, one - fz, one - fz, fz, (fz - fx - fy + one) // 2)]
    out = np.zeros((x.size, 4), dtype=np.int64)
    for c in range(4):
        b = table[cell + base + c]
        total = sum(w * (table[cell + corner + c] - b) for w, corner in zip(weights, corners))
        out[:, c] = 255 - np.clip(b + ((total + 32767) >> 16), 0, 255)
    return out
