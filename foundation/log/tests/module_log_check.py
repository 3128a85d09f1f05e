#!/usr/bin/env python3
"""Opens and closes the built data source through the test host and checks the
log file it leaves in Wine's temporary folder: the header line by line, then
the end marker, and nothing else. Values of the machine (date, path levels,
system, memory) are matched by pattern.

usage: module_log_check.py <runner> <twainhost> <data source> <wine prefix>
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools"))
from seeded_session import prepare  # noqa: E402

SUPPORT = [
    "Wenn Quillbrook ZIR nicht wie erwartet arbeitet, senden Sie diese Datei bitte",
    "mit einer kurzen Beschreibung des Problems an den Support von Varnholde Imaging:",
    "E-Mail: support@varnholde-imaging.de",
    "Die folgenden Angaben beschreiben Ihr System und helfen dem Support, den Fehler",
    "schneller zu finden. Sie enthalten keine Bilder und keine persönlichen Daten.",
    "Teile, die Sie nicht weitergeben möchten, dürfen Sie vor dem Senden löschen.",
]


def log_files(prefix):
    return glob.glob(os.path.join(prefix, "drive_c", "users", "**", "QB_LogFile.txt"), recursive=True)


def path_levels(path):
    """The names of the Locking lines: the file, its folders, then the drive."""
    names = []
    while "\\" in path:
        path, name = path.rsplit("\\", 1)
        if name:
            names.append(name)
    return names + [path]


def expected_lines(module_path):
    lines = ["*** Quillbrook LOGFILE ***", ""] + SUPPORT[:3] + [""] + SUPPORT[3:] + ["", ""]
    lines = [re.escape(line) for line in lines]
    lines += [
        r"Date and time: \d{1,2}\.\d{1,2}\.\d{4}  \d{1,2}:\d{1,2}:\d{1,2}", "",
        re.escape("Platform     : PC"),
        re.escape("Plugin       : Twain"),
        re.escape("Host         : Quillbrook Tests, , twainhost"), "",
        re.escape("Path         : " + module_path), "",
    ]
    lines += [re.escape("Locking      : <" + name) + r">: (unlocked|LOCKED)" for name in path_levels(module_path)]
    lines += [
        "",
        re.escape("Version      : Quillbrook ZIR v5.5.2"), "",
        r"System       : [^(]*\(Version \d+\.\d+ [^,]*, Build \d+\)",
        r"Memory       : [ \d]{3,} MB RAM",
        "", "",  # the header's end
        "", re.escape("*** END ***"),  # the end marker
    ]
    return lines


def main():
    runner, host, source, prefix = sys.argv[1:5]
    for old in log_files(prefix):
        os.remove(old)
    # A folder of its own whose settings remember an image, so enabling asks nothing.
    folder = tempfile.mkdtemp(prefix="zir_log_")
    try:
        prepare(folder, os.path.dirname(os.path.abspath(host)), runner)
        command = ([runner] if runner else []) + [os.path.basename(host), source, "--cycle"]
        run = subprocess.run(command, capture_output=True, text=True, timeout=300, cwd=folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(run.stdout, end="")
    if run.returncode != 0:
        sys.exit(f"twainhost exited with {run.returncode}\n{run.stderr}")

    found = log_files(prefix)
    if len(found) != 1:
        sys.exit(f"expected one log file, found {found}")
    data = open(found[0], "rb").read()
    if not data.endswith(b"\r\n*** END ***"):
        sys.exit("the log does not end with the end marker")
    lines = data.decode("cp1252").split("\r\n")
    path_line = next((line for line in lines if line.startswith("Path         : ")), "")
    module_path = path_line[len("Path         : "):]
    if not module_path.endswith("\\" + source):
        sys.exit(f"unexpected module path line: {path_line!r}")

    patterns = expected_lines(module_path)
    failures = []
    if len(lines) != len(patterns):
        failures.append(f"{len(lines)} lines instead of {len(patterns)}")
    for number, (line, pattern) in enumerate(zip(lines, patterns), 1):
        if not re.fullmatch(pattern, line):
            failures.append(f"line {number}: {line!r} does not match {pattern!r}")
    print(data.decode("cp1252"))
    if failures:
        sys.exit("\n".join(failures))
    print("log file as expected")


if __name__ == "__main__":
    main()
