#!/usr/bin/env python3
"""ImageMagick's identify reads the density that the JPEG writer wrote.
    check_jpeg_density.py <file> <x> <y> <units as identify names them>"""
import subprocess
import sys

path, expected = sys.argv[1], "|".join(sys.argv[2:5])
found = subprocess.run(["identify", "-format", "%x|%y|%U", path], check=True, capture_output=True,
                       text=True).stdout.strip()
print(path, found)
sys.exit(0 if found == expected else 1)
