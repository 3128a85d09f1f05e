#!/usr/bin/env python3
"""Fails on an include that runs upward between the data source's libraries.

Usage: check_layers.py SOURCE_DIR LAYER...

The layers are the folders of the data source's libraries, lowest first, in
the order CMake links them. A source or header of a layer may include its own
folder and folders before it; an include of a later folder, or of a folder of
the tree that is no layer (the photo program, the tools), is reported with
file and line. Tests and benchmarks are programs above every layer and are
not read.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/')
SOURCE_SUFFIXES = (".h", ".cpp", ".inc")
NOT_LIBRARY = {"tests", "bench"}


def sources(folder):
    for root, dirs, files in os.walk(folder):
        dirs[:] = sorted(d for d in dirs if d not in NOT_LIBRARY)
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(root, name)


def main():
    top, layers = sys.argv[1], sys.argv[2:]
    rank = {layer: i for i, layer in enumerate(layers)}
    tree_folders = {d for d in os.listdir(top) if os.path.isdir(os.path.join(top, d))}
    faults = 0
    for layer in layers:
        for path in sources(os.path.join(top, layer)):
            with open(path, encoding="latin-1") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    folder = match.group(1)
                    where = f"{os.path.relpath(path, top)}:{number}"
                    if folder in rank and rank[folder] > rank[layer]:
                        print(f"{where}: {layer}/ includes {folder}/, a higher layer: {line.strip()}")
                        faults += 1
                    elif folder not in rank and folder in tree_folders:
                        print(f"{where}: {layer}/ includes {folder}/, which is no layer of the data source: {line.strip()}")
                        faults += 1
    print(f"layers, lowest first: {' '.join(layers)}; {faults} upward include(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
