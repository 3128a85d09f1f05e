#!/usr/bin/env python3
"""ImageMagick reads every file the BMP writer test left (written_*.bmp) with
the pixels of its written_*.ppm: compare -metric AE must count 0.
    check_written_bmp.py FOLDER"""
import glob
import os
import subprocess
import sys


def main():
    files = sorted(glob.glob(os.path.join(sys.argv[1], "written_*.bmp")))
    if len(files) < 10:
        sys.exit("the writer test left %d files" % len(files))
    failed = []
    for path in files:
        expected = path[:-4] + ".ppm"
        run = subprocess.run(["compare", "-metric", "AE", path, expected, "null:"], capture_output=True, text=True)
        if run.returncode != 0 or run.stderr.strip() != "0":
            failed.append("%s: %s" % (os.path.basename(path), run.stderr.strip()))
    print("%d files compared" % len(files))
    if failed:
        sys.exit("\n".join(failed))


if __name__ == "__main__":
    main()
