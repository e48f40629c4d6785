#!/usr/bin/env python3
"""Makes the maker-note test pictures (run once; the results are committed).

No common tool writes a maker note from scratch, so each picture gets an EXIF
block built here: IFD0 with Make and Model, an EXIF directory with FNumber and
the MakerNote, laid out the way each maker's cameras lay theirs out. The image
data is a small grey JPEG. exiftool then tells what the notes hold."""
import struct, subprocess, sys, os

here = os.path.dirname(os.path.abspath(__file__))
SIZES = {1: 1, 2: 1, 3: 2, 4: 4, 5: 8, 7: 1, 8: 2, 9: 4, 10: 8}

def pack(order, fmt, *v):
    return struct.pack(('>' if order == 'MM' else '<') + fmt, *v)

def value_bytes(order, typ, val):
    if typ == 2:
        return val.encode('latin-1') + b'\0'
    if typ == 7:
        return val
    if typ == 3:
        return b''.join(pack(order, 'H', x) for x in val)
    if typ == 4:
        return b''.join(pack(order, 'I', x) for x in val)
    if typ == 5:
        return b''.join(pack(order, 'II', n, d) for n, d in val)
    raise ValueError(typ)

def ifd(order, entries, at, base):
    """A directory placed at offset `at` (counted from `base`'s origin) with
    its long values right after it. Returns the bytes."""
    entries = sorted(entries, key=lambda e: e[0])
    head = pack(order, 'H', len(entries))
    data_at = at + 2 + 12 * len(entries) + 4
    body, values = b'', b''
    for tag, typ, val in entries:
        raw = value_bytes(order, typ, val)
        count = len(raw) // SIZES[typ]
        if len(raw) <= 4:
            field = raw + b'\0' * (4 - len(raw))
        else:
            field = pack(order, 'I', data_at + len(values) - base)
            values += raw + (b'\0' if len(raw) % 2 else b'')
        body += pack(order, 'HHI', tag, typ, count) + field
    return head + body + pack(order, 'I', 0) + values

def exif_block(order, make, model, note_fn):
    """TIFF header, IFD0 (Make, Model, ExifOffset), EXIF IFD (FNumber,
    MakerNote); note_fn(offset) gives the note for its offset in the block."""
    ifd0 = [(0x010F, 2, make), (0x0110, 2, model), (0x8769, 4, [0])]
    ifd0_len = len(ifd(order, ifd0, 8, 0))
    exif_at = 8 + ifd0_len
    ifd0 = [(0x010F, 2, make), (0x0110, 2, model), (0x8769, 4, [exif_at])]
    # The EXIF directory: 2 entries, FNumber out of line (8 bytes), then the note.
    note_at = exif_at + 2 + 12 * 2 + 4 + 8
    note = note_fn(note_at)
    exif = [(0x829D, 5, [(28, 10)]), (0x927C, 7, note)]
    out = (b'II*\0' if order == 'II' else b'MM\0*') + pack(order, 'I', 8)
    out += ifd(order, ifd0, 8, 0)
    assert len(out) == exif_at
    out += ifd(order, exif, exif_at, 0)
    assert out.endswith(note)
    return out

def jpeg(block):
    base = open(os.path.join(here, 'grey.jpg'), 'rb').read()
    assert base[:2] == b'\xff\xd8'
    payload = b'Exif\0\0' + block
    return b'\xff\xd8\xff\xe1' + struct.pack('>H', len(payload) + 2) + payload + base[2:]

def canon(at):
    o = 'II'
    settings = [0] * 33
    settings[0] = 66
    settings[1] = 2        # macro mode: normal
    settings[3] = 3        # quality: fine
    settings[4] = 1        # flash: auto
    settings[7] = 0        # focus: one-shot
    settings[10] = 0       # image size: large
    settings[11] = 1       # easy mode: manual
    settings[13] = 0xFFFF  # contrast: low
    settings[15] = 1       # sharpness: high
    settings[16] = 17      # ISO 100
    settings[17] = 3       # metering: evaluative
    settings[19] = 0x3003  # AF point: centre
    settings[20] = 1       # exposure mode: program
    settings[23] = 21      # long focal
    settings[24] = 7       # short focal
    settings[25] = 1       # focal units
    shot = [0] * 20
    shot[0] = 40
    shot[7] = 1            # white balance: daylight
    shot[9] = 5            # sequence number
    shot[10] = 3           # optical zoom step
    shot[15] = 0xFFE0      # flash bias: -1 EV
    shot[19] = 123         # subject distance
    custom = [8, (1 << 8) | 1, (3 << 8) | 1, (14 << 8) | 0]
    entries = [
        (0x0001, 3, settings), (0x0002, 3, [0, 21, 7, 1]), (0x0004, 3, shot),
        (0x0006, 2, 'IMG:PowerShot S40 JPEG'), (0x0007, 2, 'Firmware Version 1.10'),
        (0x0008, 4, [1001234]), (0x0009, 2, 'Anna Beispiel'), (0x000C, 4, [0x12345678]),
        (0x000F, 3, custom), (0x0020, 3, [7]),
    ]
    return ifd(o, entries, at, 0)

