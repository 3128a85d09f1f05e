"""The published WMF and EMF record layouts, as far as the metafile tests need
them: writing the fixtures and reading back what the library wrote."""
import struct

PLACEABLE_KEY = 0x9AC6CDD7
META_EOF = 0x0000
META_SETWINDOWORG = 0x020B
META_SETWINDOWEXT = 0x020C
META_SELECTOBJECT = 0x012D
META_CREATEPENINDIRECT = 0x02FA
META_CREATEBRUSHINDIRECT = 0x02FC
META_RECTANGLE = 0x041B
META_SETDIBTODEV = 0x0D33
META_STRETCHDIB = 0x0F43
EMR_HEADER = 1
EMR_EOF = 14
EMR_STRETCHDIBITS = 81
SRCCOPY = 0x00CC0020
EMF_SIGNATURE = 0x464D4520

# The picture the fixtures draw, in logical units of a 120 x 80 window: a DIB
# of four flat quadrants over (0, 0)-(80, 80) and a filled rectangle over
# (90, 10)-(114, 40); the background shows elsewhere.
WINDOW = (120, 80)
QUADRANTS = ((200, 30, 40), (30, 180, 60), (40, 60, 210), (230, 210, 50))  # TL, TR, BL, BR
RECT_COLOR = (150, 40, 160)
DIB_BOX = (0, 0, 80, 80)
RECT_BOX = (90, 10, 114, 40)


