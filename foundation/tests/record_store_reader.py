#!/usr/bin/env python3
"""An independent reader of record store files.

Layout (little-endian): a directory of 1000 entries of 20 bytes at offset 0
(u8 used, 3 reserved bytes, 4-character type, i32 id, u32 offset, u32 size =
64 + data size); a free entry is unused with type "????" and zeros. Each
record at its offset: a 64-byte zero-terminated name, then the data. The
records fill the file from 20000 to its end without gaps or overlaps.

Usage: record_store_reader.py [--unused-allowed] FOLDER
Checks every FOLDER/*.prf against FOLDER/*.view, the store's own account of
its records (type, index, id, data size, name and data, hex), and checks the
layout's invariants. With --unused-allowed, bytes that no record covers (what
a write failing part-way leaves) are allowed; overlaps never are.
"""
import glob
import os
import struct
import sys

SLOTS = 1000
ENTRY = struct.Struct("<B3s4siII")
DIRECTORY = SLOTS * ENTRY.size
NAME = 64


def read_store(path, unused_allowed=False):
    with open(path, "rb") as f:
        blob = f.read()
    problems = []
    if len(blob) < DIRECTORY:
        return [], ["file shorter than the directory"]
    records = []
    spans = []
    for slot in range(SLOTS):
        used, _reserved, rtype, rid, offset, size = ENTRY.unpack_from(blob, slot * ENTRY.size)
        if not used:
            if (rtype, rid, offset, size) != (b"????", 0, 0, 0):
                problems.append(f"slot {slot}: free entry is not '????' with zeros")
            continue
        if used != 1:
            problems.append(f"slot {slot}: used flag {used}")
        if size < NAME or offset < DIRECTORY or offset + size > len(blob):
            problems.append(f"slot {slot}: record [{offset}, {offset + size}) outside the file")
            continue
        name = blob[offset:offset + NAME].split(b"\0", 1)[0]
        data = blob[offset + NAME:offset + size]
        records.append({"slot": slot, "type": rtype, "id": rid, "name": name, "data": data})
        spans.append((offset, offset + size))
    position = DIRECTORY
    for start, end in sorted(spans):
        if start < position or (start > position and not unused_allowed):
            problems.append(f"gap or overlap at {position}: next record starts at {start}")
        position = max(position, end)
    if position != len(blob) and not unused_allowed:
        problems.append(f"records end at {position}, the file at {len(blob)}")
    return records, problems


def view_of(records):
    """The records as the store's operations list them: per type, index by slot order."""
    lines = []
    ranks = {}
    for record in records:  # already in slot order
        rank = ranks.get(record["type"], 0) + 1
        ranks[record["type"]] = rank
        lines.append("\t".join([record["type"].hex(), str(rank), str(record["id"]), str(len(record["data"])),
                                record["name"].hex(), record["data"].hex()]))
    return sorted(lines)


def main(folder, unused_allowed):
    stores = sorted(glob.glob(os.path.join(folder, "*.prf")))
    if not stores:
        print(f"no stores in {folder}")
        return 1
    failed = 0
    for store in stores:
        view_path = store[:-len(".prf")] + ".view"
        records, problems = read_store(store, unused_allowed)
        if os.path.exists(view_path):
            with open(view_path) as f:
                expected = sorted(line.rstrip("\n") for line in f if line.strip())
            if view_of(records) != expected:
                problems.append("records differ from the store's own view")
                for line in sorted(set(view_of(records)) ^ set(expected)):
                    problems.append("  " + line[:120])
        print(f"{os.path.basename(store)}: {len(records)} records" + ("" if not problems else ", PROBLEMS:"))
        for problem in problems:
            print("  " + problem)
        failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    arguments = sys.argv[1:]
    allowed = "--unused-allowed" in arguments
    sys.exit(main([a for a in arguments if a != "--unused-allowed"][0], allowed))
