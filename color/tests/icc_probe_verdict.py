"""Judges what color_module_probe measured against lcms2's transicc and writes
the verdict later tests read: one line per capability,
"<capability> yes|no <detail>".

usage: icc_probe_verdict.py <probe command...> -- <profile folder> <results> <verdict>
Runs the probe first (under Wine), then judges. Exit 77 (skipped) without transicc."""

import itertools
import os
import shutil
import subprocess
import sys

SKIP = 77
TOLERANCE8 = 2


def transicc(inp, out, rows):
    text = "".join(" ".join("%.4f" % v for v in row) + "\n" for row in rows)
    result = subprocess.run(["transicc", "-n", "-t0", "-i" + inp, "-o" + out], input=text, capture_output=True,
                            text=True, check=True)
    return [[float(v) for v in line.split()] for line in result.stdout.splitlines() if line.split()]


def parse_results(path):
    lines = {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if words[0] == "translate":
                name, fin, fout, ok = words[1], int(words[2]), int(words[3]), words[4] == "1"
                at = words.index("out")
                lines[name] = (ok, [int(v) for v in words[6:at]], [int(v) for v in words[at + 1:]])
            else:
                lines[words[0] if words[0] not in ("transform",) else "transform " + words[1]] = words[1:]
    return lines


def layouts(size):
    """Each channel order of a pixel of `size` samples: positions of the colour channels (x = ignored)."""
    return list(itertools.permutations(range(size), 3 if size == 4 else size))


def unpack(samples, pixel, order):
    return [[samples[p * pixel + i] for i in order] for p in range(len(samples) // pixel)]


def matches(got, want, tolerance):
    return all(abs(g - w) <= tolerance for grow, wrow in zip(got, want) for g, w in zip(grow, wrow))


def judge_rgb(result, folder, pixel, scale):
    """Whether some order of red, green and blue in the pixel gives transicc's result; that order."""
    ok, inp, out = result
    if not ok:
        return False, "the call failed", None
    for order in layouts(pixel):
        rows = [[v / scale for v in row] for row in unpack(inp, pixel, order)]
        want = [[v * scale for v in row] for row in transicc(folder + "/linear.icc", folder + "/wide.icc", rows)]
        if matches(unpack(out, pixel, order), want, TOLERANCE8 * scale):
            return True, "red, green, blue at sample positions %s" % (order,), order
    return False, "no channel order matches transicc", None


def judge_cmyk(result, folder, in_pixel, in_scale, out_pixel, out_scale, in_order):
    ok, inp, out = result
    if not ok:
        return False, "the call failed"
    if in_order is None:
        return False, "its RGB input format does not work"
    rows = [[v / in_scale for v in row] for row in unpack(inp, in_pixel, in_order)]
    want = [[v * 2.55 * out_scale for v in row]
            for row in transicc(folder + "/gamma22.icc", folder + "/printer_cmyk.icc", rows)]
    for order in itertools.permutations(range(out_pixel), 4):
        if matches(unpack(out, out_pixel, order), want, TOLERANCE8 * out_scale):
            return True, "inks at sample positions %s" % (order,)
    return False, "no ink order matches transicc"


def judge_lab(result, folder, out_order):
    ok, inp, out = result
    if not ok:
        return False, "the call failed"
    if out_order is None:
        return False, "its RGB output format does not work"
    labs = [[(v >> 20 & 1023) / 1023 * 100, (v >> 10 & 1023) / 1023 * 255 - 128, (v & 1023) / 1023 * 255 - 128]
            for v in inp]
    want = transicc("*Lab2", folder + "/gamma22.icc", labs)
    if matches(unpack(out, 4, out_order), want, TOLERANCE8 * 2):
        return True, "as transicc"
    return False, "results differ from transicc (%s for %s)" % (unpack(out, 4, out_order), want)


def main():
    split = sys.argv.index("--")
    probe, (folder, results, verdict) = sys.argv[1:split], sys.argv[split + 1:]
    if not shutil.which("transicc"):
        print("transicc missing (liblcms2-utils): skipped")
        return SKIP
    if os.path.exists(results):
        os.remove(results)
    subprocess.run(probe + [folder.replace("/", "\\"), results], check=True)
    r = parse_results(results)
    lines = []
    if r.get("module") != ["1"]:
        lines.append("module no the module does not load")
    elif r.get("profiles") != ["1"]:
        lines.append("module no the test profiles do not open")
    else:
        lines.append("module yes loaded")
        xrgb = judge_rgb(r["xrgb"], folder, 4, 1)
        xbgr = judge_rgb(r["xbgr"], folder, 4, 1)
        rgb16 = judge_rgb(r["rgb16"], folder, 3, 257)
        verdicts = {"format-8": xrgb[:2], "format-16": xbgr[:2], "format-10": rgb16[:2]}
        verdicts["format-773"] = judge_cmyk(r["kymc"], folder, 4, 1, 4, 1, xbgr[2])
        verdicts["format-1284"] = judge_cmyk(r["g3ch"], folder, 3, 257, 4, 257, rgb16[2])
        verdicts["format-1027"] = judge_lab(r["lab10"], folder, xbgr[2])
        verdicts["check"] = (r["check"][0] == "1", "CheckBitmapBits " + ("works" if r["check"][0] == "1" else "fails"))
        verdicts["create"] = (r["create"][0] == "0", "a new memory profile " +
                              ("is made" if r["create"][0] == "0" else "cannot be made"))
        for name in sorted(verdicts):
            ok, detail = verdicts[name]
            lines.append("%s %s %s" % (name, "yes" if ok else "no", detail))
    with open(verdict, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