def quadrant_rgb(width, height):
    """Top-down R, G, B bytes of the four-quadrant image."""
    out = bytearray()
    for y in range(height):
        for x in range(width):
            out += bytes(QUADRANTS[(2 if y >= height // 2 else 0) + (1 if x >= width // 2 else 0)])
    return bytes(out)


def dib(width, height, rgb):
    """A 24-bit packed DIB (information header and bottom-up B, G, R rows)."""
    stride = (width * 3 + 3) & ~3
    rows = b''
    for y in reversed(range(height)):
        row = rgb[y * width * 3:(y + 1) * width * 3]
        bgr = b''.join(bytes((row[i + 2], row[i + 1], row[i])) for i in range(0, len(row), 3))
        rows += bgr + b'\0' * (stride - len(bgr))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    return header + rows


def record(function, params):
    if len(params) % 2:
        params += b'\0'
    return struct.pack('<IH', 3 + len(params) // 2, function) + params


def wmf(records, placeable_box=None, units_per_inch=96):
    """Metafile data (a METAHEADER, the records, META_EOF), with the placeable header in front when a box is given."""
    body = b''.join(records) + record(META_EOF, b'')
    largest = max(struct.unpack_from('<I', r)[0] for r in records + [record(META_EOF, b'')])
    data = struct.pack('<HHHIHIH', 1, 9, 0x300, 9 + len(body) // 2, 2, largest, 0) + body
    if placeable_box is None:
        return data
    head = struct.pack('<IH4hHI', PLACEABLE_KEY, 0, *placeable_box, units_per_inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack('<H', head):
        checksum ^= word
    return head + struct.pack('<H', checksum) + data


def picture_records(dib_record):
    left, top, right, bottom = RECT_BOX
    return [
        record(META_SETWINDOWORG, struct.pack('<hh', 0, 0)),
        record(META_SETWINDOWEXT, struct.pack('<hh', WINDOW[1], WINDOW[0])),
        dib_record,
        record(META_CREATEPENINDIRECT, struct.pack('<HhhI', 5, 0, 0, 0)),  # PS_NULL
        record(META_SELECTOBJECT, struct.pack('<H', 0)),
        record(META_CREATEBRUSHINDIRECT, struct.pack('<HIH', 0, colorref(RECT_COLOR), 0)),
        record(META_SELECTOBJECT, struct.pack('<H', 1)),
        # The rectangle's right and bottom edges are excluded: one unit more.
        record(META_RECTANGLE, struct.pack('<hhhh', bottom + 1, right + 1, top, left)),
    ]


def stretch_dib_record(width, height):
    x, y, right, bottom = DIB_BOX
    params = struct.pack('<IH8h', SRCCOPY, 0, height, width, 0, 0, bottom - y, right - x, y, x)
    return record(META_STRETCHDIB, params + dib(width, height, quadrant_rgb(width, height)))


def set_dib_record():
    x, y, right, bottom = DIB_BOX
    width, height = right - x, bottom - y
    params = struct.pack('<H8h', 0, height, 0, 0, 0, height, width, y, x)
    return record(META_SETDIBTODEV, params + dib(width, height, quadrant_rgb(width, height)))


def colorref(rgb):
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16


def emf_stretch(device_pixels=(960, 960), device_mm=(254, 254)):
    """An EMF of one EMR_STRETCHDIBITS of the quadrants over DIB_BOX, its frame the 120 x 80
    window on a reference device of 96 pixels per inch."""
    x, y, right, bottom = DIB_BOX
    width, height = 8, 8
    bitmap = dib(width, height, quadrant_rgb(width, height))
    fixed = 80
    stretch = struct.pack('<II4iiiiiiiIIIIIIii', EMR_STRETCHDIBITS, fixed + len(bitmap), x, y, right - 1, bottom - 1,
                          x, y, 0, 0, width, height, fixed, 40, fixed + 40, len(bitmap) - 40, 0, SRCCOPY,
                          right - x, bottom - y)
    stretch += bitmap
    eof = struct.pack('<IIIII', EMR_EOF, 20, 0, 16, 20)
    frame = (0, 0, WINDOW[0] * 2540 // 96, -(-WINDOW[1] * 2540 // 96))
    header_size = 108
    total = header_size + len(stretch) + len(eof)
    header = struct.pack('<II4i4iIIIIHHIIIiiiiIIIii', EMR_HEADER, header_size, 0, 0, WINDOW[0] - 1, WINDOW[1] - 1,
                         *frame, EMF_SIGNATURE, 0x10000, total, 3, 1, 0, 0, 0, 0, *device_pixels, *device_mm, 0,
                         0, 0, device_mm[0] * 1000, device_mm[1] * 1000)
    assert len(header) == header_size
    return header + stretch + eof


def read_placeable(data):
    """(box, units per inch, XOR of the eleven words) when the data start with the key, else None."""
    if len(data) < 22 or struct.unpack_from('<I', data)[0] != PLACEABLE_KEY:
        return None
    box = struct.unpack_from('<4h', data, 6)
    checksum = 0
    for (word,) in struct.iter_unpack('<H', data[:22]):
        checksum ^= word
    return box, struct.unpack_from('<H', data, 14)[0], checksum


def decode_dib(data, offset, bits_offset=None):
    """(width, height, top-down R, G, B) of the 24-bit DIB at offset; its bits follow the header unless told."""
    size, width, height, planes, depth, compression = struct.unpack_from('<IiiHHI', data, offset)
    if depth != 24 or compression != 0:
        raise ValueError(f'a {depth}-bit DIB of compression {compression}, not 24-bit uncompressed')
    start = offset + size if bits_offset is None else bits_offset
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row = data[start + y * stride:start + y * stride + width * 3]
        rows.append(b''.join(bytes((row[i + 2], row[i + 1], row[i])) for i in range(0, len(row), 3)))
    if height > 0:
        rows.reverse()
    return width, abs(height), b''.join(rows)


def wmf_dib(data):
    """The DIB of the first META_STRETCHDIB or META_SETDIBTODEV record of WMF data (placeable or not)."""
    offset = 22 if read_placeable(data) else 0
    header_words = struct.unpack_from('<H', data, offset + 2)[0]
    offset += header_words * 2
    while offset + 6 <= len(data):
        words, function = struct.unpack_from('<IH', data, offset)
        if function == META_STRETCHDIB:
            return decode_dib(data, offset + 6 + 22)
        if function == META_SETDIBTODEV:
            return decode_dib(data, offset + 6 + 18)
        if function == META_EOF or words < 3:
            break
        offset += words * 2
    raise ValueError('no META_STRETCHDIB or META_SETDIBTODEV record')


def emf_frame(data):
    return struct.unpack_from('<4i', data, 24)


def emf_dib(data):
    """The DIB of the first EMR_STRETCHDIBITS record."""
    offset = 0
    while offset + 8 <= len(data):
        kind, size = struct.unpack_from('<II', data, offset)
        if kind == EMR_STRETCHDIBITS:
            off_bmi, _, off_bits, _ = struct.unpack_from('<IIII', data, offset + 48)
            return decode_dib(data, offset + off_bmi, offset + off_bits)
        if kind == EMR_EOF or size < 8:
            break
        offset += size
    raise ValueError('no EMR_STRETCHDIBITS record')
