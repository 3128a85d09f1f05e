#!/usr/bin/env python3
"""Runs the TWAIN test host against the data source and checks its report.

usage: run_twainhost.py <runner> <twainhost> <data source> [--expect LINE]... -- [twainhost options]
The host runs in a folder of its own whose settings remember a generated image
as the device used last (tools/seeded_session.py), so that enabling the source
opens it without asking. Passes when the host exits with 0 and prints every
expected line exactly and reports no message box of the source that was
not expected.
"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from seeded_session import prepare, run  # noqa: E402


def main():
    runner, host, source = sys.argv[1:4]
    rest = sys.argv[4:]
    split = rest.index("--") if "--" in rest else len(rest)
    expected, options = [], rest[split + 1:]
    args = iter(rest[:split])
    for arg in args:
        if arg != "--expect":
            sys.exit(f"unknown argument {arg}")
        expected.append(next(args))

    folder = tempfile.mkdtemp(prefix="zir_host_")
    try:
        seeded = prepare(folder, os.path.dirname(os.path.abspath(host)), runner)
        passed, lines = run(runner, folder, [os.path.basename(host), source] + options)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    missing = [line for line in expected if line not in lines]
    for line in missing:
        print(f"missing line: {line}")
    unexpected = [line for line in lines if line.startswith("notice:") and line not in expected]
    for line in unexpected:
        print(f"unexpected message box: {line}")
    sys.exit(1 if missing or unexpected or not passed or not seeded else 0)


if __name__ == "__main__":
    main()
