"""A small ICC reader and writer of the tests' own, independent of the data
source's serializer: it parses header, tag table and the tag types the data
source writes, and makes matrix/TRC RGB profiles and a lut16 CMYK printer
profile for the readers' tests."""

import struct

D50 = (0.96417, 1.0, 0.82487)


def s15(v):
    return struct.pack(">i", int(v * 65536 + 0.5) if v >= 0 else -int(-v * 65536 + 0.5))


def read_s15(b):
    return struct.unpack(">i", b)[0] / 65536.0


def parse_profile(data):
    """Header fields and {signature: element bytes}; raises ValueError on any inconsistency."""
    if len(data) < 132:
        raise ValueError("shorter than header and tag count")
    size, cmm, version, cls, space, pcs = struct.unpack(">I4sI4s4s4s", data[:24])
    if size != len(data):
        raise ValueError("size field %d, file %d" % (size, len(data)))
    header = {
        "cmm": cmm, "version": version, "class": cls, "space": space, "pcs": pcs,
        "date": struct.unpack(">6H", data[24:36]), "signature": data[36:40], "platform": data[40:44],
        "flags": struct.unpack(">I", data[44:48])[0], "manufacturer": data[48:52],
        "model": struct.unpack(">I", data[52:56])[0], "attributes": struct.unpack(">Q", data[56:64])[0],
        "intent": struct.unpack(">I", data[64:68])[0],
        "illuminant": data[68:80], "creator": data[80:84], "reserved": data[84:128],
    }
    if header["signature"] != b"acsp":
        raise ValueError("no acsp signature")
    count = struct.unpack(">I", data[128:132])[0]
    if 132 + 12 * count > len(data):
        raise ValueError("tag table beyond the file")
    tags, order = {}, []
    for i in range(count):
        sig, offset, length = struct.unpack(">4sII", data[132 + 12 * i:144 + 12 * i])
        if offset % 4 or offset < 132 + 12 * count or offset + length > len(data):
            raise ValueError("tag %r at %d+%d misplaced" % (sig, offset, length))
        tags[sig] = data[offset:offset + length]
        order.append(sig)
    return header, tags, order


def parse_element(element):
    """The tag type and its values, checking the element's size against its type."""
    kind = element[:4]
    if element[4:8] != b"\0\0\0\0":
        raise ValueError("reserved word not zero")
    if kind == b"desc":
        n = struct.unpack(">I", element[8:12])[0]
        text = element[12:12 + n]
        if len(element) != n + 15 or not text.endswith(b"\0"):
            raise ValueError("desc of %d bytes for a count of %d" % (len(element), n))
        return kind, text[:-1].decode("ascii")
    if kind == b"text":
        return kind, element[8:].split(b"\0")[0].decode("ascii")
    if kind == b"XYZ ":
        if len(element) != 20:
            raise ValueError("XYZ of %d bytes" % len(element))
        return kind, tuple(read_s15(element[8 + 4 * i:12 + 4 * i]) for i in range(3))
    if kind == b"curv":
        n = struct.unpack(">I", element[8:12])[0]
        if len(element) < 12 + 2 * n:
            raise ValueError("curv count beyond its element")
        return kind, struct.unpack(">%dH" % n, element[12:12 + 2 * n])
    if kind == b"mft2":
        ins, outs, g = element[8], element[9], element[10]
        matrix = [read_s15(element[12 + 4 * i:16 + 4 * i]) for i in range(9)]
        n_in, n_out = struct.unpack(">HH", element[48:52])
        counts = (ins * n_in, g ** ins * outs, outs * n_out)
        expected = 52 + 2 * sum(counts)
        if len(element) < expected:
            raise ValueError("mft2 of %d bytes, tables need %d" % (len(element), expected))
        values = struct.unpack(">%dH" % sum(counts), element[52:expected])
        tables = (values[:counts[0]], values[counts[0]:counts[0] + counts[1]], values[counts[0] + counts[1]:])
        return kind, {"in": ins, "out": outs, "grid": g, "matrix": matrix, "entries": (n_in, n_out),
                      "tables": tables, "padding": element[expected:]}
    raise ValueError("unknown tag type %r" % kind)


def _serialize(cls, space, pcs, tags):
    table, body = b"", b""
    offset = 128 + 4 + 12 * len(tags)
    for sig, element in tags:
        table += struct.pack(">4sII", sig, offset + len(body), len(element))
        body += element + b"\0" * (-len(element) % 4)
    size = offset + len(body)
    header = struct.pack(">I4sI4s4s4s", size, b"test", 0x02100000, cls, space, pcs) + b"\0" * 12
    header += b"acsp" + b"\0" * 28 + b"".join(s15(v) for v in D50) + b"\0" * 48
    return header + struct.pack(">I", len(tags)) + table + body


def desc(text):
    raw = text.encode("ascii") + b"\0"
    # The ASCII part, then empty Unicode and ScriptCode parts.
    return b"desc\0\0\0\0" + struct.pack(">I", len(raw)) + raw + b"\0" * 8 + b"\0" * 3 + b"\0" * 67


def xyz(v):
    return b"XYZ \0\0\0\0" + b"".join(s15(c) for c in v)


def curv(entries):
    return b"curv\0\0\0\0" + struct.pack(">I%dH" % len(entries), len(entries), *entries)


def matrix_trc_profile(description, curve, primaries):
    """A display RGB profile: colorants (X, Y, Z of red, green, blue) and one curve for all channels."""
    tags = [(b"desc", desc(description)), (b"wtpt", xyz(D50))]
    for sig, p in zip((b"rXYZ", b"gXYZ", b"bXYZ"), primaries):
        tags.append((sig, xyz(p)))
    for sig in (b"rTRC", b"gTRC", b"bTRC"):
        tags.append((sig, curv(curve)))
    return _serialize(b"mntr", b"RGB ", b"XYZ ", tags)


def lut16(ins, outs, grid, node, n_tables=2):
    ramp = [round(i * 65535 / (n_tables - 1)) for i in range(n_tables)]
    values = ramp * ins
    for index in range(grid ** ins):
        coords = [(index // grid ** (ins - 1 - k)) % grid / (grid - 1) for k in range(ins)]
        values += [max(0, min(65535, int(round(v)))) for v in node(coords)]
    values += ramp * outs
    body = bytes([ins, outs, grid, 0]) + b"".join(s15(1.0 if i % 4 == 0 else 0.0) for i in range(9))
    body += struct.pack(">HH", n_tables, n_tables) + struct.pack(">%dH" % len(values), *values)
    return b"mft2\0\0\0\0" + body


def cmyk_printer_profile(description):
    """A printer profile: CMYK to Lab (v2 encoding) and back, with a simple ink model."""
    def to_lab(c):
        light = (1 - c[3]) * (1 - 0.3 * (c[0] + c[1] + c[2]) / 3)
        return (light * 65280, 32896 + (c[1] - c[0]) * 8000, 32896 + (c[2] - c[1]) * 8000)

    def to_cmyk(lab):
        # Distinct inks, so that their order in memory shows.
        return ((0.1 + 0.3 * lab[0]) * 65535, (0.2 + 0.2 * lab[1]) * 65535, (0.3 + 0.2 * lab[2]) * 65535,
                0.6 * (1 - lab[0]) * 65535)

    tags = [(b"desc", desc(description)), (b"wtpt", xyz(D50)),
            (b"A2B0", lut16(4, 3, 3, to_lab)), (b"B2A0", lut16(3, 4, 3, to_cmyk))]
    return _serialize(b"prtr", b"CMYK", b"Lab ", tags)
