#!/usr/bin/env python3
"""Runs the TWAIN test host against the data source and checks its report.

usage: run_twainhost.py <runner> <twainhost> <data source> [--expect LINE]... -- [twainhost options]
Passes when the host exits with 0 and prints every expected line exactly.
"""
import subprocess
import sys


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

    command = ([runner] if runner else []) + [host, source] + options
    run = subprocess.run(command, capture_output=True, text=True, timeout=300)
    lines = run.stdout.splitlines()
    print(run.stdout, end="")
    missing = [line for line in expected if line not in lines]
    for line in missing:
        print(f"missing line: {line}")
    if run.returncode != 0:
        print(f"twainhost exited with {run.returncode}\n{run.stderr}")
    sys.exit(1 if missing or run.returncode != 0 else 0)


if __name__ == "__main__":
    main()
