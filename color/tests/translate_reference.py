"""Compares the colour profile set's translate paths (translate_tool) with
lcms2's transicc on the same profiles and intent.

usage: translate_reference.py 8|16 <verdict file> <tool command...> -- <profile folder> <results>
The verdict file is the system module's (Windows builds) or "-" (host). A
16-bit run is skipped (exit 77) when the verdict says the module cannot do
the 16-bit formats; any run is skipped without transicc."""

import os
import shutil
import subprocess
import sys

SKIP = 77
# Largest difference from transicc: 8-bit levels, and 16-bit units.
TOLERANCE = {8: 2, 16: 2 * 257}
CAPABILITIES = {8: ("format-16", "format-773"), 16: ("format-10", "format-1284")}


def channels(profile):
    return 4 if "cmyk" in profile else 3


def unit(bits, cmyk):
    """transicc's scale of a sample: levels 0..255 for RGB, percent for inks."""
    top = 255 if bits == 8 else 65535
    return (100 if cmyk else 255) / top


def transicc(source, target, rows):
    """Unbounded values at full precision (transicc -w)."""
    text = "".join(" ".join(str(v) for v in row) + "\n" for row in rows)
    result = subprocess.run(["transicc", "-n", "-w", "-t0", "-i" + source, "-o" + target], input=text,
                            capture_output=True, text=True, check=True)
    values = [[float(v) for v in line.split()] for line in result.stdout.splitlines() if line.strip()]
    if len(values) != len(rows):
        raise RuntimeError("transicc answered %r" % result.stdout[:200])
    return values


def verdict_says_no(path, bits):
    if path == "-":
        return None
    if not os.path.exists(path):
        return "no module verdict (run the color_module_probe test)"
    with open(path) as f:
        lines = dict(line.split(" ", 1) for line in f.read().splitlines() if " " in line)
    for capability in CAPABILITIES[bits]:
        answer = lines.get(capability, "no the verdict names no " + capability)
        if not answer.startswith("yes"):
            return "the module: %s: %s" % (capability, answer.split(" ", 1)[1] if " " in answer else answer)
    return None


def main():
    split = sys.argv.index("--")
    bits, verdict, tool = int(sys.argv[1]), sys.argv[2], sys.argv[3:split]
    folder, results = sys.argv[split + 1:]
    if not shutil.which("transicc"):
        print("transicc missing (liblcms2-utils): skipped")
        return SKIP
    reason = verdict_says_no(verdict, bits)
    if reason:
        print("skipped: " + reason)
        return SKIP
    if os.path.exists(results):
        os.remove(results)
    subprocess.run(tool + [folder.replace("/", "\\"), results, str(bits)], check=True)
    failures, cases = [], 0
    with open(results) as f:
        lines = f.read().splitlines()
    if lines and lines[0] == "module 0":
        print("the system has no colour-management module: skipped")
        return SKIP
    for line in lines:
        words = line.split()
        if words[0] == "rebuild":
            failures.append("rebuild failed with %s" % words[1])
            continue
        name, case_bits, source, target, in_size, out_size = words[0], int(words[1]), words[2], words[3], \
            int(words[4]), int(words[5])
        at = words.index("out")
        samples_in, samples_out = [int(v) for v in words[7:at]], [int(v) for v in words[at + 1:]]
        cin, cout = channels(source), channels(target)
        to_in, to_out = unit(case_bits, cin == 4), unit(case_bits, cout == 4)
        top = 255 if case_bits == 8 else 65535
        rows = [[v * to_in for v in samples_in[i:i + cin]] for i in range(0, len(samples_in), in_size)]
        got = [samples_out[i:i + cout] for i in range(0, len(samples_out), out_size)]
        want = [[min(top, max(0, v / to_out)) for v in row]
                for row in transicc(os.path.join(folder, source), os.path.join(folder, target), rows)]
        worst = max(abs(g - w) for grow, wrow in zip(got, want) for g, w in zip(grow, wrow))
        cases += 1
        print("%-20s %d pixels, largest difference %.2f" % (name, len(got), worst))
        if len(got) != len(want) or worst > TOLERANCE[case_bits]:
            bad = [([round(v / to_in) for v in r], g, [round(v, 1) for v in w]) for r, g, w in zip(rows, got, want)
                   if any(abs(a - b) > TOLERANCE[case_bits] for a, b in zip(g, w))]
            failures.append("%s: %d pixels off, first %r" % (name, len(bad), bad[:3]))
    for failure in failures:
        print("FAIL:", failure)
    if cases == 0:
        failures.append("no cases ran")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