def nikon3(at):
    # Its own TIFF header at byte 10; offsets count from there.
    o = 'MM'
    entries = [
        (0x0001, 7, b'0210'), (0x0002, 3, [0, 200]), (0x0003, 2, 'MODE2'), (0x0004, 2, 'FINE '),
        (0x0005, 2, 'AUTO        '), (0x000A, 5, [(1, 1)]), (0x0084, 5, [(180, 10), (550, 10), (35, 10), (56, 10)]),
        (0x0099, 3, [1]),
    ]
    return b'Nikon\0\x02\x10\0\0' + b'MM\0*' + pack(o, 'I', 8) + ifd(o, entries, 8, 0)

def nikon1(at):
    o = 'II'
    entries = [(0x0003, 3, [3]), (0x0004, 3, [1]), (0x0007, 3, [0]), (0x000B, 3, [0]),
               (0x0008, 2, 'AF-C ')]
    return b'Nikon\0\x01\0' + ifd(o, entries, at + 8, 0)

def olympus(at):
    o = 'MM'
    entries = [(0x0200, 4, [0, 1, 0]), (0x0201, 3, [2]), (0x0202, 3, [0]), (0x0204, 5, [(2, 1)]),
               (0x0207, 2, 'SX753'), (0x0209, 7, b'OLYMPUS DIGITAL CAMERA\0\0\0\0\0\0\0\0\0\0')]
    return b'OLYMP\0\x01\0' + ifd(o, entries, at + 8, 0)

def fuji(at):
    # Always little-endian; offsets count from the note's start.
    o = 'II'
    entries = [(0x0000, 7, b'0130'), (0x1000, 2, 'NORMAL '), (0x1001, 3, [3]), (0x1002, 3, [0]),
               (0x1010, 3, [1]), (0x1021, 3, [0]), (0x1300, 3, [1])]
    return b'FUJIFILM' + pack(o, 'I', 12) + ifd(o, entries, 12, 0)

def casio(at):
    o = 'II'
    entries = [(0x0001, 3, [1]), (0x0002, 3, [3]), (0x0003, 3, [3]), (0x0004, 3, [2]), (0x0014, 3, [64])]
    return ifd(o, entries, at, 0)

def sanyo(at):
    o = 'MM'
    entries = [(0x0200, 4, [0, 0, 0]), (0x0202, 3, [1]), (0x0204, 5, [(100, 100)])]
    return b'SANYO\0\x01\0' + ifd(o, entries, at + 8, 0)

def epson(at):
    o = 'II'
    entries = [(0x0209, 7, b'EPSON DIGITAL CAMERA\0'), (0x020B, 4, [640]), (0x020C, 4, [480])]
    return b'EPSON\0\x01\0' + ifd(o, entries, at + 8, 0)

def minolta(at):
    o = 'MM'
    entries = [(0x0000, 7, b'MLT0')]
    return ifd(o, entries, at, 0)

def pentax(at):
    return b'AOC\0MM' + ifd('MM', [(0x0001, 3, [1])], at + 6, 0)

pictures = [
    ('canon.jpg', 'II', 'Canon', 'Canon PowerShot S40', canon),
    ('nikon3.jpg', 'II', 'NIKON CORPORATION', 'NIKON D70', nikon3),
    ('nikon1.jpg', 'II', 'NIKON', 'E950', nikon1),
    ('olympus.jpg', 'MM', 'OLYMPUS OPTICAL CO.,LTD', 'C2100UZ', olympus),
    ('fuji.jpg', 'MM', 'FUJIFILM', 'FinePix4900Z', fuji),
    ('casio.jpg', 'II', 'CASIO', 'QV-3000EX', casio),
    ('sanyo.jpg', 'MM', 'SANYO Electric Co.,Ltd.', 'SR6', sanyo),
    ('epson.jpg', 'II', 'SEIKO EPSON CORP.', 'PhotoPC 3000Z', epson),
    ('minolta.jpg', 'MM', 'Minolta Co., Ltd.', 'DiMAGE 7', minolta),
    ('pentax.jpg', 'MM', 'PENTAX Corporation', 'PENTAX Optio 330', pentax),
]
for name, order, make, model, fn in pictures:
    with open(os.path.join(here, name), 'wb') as f:
        f.write(jpeg(exif_block(order, make, model, fn)))
