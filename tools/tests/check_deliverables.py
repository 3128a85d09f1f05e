#!/usr/bin/env python3
"""Reads the headers, import and export tables of the deliverables with objdump:
they are Windows images of the build's architecture (pei-i386 for the product,
pei-x86-64 for the 64-bit test build), they may import only system DLLs, and
the data source exports exactly DS_Entry.

usage: check_deliverables.py <objdump> <pei-i386|pei-x86-64> <data source> <program>"""
import re
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "winmm.dll", "version.dll", "msvcrt.dll",
    "shlwapi.dll", "winspool.drv", "mscms.dll", "uuid.dll",
}


def tables(objdump, path):
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    imports = {m.lower() for m in re.findall(r"^\s*DLL Name: (\S+)", text, re.M)}
    exports = []
    section = re.search(r"\[Ordinal/Name Pointer\] Table\n(.*?)(?:\n\s*\n|\Z)", text, re.S)
    if section:
        exports = re.findall(r"\[\s*\d+\]\s+(\S+)", section.group(1))
    return imports, exports


def image_format(objdump, path):
    text = subprocess.run([objdump, "-f", path], check=True, capture_output=True, text=True).stdout
    found = re.search(r"file format (\S+)", text)
    return found.group(1) if found else "unknown"


def main():
    objdump, wanted_format, source, program = sys.argv[1:5]
    failures = []
    for path in (source, program):
        found = image_format(objdump, path)
        if found != wanted_format:
            failures.append(f"{path} is {found}, not {wanted_format}")
        imports, _ = tables(objdump, path)
        foreign = sorted(imports - SYSTEM_DLLS)
        if foreign:
            failures.append(f"{path} imports non-system DLLs: {', '.join(foreign)}")
        print(f"{path}: imports {', '.join(sorted(imports))}")
    _, exports = tables(objdump, source)
    print(f"{source}: exports {', '.join(exports)}")
    if exports != ["DS_Entry"]:
        failures.append(f"{source} must export exactly DS_Entry, exports {exports}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
