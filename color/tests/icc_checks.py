"""Independent checks of ICC profiles: the test profiles of icc_tools.py
confirmed by lcms2's transicc, and the two profiles the data source wrote
(color_test leaves them in <build>/icc_checks) parsed by our own reader and
run through transicc.

usage: icc_checks.py <folder of the written profiles>
Exit 77 (skipped) when transicc is missing."""

import math
import os
import shutil
import subprocess
import sys

import icc_tools

SKIP = 77
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def transicc(inp, out, rows, intent=0):
    text = "".join(" ".join(str(v) for v in row) + "\n" for row in rows)
    result = subprocess.run(["transicc", "-n", "-t%d" % intent, "-i" + inp, "-o" + out], input=text,
                            capture_output=True, text=True, check=True)
    values = [[float(v) for v in line.split()] for line in result.stdout.splitlines() if line.strip()]
    values = [v for v in values if v]
    if len(values) != len(rows):
        raise RuntimeError("transicc answered %r" % result.stdout)
    return values


def close(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def check_test_profiles(folder):
    primaries = ((0.4361, 0.2225, 0.0139), (0.3851, 0.7169, 0.0971), (0.1431, 0.0606, 0.7141))
    cases = (("gamma22.icc", [563], lambda v: v ** (563 / 256)),
             ("linear.icc", [], lambda v: v),
             ("table18.icc", [round((i / 1023) ** 1.8 * 65535) for i in range(1024)], lambda v: v ** 1.8))
    for name, curve, response in cases:
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(icc_tools.matrix_trc_profile(name, curve, primaries))
        for grey in (255, 128, 32):
            got = transicc(path, "*XYZ", [(grey, grey, grey)], intent=1)[0]
            want = [100 * d * response(grey / 255) for d in icc_tools.D50]
            check(close(got, want, 0.3), "%s: grey %d gives %r, not %r" % (name, grey, got, want))
    # Other primaries: translating into it mixes the channels, so their order in memory shows.
    with open(os.path.join(folder, "wide.icc"), "wb") as f:
        f.write(icc_tools.matrix_trc_profile("wide", [563], ((0.6, 0.3, 0.02), (0.25, 0.65, 0.1), (0.11, 0.05, 0.7))))
    path = os.path.join(folder, "printer_cmyk.icc")
    with open(path, "wb") as f:
        f.write(icc_tools.cmyk_printer_profile("Test printer"))
    paper, black = transicc(path, "*Lab", [(0, 0, 0, 0), (0, 0, 0, 100)])
    check(abs(paper[0] - 100) < 0.5 and abs(black[0]) < 0.5, "printer profile: paper %r, black %r" % (paper, black))
    inks = transicc("*Lab", path, [(100, 0, 0)], intent=0)[0]
    check(close(inks, [40, 20 + 20 * 128.5 / 255, 30 + 20 * 128.5 / 255, 0], 1.0), "printer profile: white gives inks %r" % inks)


def check_identity(path):
    with open(path, "rb") as f:
        header, tags, order = icc_tools.parse_profile(f.read())
    check(header["class"] == b"spac" and header["space"] == b"Lab " and header["pcs"] == b"Lab ",
          "identity header %r" % header)
    check(order == [b"desc", b"wtpt", b"cprt", b"A2B0", b"B2A0"], "identity tags %r" % order)
    check(icc_tools.parse_element(tags[b"desc"]) == (b"desc", ""), "identity desc")
    check(len(tags[b"cprt"]) == 12, "identity cprt of %d bytes" % len(tags[b"cprt"]))
    for sig in (b"A2B0", b"B2A0"):
        kind, lut = icc_tools.parse_element(tags[sig])
        check(len(tags[sig]) == 3175 and lut["grid"] == 2 and lut["entries"] == (256, 256), "identity %r" % sig)
        ramp = tuple(math.floor(i * 65535 / 255 + 0.5) for i in range(256))
        check(lut["tables"][0] == ramp * 3 and lut["tables"][2] == ramp * 3, "identity %r tables" % sig)
        check(lut["padding"] == b"\0\0\0", "identity %r padding" % sig)
    colours = [(50, 10, -20), (100, 0, 0), (0, 0, 0), (75, -60, 40), (20, 30, 90)]
    for got, want in zip(transicc(path, "*Lab2", colours, intent=0), colours):
        check(close(got, want, 0.05), "identity: L*a*b* %r came back as %r" % (want, got))


def check_scanner(path):
    with open(path, "rb") as f:
        header, tags, order = icc_tools.parse_profile(f.read())
    check(header["class"] == b"scnr" and header["space"] == b"RGB " and header["pcs"] == b"XYZ ",
          "scanner header %r" % header)
    check(header["version"] == 0x02100000 and header["cmm"] == b"Lino", "scanner version and CMM")
    check(order == [b"desc", b"wtpt", b"rXYZ", b"gXYZ", b"bXYZ", b"rTRC", b"gTRC", b"bTRC", b"cprt",
                    b"A2B0", b"A2B1", b"A2B2"], "scanner tags %r" % order)
    check(icc_tools.parse_element(tags[b"desc"]) == (b"desc", "QB_R (ZIR)"), "scanner desc")
    check(icc_tools.parse_element(tags[b"rTRC"]) == (b"curv", (461,)), "scanner curve for gamma 1.8")
    kind, lut = icc_tools.parse_element(tags[b"A2B0"])
    check(len(tags[b"A2B0"]) == 217225 and lut["grid"] == 33 and lut["entries"] == (256, 2), "scanner lut size")
    check(lut["tables"][0] == tuple(i << 8 for i in range(256)) * 3, "scanner input tables")
    check(lut["tables"][2] == (0, 65535) * 3, "scanner output tables")
    # The grid of color_test: X, Y, Z linear in r, g, b with the white at (1, 1, 1).
    mix = ((0.4, 0.35, 0.25), (0.2, 0.7, 0.1), (0.05, 0.15, 0.8))

    def expected(rgb):
        f = [v * 256 / 65535 for v in rgb]
        return [100 * icc_tools.D50[c] * sum(m * x for m, x in zip(mix[c], f)) for c in range(3)]

    rgbs = [(255, 255, 255), (0, 0, 0), (128, 64, 32), (8, 200, 96), (248, 0, 16)]
    for rgb, got in zip(rgbs, transicc(path, "*XYZ", rgbs)):
        check(close(got, expected(rgb), 0.05), "scanner: RGB %r gives XYZ %r, not %r" % (rgb, got, expected(rgb)))
    white = transicc(path, "*Lab", [(255, 255, 255)])[0]
    check(abs(white[0] - 100) < 0.5, "scanner: RGB white has L* %r" % white[0])


def main():
    if not shutil.which("transicc"):
        print("transicc missing (liblcms2-utils): skipped")
        return SKIP
    folder = sys.argv[1]
    check_test_profiles(folder)
    check_identity(os.path.join(folder, "lab_identity.icc"))
    check_scanner(os.path.join(folder, "QB_R (ZIR).icm"))
    for f in failures:
        print("FAIL:", f)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
