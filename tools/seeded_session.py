"""A folder of its own for one run of the built data source under Wine: the
module, the test host, the recording source manager and the seeding tool, a
generated TIFF (8-bit grey unless asked otherwise), and the settings folder
seeded with that image as the device used last and frames over it. So the
source opens its image without asking, and parallel runs never share settings."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'readers', 'tests'))
import make_tiff_fixtures as tiff  # noqa: E402

WIDTH, HEIGHT, DPI = 48, 32, 150
FILES = ['QB ZIR.ds', 'twainhost.exe', 'seedprefs.exe']
# The recording source manager, named as the build's architecture names it.
SOURCE_MANAGERS = ['twain_32.dll', 'twaindsm.dll']


def sample(x, y, channel=0, bits=8):
    """The generator's value of a channel at a pixel of the image."""
    return tiff.sample(x, y, channel, bits)


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def run(runner, folder, args):
    """Runs a program of the folder; its report is printed. (passed, lines)"""
    command = ([runner] if runner else []) + args
    done = subprocess.run(command, cwd=folder, capture_output=True, text=True, timeout=300)
    print(done.stdout, end='')
    if done.returncode != 0:
        print(f'{args[0]} exited with {done.returncode}\n{done.stderr}')
    return done.returncode == 0, done.stdout.splitlines()


def prepare(folder, bin_folder, runner, channels=1, image_bits=8, frame_bits=8, frames=1, gamma=1.0, filter=None,
            profiles=None, quarter_turns=0, cmyk=None, calibration=None, selective=None, seed=True):
    """Fills the folder; the source manager's log goes to fakedsm.log in it. False when seeding failed.
    Without seed the settings folder stays empty: the source has no recent image and asks for one.
    Frame i covers the image's rows 0 to HEIGHT - 4i; gamma is the frames' master tone gamma; filter is
    the frames' filter kind and sharpening parameters, then descreen ruling and output dpi (seedprefs);
    profiles are the paths of the scanner, the internal and optionally the output profile; quarter_turns
    turns the frames' orientation; cmyk is a CMYK output (mode, name): mode 3 with a separation table of
    "CB Profile\\", 5 with a CMYK table or profile; calibration names a calibration profile of the settings
    folder and switches the calibration on (input mode 3) in place of profiles; selective is the frames'
    selective colour correction (mode word, values): 1 with the 36 six-colour values, else the 72
    twelve-colour values."""
    folder = os.path.abspath(folder)
    os.makedirs(os.path.join(folder, 'Quillbrook', 'Prefs'), exist_ok=True)
    for name in FILES:
        shutil.copy(os.path.join(bin_folder, name), folder)
    manager = next(name for name in SOURCE_MANAGERS if os.path.exists(os.path.join(bin_folder, name)))
    shutil.copy(os.path.join(bin_folder, manager), folder)
    tiff.striped('sample', WIDTH, HEIGHT, channels, image_bits, rows_per_strip=5, out=folder, expect=False,
                 extra={296: (tiff.SHORT, [2]), 282: (tiff.RATIONAL, [(DPI, 1)]), 283: (tiff.RATIONAL, [(DPI, 1)])})
    os.environ['ZIR_FAKEDSM_LOG'] = os.path.join(folder, 'fakedsm.log')
    os.environ['WINEDLLOVERRIDES'] = os.path.splitext(manager)[0] + '=n'
    if not seed:
        return True
    later = bool(selective)
    ok, _ = run(runner, folder, ['seedprefs.exe', windows_path(os.path.join(folder, 'Quillbrook')) + '\\',
                                 windows_path(os.path.join(folder, 'sample.tif')), str(WIDTH), str(HEIGHT), str(DPI),
                                 'rgb' if channels == 3 else 'grey', str(frame_bits), str(frames), str(gamma)]
                         + ([','.join(map(str, filter)) if filter else '-'] if filter or profiles or calibration
                            or quarter_turns or cmyk or later else [])
                         + ([('itp:' + calibration) if calibration else
                             '|'.join(windows_path(p) for p in profiles) if profiles else '-']
                            if profiles or calibration or quarter_turns or cmyk or later else [])
                         + ([str(quarter_turns)] if quarter_turns or cmyk or later else [])
                         + (['%d:%s' % cmyk if cmyk else '-'] if cmyk or later else [])
                         + (['%d:%s' % (selective[0], ','.join(map(str, selective[1])))] if later else []))
    return ok


def session_arguments(prefix):
    """(runner, bin folder, run folder, kept) from "<wine runner or ""> <bin folder> [--keep FOLDER]":
    the run folder is FOLDER when kept, else a new temporary one."""
    runner, bin_folder = sys.argv[1], sys.argv[2]
    runner = os.path.abspath(runner) if runner else ''
    keep = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == '--keep' else None
    folder = os.path.abspath(keep) if keep else tempfile.mkdtemp(prefix=prefix)
    return runner, bin_folder, folder, keep is not None


def finish(problems, folder, kept=False):
    """Prints the problems, removes the run folder unless kept, and exits 1 when there were any."""
    for problem in problems:
        print('FAIL', problem)
    if not kept:
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(1 if problems else 0)
