#!/usr/bin/env python3
"""Job files written from the layout tables alone, independently of the C++
writer: the version-5 file the job-file test must reproduce byte for byte,
and one hand-made file of each older version (1 to 4) for it to read.

usage: make_job_files.py <folder>
"""
import struct
import sys
from pathlib import Path

VENDOR = b"Quillbrook"
MODEL = b"ZIR"


def pstring(text, size=64):
    return (bytes([len(text)]) + text).ljust(size, b"\0")


def text(value, size):
    assert len(value) < size
    return value.ljust(size, b"\0")


def frame(step, offset):
    data = bytearray((i * step + offset) % 251 for i in range(2080))
    data[1508 + 47] = 0  # the frame name ends in its field
    data[1756 + 63] = 0  # and so does the mask name
    return bytes(data)


def item_block(e, size):
    """The item block by its offset table; size 3972 (versions 3 to 5) or 3274."""
    block = bytearray(size)

    def put(offset, data):
        block[offset:offset + len(data)] = data

    put(0, e["frame"])
    put(2080, struct.pack("<BBhBBHB", e["light"], e["positionMode"], e["positionNumber"], e["film"],
                          e["conversion"], e["cmykMode"], e["auto"]))
    put(2089, text(e["internal"], 260))
    put(2349, text(e["output"], 260))
    put(2609, text(e["cmykName"], 260))
    put(2872, text(e["preview"], 33))
    put(2905, text(e["zoom"], 35))
    put(2940, struct.pack("<I", e["status"]))
    put(2944, struct.pack("<BBH", *e["orientation"]))
    put(2948, struct.pack("<H", e["rgbMode"]))
    put(2950, text(e["scanner"], 260))
    put(3210, text(e["calibration"], 64))
    return bytes(block)


def record(e, version):
    old = version <= 2
    block = item_block(e, 3274 if old else 3972)
    file_block = text(e.get("path", b""), 1024)
    width, height = e.get("thumb", (0, 0))
    pixels = b"".join(struct.pack("<I", (i * 2654435761) & 0xFFFFFFFF) for i in range(width * height))
    tail = struct.pack("<iiiiI", 0, 0, width, height, len(pixels)) + (pixels or bytes(4))
    body = struct.pack("<I", e["kind"]) + block + file_block + tail
    expected_pixels_at = 4322 if old else 5020
    assert len(body) == expected_pixels_at + max(len(pixels), 4)
    return struct.pack("<I", len(body)) + body


def header(version, folder, fmt, count):
    if version == 5:
        return pstring(VENDOR) + bytes(64) + text(folder, 256) + struct.pack("<I", fmt) + bytes(256) + \
            struct.pack("<I", count)
    return pstring(VENDOR) + pstring(MODEL) + text(folder, 256) + struct.pack("<I", count)


def job_file(version, folder, fmt, entries):
    data = struct.pack("<I", version) + header(version, folder, fmt, len(entries))
    return data + b"".join(record(e, version) for e in entries)


GOLDEN_ENTRIES = [
    dict(kind=1, frame=frame(7, 3), light=1, positionMode=1, positionNumber=-2, film=1, conversion=1, cmykMode=5,
         auto=1, internal=b"intern.icc", output=b"aus.icc", cmykName=b"cmyk.tab", preview=b"20261211130000000 Bild",
         zoom=b"20261211130000001 Bild", status=2, orientation=(1, 0, 3), rgbMode=2, scanner=b"scanner.icc",
         calibration=b"Kalibrierung", thumb=(40, 50)),
    dict(kind=3, frame=frame(13, 0), light=0, positionMode=0, positionNumber=0, film=0, conversion=0, cmykMode=0,
         auto=0, internal=b"", output=b"", cmykName=b"", preview=b"", zoom=b"", status=0, orientation=(0, 0, 0),
         rgbMode=0, scanner=b"", calibration=b"", path=b"C:\\Bilder\\dia.tif"),
]

OLD_ENTRY = dict(kind=1, frame=frame(5, 1), light=1, positionMode=0, positionNumber=3, film=0, conversion=0,
                 cmykMode=2, auto=0, internal=b"", output=b"alt-aus.icc", cmykName=b"", preview=b"Alt Vorschau",
                 zoom=b"", status=3, orientation=(1, 1, 2), rgbMode=7, scanner=b"alt-scanner.icc",
                 calibration=b"AltKal", thumb=(2, 3))


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    golden = job_file(5, b"C:\\Ausgabe", 3, GOLDEN_ENTRIES)
    assert len(golden) == 4 + 648 + (4 + 13020) + (4 + 5024)
    (folder / "golden_v5.qbj").write_bytes(golden)
    for version in range(1, 5):
        (folder / f"old_v{version}.qbj").write_bytes(job_file(version, b"D:\\Alt", 0, [OLD_ENTRY]))


if __name__ == "__main__":
    main()
